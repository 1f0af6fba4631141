// The card's core, away from the page and loaded only here: the worker checks names, scans the
// card flat out and sends each band of rows as soon as it is final, which the page only paints, so
// the page keeps answering while the card grows. It also encodes the saved PNG and makes the
// video of a card's growth.
import {chooseFilm, makeFilm} from './card_film.js';
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
  filmStart: core.cwrap('card_film_start', 'number',
                        ['number', 'number', 'number', 'number', 'number', 'number']),
  filmNext: core.cwrap('card_film_next', 'number', []),
  filmKey: core.cwrap('card_film_key', 'number', []),
  filmSize: {width: core.ccall('card_film_width', 'number', []),
             height: core.ccall('card_film_height', 'number', []),
             rate: core.ccall('card_film_frames_per_second', 'number', [])},
}));
// The kind of video this browser can make, if any.
const filmKind = ready.then((c) => chooseFilm(c.filmSize));

Promise.all([ready, filmKind]).then(
    ([c, film]) => postMessage({ready: true, width: c.width, height: c.height, prompts: c.prompts,
                                film: film && {type: film.type, extension: film.extension}}),
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
    if (data.film !== undefined) {
      films = films.then(() => makeVideo(c, data));
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

// One video at a time: the core holds one film.
let films = Promise.resolve();

// The video of the card of `name`, started at `time` as the card on screen was; the page hears how
// far it is and gets the file, or why not.
async function makeVideo(c, {film: id, name, time}) {
  try {
    const film = await filmKind;
    if (!film) throw new Error('this browser cannot make videos');
    writeName(c, name);
    const frames = c.filmStart(...time);
    if (frames === 0) throw new Error('the name is refused');
    const {width, height} = c.filmSize;
    const bytes = width * height * 3 / 2;
    const nextFrame = () => {
      const at = c.filmNext();
      return c.core.HEAPU8.subarray(at, at + bytes);
    };
    let said = -1;
    const progress = (part) => {
      const percent = Math.floor(part * 100);
      if (percent !== said) postMessage({film: id, progress: part});
      said = percent;
    };
    const blob = await makeFilm(film, frames, c.filmSize, nextFrame, () => c.filmKey() !== 0,
                                progress);
    postMessage({film: id, blob});
  } catch (error) {
    postMessage({film: id, error: String(error && error.message || error)});
  }
}

// The picture the page shows, as a PNG: encoded here, where it keeps the page free.
async function encodePng(c, {png, pixels}) {
  const canvas = new OffscreenCanvas(c.width, c.height);
  canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(pixels), c.width), 0, 0);
  const blob = await canvas.convertToBlob({type: 'image/png'});
  postMessage({png, blob});
}
