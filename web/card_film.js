// The film of a card's growth, as the renderer's --video makes it (docs/renderer.md): its frames
// come from the core, which scans the card in order as the window paints it, and the browser's
// video encoder (WebCodecs) encodes them here, in the worker. The muxer is loaded only when a film
// is made.

// What the page can make, the first the browser encodes chosen: H.264 in MP4 like the renderer's,
// which every phone plays; else VP9 or VP8 in WebM. Level 4.0, since 3.1 is too small for the
// film's 1400 x 1050.
const kFilms = [
  {codec: 'avc1.640028', track: 'avc', type: 'video/mp4', extension: 'mp4',
   muxer: './vendor/mp4-muxer.mjs'},
  {codec: 'vp09.00.40.08', track: 'V_VP9', type: 'video/webm', extension: 'webm',
   muxer: './vendor/webm-muxer.mjs'},
  {codec: 'vp8', track: 'V_VP8', type: 'video/webm', extension: 'webm',
   muxer: './vendor/webm-muxer.mjs'},
];

// Bits a second: the most Chromium's H.264 encoder keeps within level 4.0 (above it, it writes
// level 4.1 into the file). It reaches its finest steps on the finished card from here on; less
// loses up to 5 dB there, more keeps more of the fine strokes of the growing rows at the price of
// size (a frame halfway 28 dB from the renderer's at 20 Mbit/s, 34 at 40).
const kBitsPerSecond = 20_000_000;

// The film's pixels are the card's sRGB values in full-range BT.709 (src/video/film_planes.h).
const kColours = {primaries: 'bt709', transfer: 'iec61966-2-1', matrix: 'bt709', fullRange: true};

// Frames waiting in the encoder before the next is made: enough to keep it busy, few enough that
// the film's frames do not pile up in memory.
const kQueuedFrames = 3;

function encoderConfig(film, {width, height, rate}) {
  return {codec: film.codec, width, height, framerate: rate, bitrate: kBitsPerSecond,
          latencyMode: 'quality', ...(film.track === 'avc' ? {avc: {format: 'avc'}} : {})};
}

// The film this browser can make of `size` ({width, height, rate}), or null when it has no video
// encoder or none takes any of them.
export async function chooseFilm(size) {
  if (typeof VideoEncoder !== 'function') return null;
  for (const film of kFilms) {
    try {
      if ((await VideoEncoder.isConfigSupported(encoderConfig(film, size))).supported) return film;
    } catch {
      // A codec this browser does not know: the next one.
    }
  }
  return null;
}

// Makes `film` of the card the core's film calls give (`frames` of them, `size`); `progress`
// hears the part done, 0 to 1. Returns the video file.
export async function makeFilm(film, frames, size, nextFrame, isKey, progress) {
  const {Muxer, ArrayBufferTarget} = await import(film.muxer);
  const {width, height, rate} = size;
  const target = new ArrayBufferTarget();
  const video = {codec: film.track, width, height, frameRate: rate};
  const muxer = new Muxer(film.track === 'avc' ? {target, video, fastStart: 'in-memory'} :
                                                 {target, video});
  let failure = null;
  const encoder = new VideoEncoder({
    output: (chunk, metadata) => muxer.addVideoChunk(chunk, metadata),
    error: (error) => { failure = error; },
  });
  encoder.configure(encoderConfig(film, size));
  const at = (frame) => Math.round(frame * 1e6 / rate);  // microseconds
  try {
    for (let k = 0; k < frames; k++) {
      const frame = new VideoFrame(nextFrame(), {
        format: 'I420', codedWidth: width, codedHeight: height, timestamp: at(k),
        duration: at(k + 1) - at(k), colorSpace: kColours});
      encoder.encode(frame, {keyFrame: k === 0 || isKey()});
      frame.close();
      progress((k + 1) / frames);
      while (encoder.encodeQueueSize >= kQueuedFrames && !failure) {
        // A browser without "dequeue" events is looked at again a little later.
        await new Promise((resolve) => {
          encoder.addEventListener('dequeue', resolve, {once: true});
          setTimeout(resolve, 20);
        });
      }
      if (failure) throw failure;
    }
    await encoder.flush();
  } finally {
    if (encoder.state !== 'closed') encoder.close();
  }
  if (failure) throw failure;
  muxer.finalize();
  return new Blob([target.buffer], {type: film.type});
}
