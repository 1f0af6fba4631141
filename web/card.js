// The page's side of the card: it checks the name, has a worker make the card and shows the card
// growing frame by frame. Everything about the card itself comes from the core (card_core.wasm),
// here and in the worker, the greeting's pixels too: the page draws no text on the canvas.
import createCardCore from './card_core.mjs';

// The page's own core only checks names, at once, so that a refusal shows with the key press.
const core = await createCardCore();
const checkName = core.cwrap('card_check_name', 'string', ['string']);
const width = core.ccall('card_width', 'number', []);

const canvas = document.getElementById('card');
const context = canvas.getContext('2d');
const field = document.getElementById('name');
const why = document.getElementById('why');
const link = document.getElementById('link');
const saveButton = document.getElementById('save');
const copyButton = document.getElementById('copy');

// The worker scans the card flat out and sends the rows it changed; the page paints them in the
// next animation frame, so the card grows from the top a few rows a frame.
const worker = new Worker(new URL('./card_worker.js', import.meta.url), {type: 'module'});
// The page counts as ready when the worker's core is, so that no card waits for it.
const workerReady = new Promise((resolve) => {
  worker.addEventListener('message', resolve, {once: true});
});
let generation = 0;  // a new card makes the bands of the one before be dropped
let started = 0;
let bands = [];
let framePending = false;
let cardStem = '';

// A card that cannot be made is said next to the field, never left growing for ever.
function cardFailed(message) {
  why.textContent = 'the card could not be made: ' + message;
  canvas.dataset.state = 'failed';
}
worker.onerror = (event) => cardFailed(event.message || 'the page\'s worker stopped');

worker.onmessage = ({data}) => {
  if (data.generation !== generation) return;
  if (data.error !== undefined) {
    cardFailed(data.error);
    return;
  }
  bands.push(data);
  if (framePending) return;
  framePending = true;
  requestAnimationFrame(paintBands);
};

function paintBands() {
  framePending = false;
  for (const band of bands) {
    if (band.rows > 0) {
      const pixels = new ImageData(new Uint8ClampedArray(band.pixels), width, band.rows);
      context.putImageData(pixels, 0, band.top);
    }
    if (band.stem !== undefined) cardStem = band.stem;
    if (band.done) {
      canvas.dataset.ms = (performance.now() - started).toFixed(1);
      canvas.dataset.state = 'done';
    }
  }
  bands = [];
}

function linkFor(name) {
  return location.href.split('#')[0] + '#' + encodeURIComponent(name);
}

// Starts the card of `name`; a refused name leaves the card on screen and says why.
function makeCard(name) {
  const refusal = checkName(name);
  why.textContent = refusal;
  if (refusal) return false;
  started = performance.now();
  const now = new Date();
  worker.postMessage({
    generation: ++generation,
    name,
    time: [now.getFullYear(), now.getMonth() + 1, now.getDate(), now.getHours(), now.getMinutes(),
           now.getSeconds()],
  });
  bands = [];
  canvas.dataset.state = 'growing';
  canvas.dataset.name = name;
  delete canvas.dataset.ms;
  saveButton.disabled = false;
  copyButton.disabled = false;
  link.href = link.textContent = linkFor(name);
  link.hidden = false;
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

await workerReady;
window.addEventListener('hashchange', openAddress);
openAddress();
field.focus();
document.body.dataset.ready = 'true';
