// The card's core, away from the page and loaded only here: the worker checks names, scans the
// card flat out and sends each band of rows as soon as it is final, which the page only paints, so
// the page keeps answering while the card grows. It also encodes the saved PNG.
import createCardCore from './card_core.mjs';

// Rows of positions between two looks at the clock, and the time between two bands.
const kRowsPerStep = 8;
const kBandMs = 16;

const ready = createCardCore().then((core) => ({
  core,
  nameBuffer: core.cwrap('card_name_buffer', 'number', ['number']),
  checkName: core.cwrap('card_check_name', 'string', []),
  refusedLength: core.cwrap('card_refused_length', 'number', []),
  refusedPosition: core.cwrap('card_refused_position', 'number', []),
  refusedCharacter: core.cwrap('card_refused_character', 'number', []),
  start: core.cwrap('card_start', 'number',
                    ['number', 'number', 'number', 'number', 'number', 'number']),
  advance: core.cwrap('card_advance', 'number', ['number']),
  finished: core.cwrap('card_finished', 'number', []),
  band: core.cwrap('card_band', 'number', []),
  bandTop: core.cwrap('card_band_top', 'number', []),
  bandRows: core.cwrap('card_band_rows', 'number', []),
  stem: core.cwrap('card_stem', 'string', []),
  greeting: core.cwrap('card_greeting', 'string', []),
  width: core.ccall('card_width', 'number', []),
  height: core.ccall('card_height', 'number', []),
  prompts: [1, 2].map((line) => core.ccall('card_prompt', 'string', ['number'], [line])),
}));

ready.then((c) => postMessage({ready: true, width: c.width, height: c.height, prompts: c.prompts}),
           (error) => postMessage({failed: String(error && error.message || error)}));

let generation = 0;  // the card asked for last; an older one stops at its next band

// Lets a newer message in between two bands, without the clamping of setTimeout.
const channel = new MessageChannel();
const waiting = [];
channel.port1.onmessage = () => waiting.shift()();
const letMessagesIn = () => new Promise((resolve) => {
  waiting.push(resolve);
  channel.port2.postMessage(0);
});

// Hands the rows drawn since the last band to the page; the buffer moves, it is not copied again.
function sendBand(c, id, extra) {
  const at = c.band();
  const rows = c.bandRows();
  if (rows === 0 && Object.keys(extra).length === 0) return;
  const pixels = c.core.HEAPU8.slice(at, at + rows * c.width * 4).buffer;
  postMessage({id, top: c.bandTop(), rows, pixels, ...extra}, [pixels]);
}

// The whole name goes to the core, its length with it: a NUL is a character like any other.
function writeName(c, name) {
  const bytes = new TextEncoder().encode(name);
  c.core.HEAPU8.set(bytes, c.nameBuffer(bytes.length));
}

self.onmessage = async ({data}) => {
  try {
    const c = await ready;
    if (data.png !== undefined) {
      await encodePng(c, data);
      return;
    }
    writeName(c, data.name);
    const text = c.checkName();
    if (text !== '') {
      // The core's own words, and what the page needs to say it plainly.
      const refusal = {text, length: c.refusedLength(), position: c.refusedPosition(),
                       character: c.refusedCharacter()};
      postMessage({id: data.id, refusal});
      return;
    }
    generation = data.id;
    await makeCard(c, data);
  } catch (error) {
    // The page says so instead of leaving a card that never finishes.
    postMessage({id: data.id, error: String(error && error.message || error)});
  }
};

// `coreMs`, sent with the last band, is the time spent in the core alone, for the page's test.
async function makeCard(c, {id, time}) {
  let coreMs = -performance.now();
  c.start(...time);
  coreMs += performance.now();
  sendBand(c, id, {started: true, stem: c.stem(), greeting: c.greeting()});
  let more = true;
  for (;;) {
    const from = performance.now();
    const deadline = from + kBandMs;
    let now = from;
    while (more && now < deadline) {
      more = c.advance(kRowsPerStep) !== 0;
      now = performance.now();
    }
    coreMs += now - from;
    if (!more) break;
    sendBand(c, id, {});
    await letMessagesIn();
    if (id !== generation) return;
  }
  sendBand(c, id, {done: true, finished: c.finished() !== 0, coreMs});
}

// The picture the page shows, as a PNG: encoded here, where it keeps the page free.
async function encodePng(c, {png, pixels}) {
  const canvas = new OffscreenCanvas(c.width, c.height);
  canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(pixels), c.width), 0, 0);
  const blob = await canvas.convertToBlob({type: 'image/png'});
  postMessage({png, blob});
}
