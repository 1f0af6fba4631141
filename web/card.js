// The page's side of the card: it asks the worker, which alone holds the core, to check a name and
// make its card, paints the bands of finished rows the worker sends, and shows, enlarges, saves,
// shares and links the card, and saves and shares the video of its growth, which the worker makes.
// Everything about the card comes from the core, the greeting's pixels too: the page draws no text
// on the card. Its own words are in the visitor's language (words.js).
import {kMaxLength, plainRefusal} from './plain_words.js';
import {entry, loadWords, say} from './words.js';

const canvas = document.getElementById('card');  // the card's own pixels, not shown
const context = canvas.getContext('2d');
const frame = document.getElementById('frame');
const zoom = document.getElementById('zoom');
const view = document.getElementById('card-view');
const viewContext = view.getContext('2d');
const caption = document.getElementById('caption');
const empty = document.getElementById('empty');
const form = document.getElementById('ask');
const field = document.getElementById('name');
const count = document.getElementById('count');
const why = document.getElementById('why');
const link = document.getElementById('link');
const status = document.getElementById('status');
const enlarged = document.getElementById('enlarged');
const large = document.getElementById('card-large');
const saveButton = document.getElementById('save');
const shareButton = document.getElementById('share');
const copyButton = document.getElementById('copy');
const saveVideoButton = document.getElementById('save-video');
const shareVideoButton = document.getElementById('share-video');
const filmProgress = document.getElementById('film-progress');
const filmBar = document.getElementById('film-bar');

const worker = new Worker(new URL('./card_worker.js', import.meta.url), {type: 'module'});
// The page counts as ready when the worker's core is, so that no card waits for it.
const workerReady = new Promise((resolve, reject) => {
  worker.addEventListener('message', ({data}) => {
    if (data.ready) resolve(data);
    else reject(new Error(data.failed));
  }, {once: true});
});

// The page's words, in the language index.html chose, while the worker loads the core.
document.documentElement.lang = await loadWords(document.documentElement.lang);
for (const e of document.querySelectorAll('[data-words]')) e.textContent = say(e.dataset.words);
for (const e of document.querySelectorAll('[data-words-label]')) {
  e.setAttribute('aria-label', say(e.dataset.wordsLabel));
}
document.title = say('title');
document.querySelector('meta[name=description]').content = say('description');
delete document.documentElement.dataset.wordsPending;

const {width, height, prompts, film} = await workerReady;
// The name prompt's two lines are the window's own: the core's, or the window's translation of
// them. They label the field.
prompts.forEach((line, k) => {
  document.getElementById(`prompt${k + 1}`).textContent = entry(`prompt${k + 1}`) ?? line;
});

// --- The card as shown ---------------------------------------------------------------------

// The shown canvas has the screen's own pixels, so the browser scales nothing itself: the card is
// drawn into it averaged where it is shown smaller than its pixels, so that the greeting keeps its
// strokes, and sharp where larger.
function drawView() {
  viewContext.imageSmoothingEnabled = view.width < width;
  viewContext.imageSmoothingQuality = 'high';
  viewContext.clearRect(0, 0, view.width, view.height);
  viewContext.drawImage(canvas, 0, 0, view.width, view.height);
  if (enlarged.open) large.getContext('2d').drawImage(canvas, 0, 0);
}
new ResizeObserver(([entry]) => {
  // The screen's pixels under the canvas: exact where the browser says (a screen's pixels lie
  // across CSS pixels at a fraction), from CSS pixels where it says nothing or, as Chromium's device
  // emulation does, CSS pixels again.
  const {width: cssWidth, height: cssHeight} = entry.contentRect;
  const box = entry.devicePixelContentBoxSize?.[0];
  let pixels = [cssWidth, cssHeight].map((size) => Math.round(size * devicePixelRatio));
  if (box && Math.abs(box.inlineSize - pixels[0]) <= 1) pixels = [box.inlineSize, box.blockSize];
  frame.toggleAttribute('data-shrunk', cssWidth < width - 0.5);
  if (view.width === pixels[0] && view.height === pixels[1]) return;
  [view.width, view.height] = pixels;
  drawView();
}).observe(view, {box: 'device-pixel-content-box'});

