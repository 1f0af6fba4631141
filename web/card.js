// The page's side of the card: it asks the worker, which alone holds the core, to check a name and
// make its card, paints the bands of finished rows the worker sends, and saves, shares and links
// the card on screen. Everything about the card comes from the core, the greeting's pixels too:
// the page draws no text on the canvas.
const canvas = document.getElementById('card');
const context = canvas.getContext('2d');
const field = document.getElementById('name');
const count = document.getElementById('count');
const why = document.getElementById('why');
const link = document.getElementById('link');
const saveButton = document.getElementById('save');
const shareButton = document.getElementById('share');
const copyButton = document.getElementById('copy');

const worker = new Worker(new URL('./card_worker.js', import.meta.url), {type: 'module'});
// The page counts as ready when the worker's core is, so that no card waits for it.
const {width, height, prompts} = await new Promise((resolve, reject) => {
  worker.addEventListener('message', ({data}) => {
    if (data.ready) resolve(data);
    else reject(new Error(data.failed));
  }, {once: true});
});
// The name prompt's two lines are the window's own, from the core.
prompts.forEach((line, k) => { document.getElementById(`prompt${k + 1}`).textContent = line; });

let requests = 0;  // every name sent to the worker gets the next number
let shown = 0;     // the number of the card on screen; bands of any other are dropped
let started = 0;
let bands = [];
let framePending = false;
let card = null;   // the card on screen: name, stem, greeting, and its PNG once encoded
const pngs = new Map();  // PNGs being encoded, by request number
let pngRequests = 0;

// A card that cannot be made is said next to the field, never left growing for ever.
function cardFailed(message) {
  why.textContent = 'the card could not be made: ' + message;
  canvas.dataset.state = 'failed';
  cardSettled();
}
worker.onerror = (event) => cardFailed(event.message || 'the page\'s worker stopped');

// The names sent to the worker and not answered yet, by number: a refusal or a started card.
const asked = new Map();
worker.onmessage = ({data}) => {
  if (data.png !== undefined) {
    pngs.get(data.png)?.(data.blob);
    pngs.delete(data.png);
    return;
  }
  const question = asked.get(data.id);
  if (question && (data.refusal !== undefined || data.started)) {
    asked.delete(data.id);
    if (data.started) cardStarted(data, question);
    question.answered(data.refusal);
  }
  if (data.id !== shown) return;
  if (data.error !== undefined) {
    cardFailed(data.error);
    return;
  }
  bands.push(data);
  // The last band is painted at once: the card is finished, nothing is gained by waiting.
  if (data.done) paintBands();
  if (framePending || bands.length === 0) return;
  framePending = true;
  requestAnimationFrame(paintBands);
};

// The worker has made way for the card of `name`: the page now shows it and its link.
function cardStarted({id, stem, greeting}, {name, at}) {
  shown = id;
  bands = [];
  started = at;
  settle(null);  // whoever waited for the card before hears that it was abandoned
  card = {name, stem, greeting, png: null};
  settled = new Promise((resolve) => { settle = resolve; });
  why.textContent = '';
  canvas.dataset.state = 'growing';
  canvas.dataset.name = name;
  canvas.setAttribute('aria-label', greeting);
  delete canvas.dataset.ms;
  delete canvas.dataset.coreMs;
  for (const button of [saveButton, shareButton, copyButton]) button.disabled = false;
  link.href = link.textContent = linkFor(name);
  link.hidden = false;
}

function paintBands() {
  framePending = false;  // a frame asked for before a last band painted at once finds none
  for (const band of bands) {
    if (band.rows > 0) {
      const pixels = new ImageData(new Uint8ClampedArray(band.pixels), width, band.rows);
      context.putImageData(pixels, 0, band.top);
    }
    if (band.done) {
      canvas.dataset.ms = (performance.now() - started).toFixed(1);
      canvas.dataset.coreMs = band.coreMs.toFixed(1);
      canvas.dataset.state = 'done';
      cardSettled();
    }
  }
  bands = [];
}

