// The page's side of the card: it asks the core for a card, shows it growing frame by frame and
// prints the greeting over the finished picture. Everything about the card itself comes
// from the core (card_core.wasm).
import createCardCore from './card_core.mjs';

const core = await createCardCore();
const checkName = core.cwrap('card_check_name', 'string', ['string']);
const startCard = core.cwrap('card_start', 'number',
                             ['string', 'number', 'number', 'number', 'number', 'number', 'number']);
const advance = core.cwrap('card_advance', 'number', ['number']);
const finished = core.cwrap('card_finished', 'number', []);
const pixels = core.cwrap('card_pixels', 'number', []);
const stem = core.cwrap('card_stem', 'string', []);
const greeting = core.cwrap('card_greeting', 'string', []);
const width = core.ccall('card_width', 'number', []);
const height = core.ccall('card_height', 'number', []);

const canvas = document.getElementById('card');
const context = canvas.getContext('2d');
const field = document.getElementById('name');
const why = document.getElementById('why');
const link = document.getElementById('link');
const saveButton = document.getElementById('save');
const copyButton = document.getElementById('copy');

// Rows between two looks at the clock, and the longest the card holds the page at a time. The rows
// are made in short slices between the browser's own work, and every animation frame shows those
// done so far: the page keeps answering, and no part of a frame is left unused.
const kRowsPerStep = 4;
const kSliceMs = 8;

let generation = 0;  // a new card makes the slices and frames of the one before stop

// Runs the current card's next slice as soon as the browser is free, without the clamping of
// setTimeout. A message still on its way for an abandoned card is dropped.
const channel = new MessageChannel();
let nextSlice = () => {};
channel.port1.onmessage = (event) => {
  if (event.data === generation) nextSlice();
};
function soon(slice) {
  nextSlice = slice;
  channel.port2.postMessage(generation);
}
let cardStem = '';

function paint() {
  // Read the heap after the call: a growing memory replaces its buffer.
  const at = pixels();
  const bytes = new Uint8ClampedArray(core.HEAPU8.buffer, at, width * height * 4);
  context.putImageData(new ImageData(bytes, width, height), 0, 0);
}

// The greeting as the window prints it: black, then white one pixel lower and to the right.
function printGreeting() {
  const line = greeting();
  context.font = '12pt sans-serif';
  context.textBaseline = 'top';
  context.fillStyle = '#000000';
  context.fillText(line, 10, 490);
  context.fillStyle = '#ffffff';
  context.fillText(line, 11, 491);
}

function linkFor(name) {
  return location.href.split('#')[0] + '#' + encodeURIComponent(name);
}

// Starts the card of `name`; a refused name leaves the card on screen and says why.
function makeCard(name) {
  const refusal = checkName(name);
  why.textContent = refusal;
  if (refusal) return false;
  const started = performance.now();
  const now = new Date();
  startCard(name, now.getFullYear(), now.getMonth() + 1, now.getDate(), now.getHours(),
            now.getMinutes(), now.getSeconds());
  const mine = ++generation;
  cardStem = stem();
  canvas.dataset.state = 'growing';
  canvas.dataset.name = name;
  delete canvas.dataset.ms;
  saveButton.disabled = false;
  copyButton.disabled = false;
  link.href = link.textContent = linkFor(name);
  link.hidden = false;
  paint();

  let more = true;
  const slice = () => {
    if (mine !== generation) return;
    const deadline = performance.now() + kSliceMs;
    while (more && performance.now() < deadline) more = advance(kRowsPerStep) !== 0;
    if (more) {
      soon(slice);
      return;
    }
    canvas.dataset.ms = (performance.now() - started).toFixed(1);
    paint();
    if (finished()) printGreeting();
    canvas.dataset.state = 'done';
  };
  const frame = () => {
    if (mine !== generation || !more) return;
    paint();
    requestAnimationFrame(frame);
  };
  soon(slice);
  requestAnimationFrame(frame);
  return true;
}

// The name after '#' in the page's address; a bare '#' is the empty name.
function nameFromAddress() {
  const at = location.href.indexOf('#');
  if (at < 0) return null;
  try {
    return decodeURIComponent(location.href.slice(at + 1));
  } catch {
    return location.href.slice(at + 1);  // badly escaped: refused like any other wrong name
  }
}

function openAddress() {
  const name = nameFromAddress();
  if (name === null) return;
  field.value = name;
  makeCard(name);
}

field.addEventListener('keydown', (event) => {
  if (event.key !== 'Enter') return;
  const name = field.value;
  if (makeCard(name)) history.replaceState(null, '', linkFor(name));
});

document.getElementById('repeat').addEventListener('click', () => {
  field.value = '';
  why.textContent = '';
  field.focus();
});

saveButton.addEventListener('click', () => {
  canvas.toBlob((blob) => {
    const url = URL.createObjectURL(blob);
    const a = document.createElement('a');
    a.href = url;
    a.download = cardStem + '.png';
    a.click();
    setTimeout(() => URL.revokeObjectURL(url), 10000);
  }, 'image/png');
});

copyButton.addEventListener('click', async () => {
  try {
    await navigator.clipboard.writeText(link.href);
    copyButton.textContent = 'link copied';
  } catch {
    // No clipboard (an address that is not secure): select the link for the user to copy.
    getSelection().selectAllChildren(link);
  }
  setTimeout(() => { copyButton.textContent = 'copy link'; }, 1500);
});

window.addEventListener('hashchange', openAddress);
openAddress();
field.focus();
document.body.dataset.ready = 'true';