// The card enlarged: at its own size or larger, whole, each of its pixels a whole number of the
// screen's; scrolled where the screen is smaller, and opened at the greeting, bottom left. Escape,
// a tap, "close" or the back button close it.
function sizeLarge() {
  const ratio = devicePixelRatio;
  const fits = Math.min(innerWidth / width, innerHeight / height);
  const screenPixels = Math.max(Math.ceil(ratio), Math.floor(fits * ratio));
  large.style.width = `${width * screenPixels / ratio}px`;
  large.style.height = `${height * screenPixels / ratio}px`;
}
zoom.addEventListener('click', () => {
  sizeLarge();
  large.getContext('2d').drawImage(canvas, 0, 0);
  enlarged.showModal();
  enlarged.scrollTo(0, enlarged.scrollHeight);
  history.pushState({enlarged: true}, '');
});
addEventListener('resize', () => { if (enlarged.open) sizeLarge(); });
enlarged.addEventListener('click', () => enlarged.close());
enlarged.addEventListener('close', () => {
  if (history.state?.enlarged) history.back();
  zoom.focus();
});
addEventListener('popstate', () => {
  if (enlarged.open && !history.state?.enlarged) enlarged.close();
});

// --- Making cards --------------------------------------------------------------------------

let requests = 0;  // every name sent to the worker gets the next number
let shown = 0;     // the number of the card on screen; bands of any other are dropped
let started = 0;
let bands = [];
let framePending = false;
let card = null;   // the card on screen: name, stem, greeting, and its PNG once encoded
const pngs = new Map();  // PNGs being encoded, by request number
let pngRequests = 0;

// Said to screen readers without moving them; said anew even when the words are the same.
function announce(words) {
  status.textContent = '';
  setTimeout(() => { status.textContent = words; }, 50);
}

// A card that cannot be made is said next to the field, never left growing for ever.
function cardFailed(message) {
  why.textContent = say('failed', {reason: message});
  canvas.dataset.state = 'failed';
  cardSettled();
}
worker.onerror = (event) => cardFailed(event.message || say('workerStopped'));