// Once the card stops growing its PNG is encoded in the worker at once, so that "save" and
// "share" hand it over without a wait.
let settled = null;  // resolves to the card on screen once it stops growing
let settle = () => {};
function cardSettled() {
  if (!card || card.png) return;
  const id = ++pngRequests;
  const pixels = context.getImageData(0, 0, width, height).data.buffer;
  card.png = new Promise((resolve) => pngs.set(id, resolve));
  worker.postMessage({png: id, pixels}, [pixels]);
  settle(card);
}

function linkFor(name) {
  return location.href.split('#')[0] + '#' + encodeURIComponent(name);
}

// Asks the worker for the card of `name`; true when it was accepted and started, otherwise the
// card on screen stays and the refusal is said next to the field.
async function makeCard(name) {
  const id = ++requests;
  const now = new Date();
  const refusal = new Promise((answered) => {
    asked.set(id, {name, at: performance.now(), answered});
  });
  worker.postMessage({
    id,
    name,
    time: [now.getFullYear(), now.getMonth() + 1, now.getDate(), now.getHours(), now.getMinutes(),
           now.getSeconds()],
  });
  const reason = await refusal;
  if (reason !== undefined && id === requests) why.textContent = reason;
  return reason === undefined;
}

// The address names the card on screen: a refused link is taken out of it.
function showAddressOfCard() {
  history.replaceState(null, '', card ? linkFor(card.name) : location.href.split('#')[0]);
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

async function openAddress() {
  const name = nameFromAddress();
  if (name === null) return;
  field.value = name;
  showCount();
  if (!await makeCard(name)) showAddressOfCard();
}

function showCount() {
  count.textContent = `${[...field.value].length} / ${field.maxLength}`;
}
field.addEventListener('input', showCount);

field.addEventListener('keydown', async (event) => {
  if (event.key !== 'Enter') return;
  if (await makeCard(field.value)) showAddressOfCard();
});

document.getElementById('repeat').addEventListener('click', () => {
  field.value = '';
  why.textContent = '';
  showCount();
  field.focus();
});

// The card on screen once it has stopped growing, with its PNG; the button says what it waits for.
async function finishedCard(button) {
  const caption = button.dataset.caption ??= button.textContent;  // a second click may come first
  button.setAttribute('aria-busy', 'true');
  if (canvas.dataset.state === 'growing') button.textContent = 'when finished…';
  let finished = null;
  while (finished === null && settled) finished = await settled;  // null: a newer card took its place
  button.textContent = caption + '…';
  const png = finished && await finished.png;
  button.textContent = caption;
  button.removeAttribute('aria-busy');
  return {...finished, png};
}

saveButton.addEventListener('click', async () => {
  const {stem, png} = await finishedCard(saveButton);
  if (!png) return;
  const url = URL.createObjectURL(png);
  const a = document.createElement('a');
  a.href = url;
  a.download = stem + '.png';
  a.click();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
});

// Sharing a file works only where the browser can hand files to other apps (mostly phones).
const canShareFiles = typeof navigator.canShare === 'function' &&
    navigator.canShare({files: [new File([new Uint8Array(1)], 'card.png', {type: 'image/png'})]});
shareButton.hidden = !canShareFiles;
shareButton.addEventListener('click', async () => {
  const {name, stem, greeting, png} = await finishedCard(shareButton);
  if (!png) return;
  try {
    await navigator.share({
      files: [new File([png], stem + '.png', {type: 'image/png'})],
      title: greeting,
      url: linkFor(name),
    });
  } catch (error) {
    // Closing the share sheet is no fault; anything else is said.
    if (error.name !== 'AbortError') why.textContent = 'the card could not be shared: ' + error.message;
  }
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

if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('./service_worker.js').catch(() => {
    // No offline copy (a private window, say): the page works as long as the network does.
  });
}

window.addEventListener('hashchange', openAddress);
showCount();
openAddress();
field.focus();
document.body.dataset.ready = 'true';
