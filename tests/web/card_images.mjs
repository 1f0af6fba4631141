// The card's pictures as the tests read them: the renderer's BMP and the PNGs that browsers
// write, as RGBA rows top-down, and the count of pixels that differ between two of them.
import fs from 'node:fs';
import zlib from 'node:zlib';

// The renderer's BMP: 24-bit, rows bottom-up, padded to four bytes. Returns RGBA rows top-down.
export function readBmp(file) {
  const b = fs.readFileSync(file);
  const offset = b.readUInt32LE(10);
  const width = b.readInt32LE(18);
  const height = b.readInt32LE(22);
  if (b.readUInt16LE(28) !== 24) throw new Error(`${file}: not a 24-bit BMP`);
  const stride = (3 * width + 3) & ~3;
  const rgba = Buffer.alloc(width * Math.abs(height) * 4);
  for (let y = 0; y < Math.abs(height); y++) {
    const row = offset + stride * (height > 0 ? height - 1 - y : y);
    for (let x = 0; x < width; x++) {
      const at = (y * width + x) * 4;
      rgba[at] = b[row + 3 * x + 2];
      rgba[at + 1] = b[row + 3 * x + 1];
      rgba[at + 2] = b[row + 3 * x];
      rgba[at + 3] = 255;
    }
  }
  return {width, height: Math.abs(height), rgba};
}

// An 8-bit RGB or RGBA PNG, as browsers write them.
export function readPng(file) {
  const b = fs.readFileSync(file);
  let at = 8;
  let width = 0, height = 0, colourType = 0;
  const data = [];
  while (at < b.length) {
    const length = b.readUInt32BE(at);
    const type = b.toString('latin1', at + 4, at + 8);
    const body = b.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      colourType = body[9];
      if (body[8] !== 8 || (colourType !== 2 && colourType !== 6) || body[12] !== 0) {
        throw new Error(`${file}: not an 8-bit, non-interlaced RGB(A) PNG`);
      }
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const channels = colourType === 6 ? 4 : 3;
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rows = Buffer.alloc(stride * height);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let x = 0; x < stride; x++) {
      const left = x >= channels ? rows[y * stride + x - channels] : 0;
      const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
      const upLeft = y > 0 && x >= channels ? rows[(y - 1) * stride + x - channels] : 0;
      let predicted = 0;
      if (filter === 1) predicted = left;
      else if (filter === 2) predicted = up;
      else if (filter === 3) predicted = (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft;
        const pa = Math.abs(p - left), pb = Math.abs(p - up), pc = Math.abs(p - upLeft);
        predicted = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      rows[y * stride + x] = (line[x] + predicted) & 0xff;
    }
  }
  const rgba = Buffer.alloc(width * height * 4);
  for (let k = 0; k < width * height; k++) {
    for (let c = 0; c < 3; c++) rgba[4 * k + c] = rows[channels * k + c];
    rgba[4 * k + 3] = channels === 4 ? rows[4 * k + 3] : 255;
  }
  return {width, height, rgba};
}

// Pixels that differ in colour among the first `pixels` of two RGBA pictures.
export function differingPixels(a, b, pixels = a.length / 4) {
  let count = 0;
  for (let k = 0; k < pixels; k++) {
    const at = 4 * k;
    if (a[at] !== b[at] || a[at + 1] !== b[at + 1] || a[at + 2] !== b[at + 2]) count++;
  }
  return count;
}

// An RGBA picture shrunk to `toWidth` x `toHeight` by area averaging: each new pixel the mean of
// the old ones it covers, in part where it covers part (Pillow's BOX filter).
export function areaAverage({width, height, rgba}, toWidth, toHeight) {
  // The weights of one axis: for each new pixel, the old ones it covers and by how much.
  const spans = (from, to) => Array.from({length: to}, (_, k) => {
    const start = (k * from) / to;
    const end = ((k + 1) * from) / to;
    const weights = [];
    for (let i = Math.floor(start); i < Math.min(Math.ceil(end), from); i++) {
      weights.push([i, (Math.min(end, i + 1) - Math.max(start, i)) / (end - start)]);
    }
    return weights;
  });
  const across = spans(width, toWidth);
  const down = spans(height, toHeight);
  const rows = new Float64Array(toWidth * height * 3);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < toWidth; x++) {
      for (const [i, w] of across[x]) {
        for (let c = 0; c < 3; c++) rows[3 * (y * toWidth + x) + c] += w * rgba[4 * (y * width + i) + c];
      }
    }
  }
  const out = Buffer.alloc(toWidth * toHeight * 4);
  for (let y = 0; y < toHeight; y++) {
    for (let x = 0; x < toWidth; x++) {
      const sum = [0, 0, 0];
      for (const [j, w] of down[y]) {
        for (let c = 0; c < 3; c++) sum[c] += w * rows[3 * (j * toWidth + x) + c];
      }
      for (let c = 0; c < 3; c++) out[4 * (y * toWidth + x) + c] = Math.round(sum[c]);
      out[4 * (y * toWidth + x) + 3] = 255;
    }
  }
  return {width: toWidth, height: toHeight, rgba: out};
}

// The mean absolute difference of two RGBA pictures' colour channels over rows [top, bottom), 0 to
// 255.
export function meanDifference(a, b, top = 0, bottom = a.height) {
  let sum = 0;
  for (let k = 4 * top * a.width; k < 4 * bottom * a.width; k += 4) {
    for (let c = 0; c < 3; c++) sum += Math.abs(a.rgba[k + c] - b.rgba[k + c]);
  }
  return sum / (3 * (bottom - top) * a.width);
}