// The names sent to the worker and not answered yet, by number: a refusal or a started card.
const asked = new Map();
worker.onmessage = ({data}) => {
  if (data.film !== undefined) {
    filmAnswered(data);
    return;
  }
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
function cardStarted({id, stem, greeting}, {name, at, time}) {
  shown = id;
  bands = [];
  started = at;
  settle(null);  // whoever waited for the card before hears that it was abandoned
  card = {name, stem, greeting, time, png: null, video: null};
  settled = new Promise((resolve) => { settle = resolve; });
  why.textContent = '';
  canvas.dataset.state = 'growing';
  canvas.dataset.name = name;
  for (const c of [canvas, large]) c.setAttribute('aria-label', greeting);
  zoom.setAttribute('aria-label', say('enlargeCard', {greeting}));
  caption.textContent = greeting;
  empty.hidden = true;
  delete canvas.dataset.ms;
  delete canvas.dataset.coreMs;
  for (const button of [zoom, saveButton, shareButton, saveVideoButton, shareVideoButton,
                        copyButton]) {
    button.disabled = false;
  }
  link.href = link.textContent = linkFor(name);
  link.hidden = false;
}

function paintBands() {
  framePending = false;  // a frame asked for before a last band painted at once finds none
  let painted = false;
  for (const band of bands) {
    if (band.rows > 0) {
      const pixels = new ImageData(new Uint8ClampedArray(band.pixels), width, band.rows);
      context.putImageData(pixels, 0, band.top);
      painted = true;
    }
    if (band.done) {
      drawView();
      painted = false;
      canvas.dataset.ms = (performance.now() - started).toFixed(1);
      canvas.dataset.coreMs = band.coreMs.toFixed(1);
      canvas.dataset.state = 'done';
      announce(card.name ? say('ready', {name: card.name}) : say('readyNoName'));
      cardSettled();
    }
  }
  if (painted) drawView();
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
// card on screen stays and the refusal is said next to the field, in plain words, with the name
// that would do in one tap where there is one.
async function makeCard(name) {
  const id = ++requests;
  const now = new Date();
  const time = [now.getFullYear(), now.getMonth() + 1, now.getDate(), now.getHours(),
                now.getMinutes(), now.getSeconds()];
  const answer = new Promise((answered) => {
    asked.set(id, {name, at: performance.now(), time, answered});
  });
  worker.postMessage({id, name, time});
  const refusal = await answer;
  if (refusal !== undefined && id === requests) sayRefusal(refusal, name);
  return refusal === undefined;
}

function sayRefusal(refusal, name) {
  const {message, fix} = plainRefusal(refusal, name);
  why.textContent = message;
  why.dataset.position = refusal.position;
  why.dataset.character = refusal.character;
  if (!fix) return;
  const accept = document.createElement('button');
  accept.type = 'button';
  accept.id = 'fix';
  accept.textContent = say('fix', {name: fix});
  accept.addEventListener('click', () => {
    field.value = fix;
    showCount();
    field.focus();
    submitName();
  });
  why.append(' ', accept);
}

// The address names the card on screen: a refused link is taken out of it.
function showAddressOfCard() {
  const address = card ? linkFor(card.name) : location.href.split('#')[0];
  history.replaceState(history.state, '', address);
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

async function submitName() {
  if (await makeCard(field.value)) showAddressOfCard();
}
form.addEventListener('submit', (event) => {
  event.preventDefault();
  submitName();
});

// --- The field -----------------------------------------------------------------------------

function showCount() {
  count.textContent = `${[...field.value].length} / ${kMaxLength}`;
}

// The field takes at most 100 characters, and a longer paste is cut to them: it says so, so that
// nobody makes the card of a name they did not mean.
let paste = null;
field.addEventListener('paste', (event) => {
  const text = event.clipboardData?.getData('text/plain') ?? '';
  const room = field.maxLength - field.value.length + (field.selectionEnd - field.selectionStart);
  paste = {length: text.replace(/\r\n/g, '\n').length, room};
});
field.addEventListener('input', (event) => {
  showCount();
  const pasted = paste;
  paste = null;
  if (event.inputType !== 'insertFromPaste' || !pasted || pasted.length <= pasted.room) return;
  why.textContent = say('pasteCut', {length: pasted.length, room: pasted.room, max: kMaxLength});
});

document.getElementById('repeat').addEventListener('click', () => {
  field.value = '';
  why.textContent = '';
  showCount();
  field.focus();
});

// --- Save, share, link ---------------------------------------------------------------------

// The card on screen once it has stopped growing, with its PNG; the button says what it waits for.
async function finishedCard(button) {
  const label = button.dataset.caption ??= button.textContent;  // a second click may come first
  button.setAttribute('aria-busy', 'true');
  if (canvas.dataset.state === 'growing') button.textContent = say('whenFinished');
  let finished = null;
  while (finished === null && settled) finished = await settled;  // null: a newer card took its place
  button.textContent = label + '…';
  const png = finished && await finished.png;
  button.textContent = label;
  button.removeAttribute('aria-busy');
  return {...finished, png};
}

function download(blob, file) {
  const url = URL.createObjectURL(blob);
  const a = document.createElement('a');
  a.href = url;
  a.download = file;
  a.click();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

saveButton.addEventListener('click', async () => {
  const {stem, png} = await finishedCard(saveButton);
  if (png) download(png, stem + '.png');
});

// Sharing a file works only where the browser can hand such files to other apps (mostly phones).
const canShare = (type, extension) => typeof navigator.canShare === 'function' &&
    navigator.canShare({files: [new File([new Uint8Array(1)], `card.${extension}`, {type})]});
shareButton.hidden = !canShare('image/png', 'png');
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
    if (error.name !== 'AbortError') why.textContent = say('notShared', {reason: error.message});
  }
});

// --- The video of the card's growth --------------------------------------------------------

// The worker films the card growing, as the renderer's --video does, where the browser has a video
// encoder (WebCodecs); elsewhere the video's buttons stay hidden. `film` says which file it makes.
const canFilm = film !== null && typeof VideoEncoder === 'function';
saveVideoButton.hidden = !canFilm;
shareVideoButton.hidden = !canFilm || !canShare(film.type, film.extension);

const films = new Map();  // videos being made, by request number: what waits for each
let filmRequests = 0;
let filmsMaking = 0;

function filmAnswered({film: id, progress, blob, error}) {
  const made = films.get(id);
  if (!made) return;
  if (progress !== undefined) {
    filmBar.value = progress;
    return;
  }
  films.delete(id);
  if (error !== undefined) why.textContent = say('filmFailed', {reason: error});
  made(blob ?? null);
}

// The video of the card on screen, made once: every click after the first gets the same one. A
// video that failed is made again when asked for again.
function cardVideo() {
  const filmed = card;
  if (!filmed.video) {
    const id = ++filmRequests;
    filmed.video = new Promise((made) => films.set(id, made));
    worker.postMessage({film: id, name: filmed.name, time: filmed.time});
    filmsMaking++;
    filmBar.value = 0;
    filmProgress.hidden = false;
    announce(say('filmMaking'));
    filmed.video.then((blob) => {
      if (!blob) filmed.video = null;
      if (--filmsMaking === 0) filmProgress.hidden = true;
    });
  }
  return filmed.video.then((blob) => blob && {...filmed, blob});
}

// The card's video for a click on `button`; nothing for a second click while it is being made.
async function videoFor(button) {
  if (button.hasAttribute('aria-busy')) return null;
  button.setAttribute('aria-busy', 'true');
  try {
    return await cardVideo();
  } finally {
    button.removeAttribute('aria-busy');
  }
}

saveVideoButton.addEventListener('click', async () => {
  const video = await videoFor(saveVideoButton);
  if (!video) return;
  const file = `${video.stem}.${film.extension}`;
  download(video.blob, file);
  announce(say('filmSaved', {file}));
});

shareVideoButton.addEventListener('click', async () => {
  const clicked = performance.now();
  const video = await videoFor(shareVideoButton);
  if (!video) return;
  try {
    await navigator.share({
      files: [new File([video.blob], `${video.stem}.${film.extension}`, {type: film.type})],
      title: video.greeting,
      url: linkFor(video.name),
    });
  } catch (error) {
    // Making the video may outlast the tap's leave to share: the next tap shares at once.
    if (error.name === 'NotAllowedError' && performance.now() - clicked > 1000) {
      why.textContent = say('filmShareAgain');
    } else if (error.name !== 'AbortError') {
      why.textContent = say('filmNotShared', {reason: error.message});
    }
  }
});

copyButton.addEventListener('click', async () => {
  try {
    await navigator.clipboard.writeText(link.href);
    copyButton.textContent = say('copied');
    announce(say('linkCopied'));
  } catch {
    // No clipboard (an address that is not secure): select the link for the user to copy.
    getSelection().selectAllChildren(link);
  }
  setTimeout(() => { copyButton.textContent = say('copy'); }, 1500);
});

// --- Offline, and a new version ------------------------------------------------------------

// The service worker keeps the page for use offline. A new version of the page installs beside the
// one in use and waits; the page says so, and on "reload" the new one takes over and the page
// reloads into it (the card on screen comes back from the address).
async function keepOffline() {
  const registration = await navigator.serviceWorker.register('./service_worker.js');
  const offer = (waiting) => {
    if (!waiting || !navigator.serviceWorker.controller) return;  // the first visit: nothing old
    const update = document.getElementById('update');
    update.hidden = false;
    announce(say('updateSaid'));
    document.getElementById('reload').onclick = () => {
      replacing = true;
      waiting.postMessage({type: 'SKIP_WAITING'});
    };
  };
  offer(registration.waiting);
  registration.addEventListener('updatefound', () => {
    const installing = registration.installing;
    installing?.addEventListener('statechange', () => {
      if (installing.state === 'installed') offer(installing);
    });
  });
  // A page left open for days looks for a new version when it is looked at again.
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible') registration.update().catch(() => {});
  });
}
let replacing = false;
if ('serviceWorker' in navigator) {
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (replacing) location.reload();
  });
  keepOffline().catch(() => {
    // No offline copy (a private window, say): the page works as long as the network does.
  });
}

window.addEventListener('hashchange', openAddress);
showCount();
openAddress();
field.focus();
document.body.dataset.ready = 'true';
