// The card's scan, away from the page: the core runs here flat out and sends the rows it changed
// in bands, which the page only paints, so the page keeps answering while the card grows.
import createCardCore from './card_core.mjs';

// Rows between two looks at the clock, and the time between two bands: one band a frame, since
// each band costs a comparison of the whole picture and a message.
const kRowsPerStep = 4;
const kBandMs = 16;

const ready = createCardCore().then((core) => ({
  core,
  start: core.cwrap('card_start', 'number',
                    ['string', 'number', 'number', 'number', 'number', 'number', 'number']),
  advance: core.cwrap('card_advance', 'number', ['number']),
  finished: core.cwrap('card_finished', 'number', []),
  band: core.cwrap('card_band', 'number', ['number']),
  bandTop: core.cwrap('card_band_top', 'number', []),
  bandRows: core.cwrap('card_band_rows', 'number', []),
  stem: core.cwrap('card_stem', 'string', []),
  greeting: core.cwrap('card_greeting', 'string', []),
  width: core.ccall('card_width', 'number', []),
}));

ready.then(() => postMessage({ready: true}));

let generation = 0;  // the card asked for last; an older one stops at its next band

// Lets a newer card's message in between two bands, without the clamping of setTimeout.
const channel = new MessageChannel();
const waiting = [];
channel.port1.onmessage = () => waiting.shift()();
const letMessagesIn = () => new Promise((resolve) => {
  waiting.push(resolve);
  channel.port2.postMessage(0);
});

// Hands the changed rows to the page; the buffer moves, it is not copied again.
function sendBand(c, mine, whole, extra) {
  const at = c.band(whole);
  const rows = c.bandRows();
  const pixels = c.core.HEAPU8.slice(at, at + rows * c.width * 4).buffer;
  postMessage({generation: mine, top: c.bandTop(), rows, pixels, ...extra}, [pixels]);
}

self.onmessage = async ({data}) => {
  const mine = generation = data.generation;
  try {
    await makeCard(await ready, data, mine);
  } catch (error) {
    // The page says so instead of leaving a card that never finishes.
    postMessage({generation: mine, error: String(error && error.message || error)});
  }
};

async function makeCard(c, data, mine) {
  c.start(data.name, ...data.time);
  sendBand(c, mine, 1, {stem: c.stem()});
  let more = true;
  for (;;) {
    const deadline = performance.now() + kBandMs;
    while (more && performance.now() < deadline) more = c.advance(kRowsPerStep) !== 0;
    if (!more) break;
    sendBand(c, mine, 0, {});
    await letMessagesIn();
    if (mine !== generation) return;
  }
  sendBand(c, mine, 0, {done: true, greeting: c.finished() ? c.greeting() : null});
}
