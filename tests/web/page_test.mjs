// The web page in a real browser: its cards against the headless renderer's, refused names in plain
// words, saving, a card abandoned for the next, links to a card, screen sizes, the card shown
// legibly and enlarged, the video of a card's growth, the page in Slovenian and German, a paste cut
// to the field, what a screen reader meets (axe-core), working offline, a new version offered, and
// the page's speed and download size.
//
//   node page_test.mjs PAGE_DIR RENDERER [--screenshot FILE]
// With --screenshot, FILE is the page of a link, FILE-WxH.png (FILE-WxH@2x.png at twice the
// pixels) the page at each screen size and FILE-WxH-enlarged.png the card enlarged there.
import {execFileSync, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import {pathToFileURL} from 'node:url';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';
import {areaAverage, differingPixels, meanDifference, readBmp, readPng} from './card_images.mjs';

const [pageArg, renderer, ...rest] = process.argv.slice(2);
const pageDir = pageArg && path.resolve(pageArg);
const screenshot = rest[0] === '--screenshot' ? rest[1] : null;
if (!pageArg || !renderer) {
  console.error('usage: node page_test.mjs PAGE_DIR RENDERER [--screenshot FILE]');
  process.exit(2);
}

const kWidth = 700;
const kHeight = 525;
// The whole card, greeting included: the core paints every pixel of it on both sides, so the page
// and the renderer give the same file.
const kComparedRows = kHeight;
const kComparedPixels = kWidth * kComparedRows;
const kAllowedDiffering = 0;
const kGoldenNames = ['anna', '', 'ana marija', 'janez novak', 'srecno novo leto'];
// The card's rows that hold the greeting line.
const kGreetingRows = [488, 516];
// How far the card shown smaller may stray from its area average, over the greeting's rows, in
// levels of 0 to 255 per channel. Shown sharp (pixelated, every n-th row and column) it strays 18
// to 26 at 320 px and loses strokes of the letters; averaged by the browser 2 to 7.
const kMostGreetingDifference = 10;

const here = path.dirname(new URL(import.meta.url).pathname);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'card-page-'));
let failures = 0;
function check(ok, what) {
  if (!ok) {
    failures++;
    console.log(`FAIL: ${what}`);
  }
}

// --- Reference cards and images ---------------------------------------------------------------

function rendererCard(name) {
  const file = path.join(work, `ref-${name.replaceAll(' ', '_') || 'empty'}.bmp`);
  execFileSync(renderer, ['--name', name, '--out', file]);
  return readBmp(file);
}

// --- The page, served the way any static server serves it -------------------------------------

const kTypes = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript',
                '.mjs': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
                '.json': 'application/json', '.webmanifest': 'application/manifest+json'};
let offline = false;  // the network is down: every request fails as with no connection
const sentWhole = new Map();  // file: how often it was sent in full, not as "not modified"
// A new build of the page, as a visitor's browser finds it: the service worker of another
// version, and a page that says it is the new one.
let newVersion = false;
const kNewVersionFiles = {
  'service_worker.js': (text) => text.replace(/'[0-9a-f]{16}'/, "'feedfacefeedface'"),
  'index.html': (text) => text.replace('<head>', '<head>\n<meta name="page-version" content="new">'),
};
const server = http.createServer((request, response) => {
  if (offline) {
    request.socket.destroy();
    return;
  }
  const file = path.join(pageDir, decodeURIComponent(new URL(request.url, 'http://x').pathname)
                                      .replace(/\/$/, '/index.html'));
  if (!file.startsWith(pageDir) || !fs.existsSync(file)) {
    response.writeHead(404).end();
    return;
  }
  const changed = newVersion ? kNewVersionFiles[path.basename(file)] : null;
  const mtime = fs.statSync(file).mtime.getTime() + (changed ? 3600000 : 0);
  const modified = new Date(mtime).toUTCString();
  if (request.headers['if-modified-since'] === modified) {
    response.writeHead(304).end();
    return;
  }
  sentWhole.set(path.basename(file), (sentWhole.get(path.basename(file)) ?? 0) + 1);
  response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] ?? 'application/octet-stream',
                           'Last-Modified': modified});
  if (changed) response.end(changed(fs.readFileSync(file, 'utf8')));
  else fs.createReadStream(file).pipe(response);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--headless', '--disable-gpu', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--no-first-run'],
});

// `prepare`: what runs in the page before its own scripts, each a function or [function, ...args].
async function openPage(address, viewport = {width: 768, height: 680}, prepare = [],
                        context = browser.defaultBrowserContext()) {
  const page = await context.newPage();
  await page.setViewport(viewport);
  for (const step of prepare) await page.evaluateOnNewDocument(...[step].flat());
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('requestfailed', (request) => {
    // A video player stops reading what a seek skips: no fault.
    if (request.resourceType() === 'media' && request.failure()?.errorText === 'net::ERR_ABORTED') {
      return;
    }
    errors.push(`${request.url()} failed`);
  });
  await page.goto(address);
  await page.waitForSelector('body[data-ready]', {timeout: 20000});
  return {page, errors};
}

// Waits for the card of `name` to be finished and returns its canvas and time.
async function finishedCard(page, name) {
  await page.waitForFunction(
      (n) => {
        const c = document.getElementById('card');
        return c.dataset.state === 'done' && c.dataset.name === n;
      },
      {timeout: 20000, polling: 50}, name);
  return page.evaluate(() => {
    const c = document.getElementById('card');
    const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let text = '';
    for (let k = 0; k < data.length; k += 0x8000) {
      text += String.fromCharCode(...data.subarray(k, k + 0x8000));
    }
    return {rgba: btoa(text), ms: Number(c.dataset.ms), coreMs: Number(c.dataset.coreMs),
            link: document.getElementById('link').href, label: c.getAttribute('aria-label')};
  }).then((card) => ({...card, rgba: Buffer.from(card.rgba, 'base64')}));
}

async function typeName(page, name) {
  await page.$eval('#name', (field) => { field.value = ''; });
  await page.type('#name', name);
  await page.keyboard.press('Enter');
}

// A finished card has its greeting: white glyphs on a black edge over the picture's bottom.
function hasGreeting(rgba) {
  let white = 0;
  for (let y = 491; y < 512; y++) {
    for (let x = 11; x < 250; x++) {
      const at = 4 * (y * kWidth + x);
      if (rgba[at] === 255 && rgba[at + 1] === 255 && rgba[at + 2] === 255) white++;
    }
  }
  return white > 40;
}

const references = new Map(kGoldenNames.map((name) => [name, rendererCard(name)]));
const times = [];
const {page, errors} = await openPage(base);
// The prompt is the window's own, from the core, not a copy of the page's; it labels the field.
const prompt = await page.$eval('#name', (field) => [...field.labels[0].children].map((p) => p.textContent));
check(prompt[0] === 'enter your name and surname' && prompt[1].startsWith('small letters'),
      `prompt: ${prompt}`);

// The page's words: English in words.js (null: the core's own, the prompt), the other languages in
// lang/. Each catalogue has exactly the English keys, each text the same values to fill in, and
// where the page says what the window says, the window's own translation (its Linguist sources).
const {english} = await import(pathToFileURL(path.join(pageDir, 'words.js')).href);
const coreWords = {prompt1: prompt[0], prompt2: prompt[1]};
const catalogues = {en: Object.fromEntries(Object.entries(english).map(
    ([key, text]) => [key, text ?? coreWords[key]]))};
const spoken = fs.readFileSync(path.join(pageDir, 'index.html'), 'utf8')
                   .match(/const spoken = \[([^\]]*)\]/)?.[1].match(/[a-z]+/g) ?? [];
const catalogueFiles = fs.readdirSync(path.join(pageDir, 'lang')).sort();
const expectedFiles = spoken.filter((l) => l !== 'en').map((l) => `${l}.json`).sort();
check(catalogueFiles.join() === expectedFiles.join(),
      `the page speaks ${spoken}, its catalogues are ${catalogueFiles}`);
{
  const values = (text) => (text.match(/\{\w+\}/g) ?? []).sort().join();
  // The window's words as the page writes them: its accelerators, quotes and ellipses aside.
  const plain = (text) => text.replace(/&/g, '').replace(/[’]/g, "'").replace(/[“”„]/g, '"')
                              .replace(/…/g, '...').replace(/\{\w+\}|%\d/g, '%')
                              .replace(/\.$/, '').replace(/^./, (c) => c.toLowerCase());
  const xml = (text) => text.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"')
                            .replace(/&apos;/g, "'").replace(/&amp;/g, '&');
  for (const file of catalogueFiles) {
    const language = path.basename(file, '.json');
    const words = JSON.parse(fs.readFileSync(path.join(pageDir, 'lang', file), 'utf8'));
    catalogues[language] = words;
    const missing = Object.keys(english).filter((key) => typeof words[key] !== 'string' ||
                                                         !words[key]);
    const extra = Object.keys(words).filter((key) => !(key in english));
    const unlike = Object.keys(english).filter(
        (key) => key in words && values(words[key]) !== values(catalogues.en[key]));
    check(missing.length === 0 && extra.length === 0 && unlike.length === 0,
          `${file}: missing ${missing}, not in English ${extra}, other values in ${unlike}`);
    const ts = fs.readFileSync(
        path.join(here, `../../src/window/translations/newyear-card_${language}.ts`), 'utf8');
    const windowWords = new Map([...ts.matchAll(
        /<source>([^<]*)<\/source>\s*<translation>([^<]*)<\/translation>/g)].map(
        ([, source, translation]) => [plain(xml(source)), plain(xml(translation))]));
    const shared = Object.keys(english).filter((key) => windowWords.has(plain(catalogues.en[key])));
    const different = shared.filter(
        (key) => key in words && plain(words[key]) !== windowWords.get(plain(catalogues.en[key])));
    check(shared.length >= 4 && different.length === 0,
          `${file}: says otherwise than the window (${shared.length} shared): ` +
          different.map((key) => `${key} "${words[key]}"`).join(', '));
  }
}
// A catalogue's text with its values filled in, as the page's say() does.
function fill(language, key, values = {}) {
  const words = catalogues[language];
  return words[key].replace(/\{(\w+)\}/g, (whole, name) => String(values[name] ?? words[name]));
}
// What the browser says it prefers, for the page to choose its language by.
function preferLanguages(languages) {
  Object.defineProperty(navigator, 'languages', {get: () => languages});
  Object.defineProperty(navigator, 'language', {get: () => languages[0]});
}

// What a screen reader says once a card is finished.
async function announcement(page, words) {
  return page.waitForFunction((w) => document.getElementById('status').textContent === w,
                              {timeout: 5000, polling: 50}, words)
      .then(() => words, () => page.$eval('#status', (status) => status.textContent));
}

// Each golden name, typed as a person types it; a screen reader hears that its card is ready.
console.log('name                 differing pixels              card time');
for (const name of kGoldenNames) {
  await typeName(page, name);
  const card = await finishedCard(page, name);
  const ready = name ? `The card for ${name} is ready.` : 'The card with no name is ready.';
  const said = await announcement(page, ready);
  check(said === ready, `"${name}": announced "${said}"`);
  const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedPixels);
  times.push(card.ms);
  console.log(`${JSON.stringify(name).padEnd(20)} ${String(differing).padStart(7)} of ` +
              `${kComparedPixels}${' '.repeat(17)}${card.ms.toFixed(1)} ms`);
  check(differing <= kAllowedDiffering, `"${name}": ${differing} pixels differ from the renderer's`);
  check(hasGreeting(card.rgba), `"${name}": no greeting on the finished card`);
  check(card.link === `${base}#${encodeURIComponent(name)}`, `"${name}": link ${card.link}`);
}

// A refused name says why in plain words, about the character the renderer refuses too, and
// leaves the card on screen; its fix makes the card of the name offered in one tap.
{
  const before = await finishedCard(page, kGoldenNames.at(-1));
  const refused = 'Ana';
  const result = spawnSync(renderer, ['--name', refused, '--out', path.join(work, 'no.png')]);
  const [, code, position] =
      result.stderr.toString().match(/\(U\+([0-9A-F]+)\) at position (\d+)/) ?? [];
  await typeName(page, refused);
  await page.waitForFunction(() => document.getElementById('why').textContent !== '',
                             {timeout: 20000, polling: 50});
  const why = await page.$eval('#why', (w) => ({text: w.firstChild.textContent, ...w.dataset,
                                                fix: w.querySelector('#fix')?.textContent}));
  const after = await finishedCard(page, kGoldenNames.at(-1));
  check(result.status === 2 && why.position === position &&
            Number(why.character) === parseInt(code, 16),
        `the page refused character ${why.character} at ${why.position}, the renderer ` +
        `U+${code} at ${position}`);
  check(why.text === 'Capital letters can’t be used.' && why.fix === 'make the card for “ana”',
        `refusal reads "${why.text}", offers "${why.fix}"`);
  check(before.rgba.equals(after.rgba), 'a refused name changed the card');
  await page.click('#fix');
  const fixed = await finishedCard(page, 'ana');
  const differing = differingPixels(fixed.rgba, rendererCard('ana').rgba, kComparedPixels);
  const field = await page.$eval('#name', (f) => f.value);
  check(differing === 0 && field === 'ana' && fixed.link === `${base}#ana`,
        `the fix made "${field}" with ${differing} differing pixels, link ${fixed.link}`);
}

// "save" downloads the card on screen as T<stamp>.png: a card still growing once it is finished,
// a finished card at once.
{
  const downloads = path.join(work, 'downloads');
  fs.mkdirSync(downloads);
  const session = await page.createCDPSession();
  await session.send('Browser.setDownloadBehavior',
                     {behavior: 'allow', downloadPath: downloads, eventsEnabled: true});
  let downloadStarted = null;
  session.on('Browser.downloadWillBegin', () => { downloadStarted = performance.now(); });
  const savedFile = async () => {
    let files = [];
    for (let tries = 0; tries < 100 && files.length === 0; tries++) {
      await new Promise((resolve) => setTimeout(resolve, 100));
      files = fs.readdirSync(downloads).filter((f) => f.endsWith('.png'));
    }
    check(files.length === 1 && /^T\d{14}\.png$/.test(files[0]), `saved files: ${files}`);
    const file = files.length === 1 ? path.join(downloads, files[0]) : null;
    const saved = file && readPng(file);
    if (file) fs.rmSync(file);
    return saved;
  };
  const name = 'ana marija';
  await typeName(page, name);
  await page.click('#save');
  const whileGrowing = await savedFile();
  const shown = await finishedCard(page, name);
  if (whileGrowing) {
    check(whileGrowing.width === kWidth && whileGrowing.height === kHeight,
          `saved card is ${whileGrowing.width} x ${whileGrowing.height}`);
    check(whileGrowing.rgba.equals(shown.rgba), 'a card saved while growing differs from the card');
  }
  downloadStarted = null;
  const clicked = performance.now();
  await page.click('#save');
  const saved = await savedFile();
  const saveMs = downloadStarted === null ? Infinity : downloadStarted - clicked;
  console.log(`save: the download started ${saveMs.toFixed(0)} ms after the click`);
  // The goal, 300 ms, is reported above, not checked: a loaded machine may miss it. The check
  // catches a PNG encoded on the click again, which took 1 to 7 s.
  check(saveMs <= 1000, `save took ${saveMs} ms to start the download`);
  check(saved && saved.rgba.equals(shown.rgba), 'saved card differs from the canvas');
}

// A new name while a card grows abandons it; the second card comes out whole.
{
  const [first, second] = ['janez novak', 'ana marija'];
  const growing = await page.evaluate(async (a, b) => {
    const field = document.getElementById('name');
    const enter = () => field.form.requestSubmit();
    const c = document.getElementById('card');
    field.value = a;
    enter();
    // The worker answers that the card started; two frames later it has grown a little.
    await new Promise((resolve) => {
      const observer = new MutationObserver(() => {
        if (c.dataset.name !== a) return;
        observer.disconnect();
        resolve();
      });
      observer.observe(c, {attributes: true});
    });
    await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
    const state = `${c.dataset.state} ${c.dataset.name}`;
    field.value = b;
    enter();
    return state;
  }, first, second);
  check(growing === `growing ${first}`, `the first card was not growing but "${growing}"`);
  const card = await finishedCard(page, second);
  const differing = differingPixels(card.rgba, references.get(second).rgba, kComparedPixels);
  check(differing <= kAllowedDiffering, `second card after an abandoned one: ${differing} differ`);
  check(hasGreeting(card.rgba), 'second card after an abandoned one: no greeting');
}

// Links as anyone may send them: a name is taken whole, NULs and all, and a refused one is said in
// plain words, with the name that would do where there is one, shown as text, makes no card and
// leaves no link.
{
  const good = 'srecno novo leto';
  const long = 'a'.repeat(5000);
  const rule = ' Use small letters a to z and spaces.';
  const links = [
    {hash: 'a%00b', name: 'a\0b', fix: 'ab',
     refusal: /^The name holds an invisible character \(character 2\), which can’t be used\.$/},
    {hash: '%00', name: '\0', fix: null,
     refusal: new RegExp(`^The name holds an invisible character \\(character 1\\).*\\.${rule}$`)},
    {hash: 'Ana', name: 'Ana', refusal: /^Capital letters can’t be used\.$/, fix: 'ana'},
    {hash: 'mojca%20kova%C4%8D', name: 'mojca kovač', fix: 'mojca kovac',
     refusal: /^Letters with marks, like “č”, can’t be used\.$/},
    {hash: 'ana%09marija', name: 'ana\tmarija', fix: 'ana marija', refusal: /^Tabs can’t be used/},
    {hash: 'ana2', name: 'ana2', fix: 'ana', refusal: /^Digits can’t be used/},
    {hash: '%ZZ', name: '%ZZ', refusal: /^“%” can’t be used in a name\.$/, fix: 'zz'},
    {hash: long, name: long, fix: null,
     refusal: /^A name can have at most 100 characters; this one has 5000\.$/},
    {hash: encodeURIComponent('<script>window.pwned=1</script>'),
     name: '<script>window.pwned=1</script>', fix: null,
     refusal: new RegExp(`^“<” can’t be used in a name\\.${rule}$`)},
    {hash: encodeURIComponent('<img src=x onerror="window.pwned=1">'),
     name: '<img src=x onerror="window.pwned=1">', fix: null, refusal: /^“<” can’t be used/},
    {hash: encodeURIComponent(good), name: good, refusal: null},
  ];
  for (const {hash, name, refusal, fix} of links) {
    const what = `link #${hash.slice(0, 40)}`;
    const opened = await openPage(`${base}#${hash}`);
    const p = opened.page;
    if (refusal) {
      await p.waitForFunction(() => document.getElementById('why').textContent !== '',
                              {timeout: 20000, polling: 50});
    }
    const seen = await p.evaluate(() => ({
      why: document.getElementById('why').firstChild?.textContent ?? '',
      fix: document.getElementById('fix')?.textContent ?? null,
      field: document.getElementById('name').value,
      linkShown: !document.getElementById('link').hidden,
      hash: location.hash,
      state: document.getElementById('card').dataset.state,
      pwned: window.pwned,
      injected: document.querySelectorAll('#window script, #window img').length,
    }));
    check(seen.field === name, `${what}: the field holds ${JSON.stringify(seen.field.slice(0, 40))}`);
    check(seen.pwned === undefined && seen.injected === 0, `${what}: the name ran as markup`);
    if (refusal) {
      check(refusal.test(seen.why), `${what}: refusal reads "${seen.why.slice(0, 80)}"`);
      check(seen.fix === (fix && `make the card for “${fix}”`), `${what}: offers "${seen.fix}"`);
      check(seen.state === undefined && !seen.linkShown && seen.hash === '',
            `${what}: card "${seen.state}", link shown ${seen.linkShown}, address #${seen.hash}`);
    } else {
      const card = await finishedCard(p, name);
      const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedPixels);
      check(differing <= kAllowedDiffering, `${what}: ${differing} pixels differ`);
      check(card.link === `${base}#${hash}` && seen.why === '', `${what}: link ${card.link}`);
      check(card.label?.startsWith(name), `${what}: the card reads "${card.label}"`);
      if (screenshot) await p.screenshot({path: screenshot});
    }
    check(opened.errors.length === 0, `${what}: errors: ${opened.errors}`);
    await p.close();
  }
}

// A phone's share sheet, as far as the page can see it: it takes PNG files and videos, and keeps
// what it was handed for the test to read.
function shareSheet() {
  const kinds = ['image/png', 'video/mp4', 'video/webm'];
  navigator.canShare = (data) => (data.files ?? []).every((f) => kinds.includes(f.type));
  navigator.share = async (data) => {
    const [file] = data.files;
    if (file.type !== 'image/png') {
      window.sharedVideo = {name: file.name, type: file.type, size: file.size, url: data.url};
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    let text = '';
    for (let k = 0; k < bytes.length; k += 0x8000) {
      text += String.fromCharCode(...bytes.subarray(k, k + 0x8000));
    }
    window.shared = {name: file.name, type: file.type, url: data.url, png: btoa(text)};
  };
}

// Counts the videos the page hands out as files to download: a browser may refuse a second
// download quietly, so the files saved alone do not tell.
function countVideoFiles() {
  const objectUrl = URL.createObjectURL;
  window.videoFiles = 0;
  URL.createObjectURL = (blob) => {
    if (blob.type?.startsWith('video/')) window.videoFiles++;
    return objectUrl(blob);
  };
}

// Every screen, from the smallest phone held either way to a desktop: the whole card shown,
// undistorted, and every control inside the screen, big enough to touch, with nothing to scroll
// sideways. Where the card is shown smaller than its pixels it is averaged, so that the greeting
// keeps its strokes (against the renderer's card shrunk by area averaging), and its greeting is
// also given as text; a tap or Enter shows it enlarged, whole, at its own size or larger, until
// Escape, a tap, "close" or the back button. Where files can be shared, "share" hands the card's
// PNG and its link to the share sheet. A browser that prefers Slovenian or German (`languages`)
// gets the page in it (`speaks`), the card unchanged. A browser with a video encoder offers the
// video of the card's growth, one without (`videoEncoder: false`) does not; `video` makes it.
{
  const name = 'janez novak';
  const mobile = {isMobile: true, hasTouch: true};
  const viewports = [
    {width: 320, height: 568, deviceScaleFactor: 1, ...mobile, videoEncoder: false, open: 'Enter',
     close: 'Escape'},
    {width: 320, height: 568, deviceScaleFactor: 2, ...mobile, open: 'tap', close: 'back'},
    {width: 390, height: 844, deviceScaleFactor: 3, ...mobile, share: true, video: true,
     open: 'tap', close: 'tap'},
    {width: 844, height: 390, deviceScaleFactor: 3, ...mobile, open: 'tap', close: 'close'},
    {width: 1280, height: 800, open: 'click', close: 'Escape'},
    {width: 390, height: 844, deviceScaleFactor: 3, ...mobile, languages: ['sl-SI', 'en-US'],
     speaks: 'sl', open: 'tap', close: 'close'},
    {width: 320, height: 568, deviceScaleFactor: 2, ...mobile, languages: ['fr-FR', 'de-AT', 'en'],
     speaks: 'de', open: 'Enter', close: 'Escape'},
  ];
  console.log('screen          greeting shown smaller, against its area average');
  for (const viewport of viewports) {
    const ratio = viewport.deviceScaleFactor ?? 1;
    const size = `${viewport.width}x${viewport.height}${ratio > 1 ? `@${ratio}x` : ''}` +
                 (viewport.speaks ? `-${viewport.speaks}` : '');
    const prepare = [];
    if (viewport.share) prepare.push(shareSheet);
    if (viewport.languages) prepare.push([preferLanguages, viewport.languages]);
    if (viewport.videoEncoder === false) prepare.push(() => { delete window.VideoEncoder; });
    if (viewport.video) prepare.push(countVideoFiles);
    const opened = await openPage(`${base}#${encodeURIComponent(name)}`, viewport, prepare);
    const p = opened.page;
    const card = await finishedCard(p, name);
    const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedPixels);
    check(differing <= kAllowedDiffering, `${size}: ${differing} pixels differ`);
    const layout = await p.evaluate(() => {
      const box = (e) => {
        const r = e.getBoundingClientRect();
        return {id: e.id, left: r.left, top: r.top, right: r.right, bottom: r.bottom};
      };
      const controls = [...document.querySelectorAll('input, button, #link')].filter(
          (e) => !e.hidden && e.getClientRects().length > 0);
      const caption = document.getElementById('caption');
      return {
        scrollWidth: document.documentElement.scrollWidth,
        card: box(document.getElementById('card-view')),
        controls: controls.map(box),
        caption: caption.getClientRects().length > 0 ? caption.textContent : null,
      };
    });
    const {card: c} = layout;
    const screen = viewport;  // the page may widen its own viewport, never the screen
    const inside = (b) => b.left >= 0 && b.top >= 0 && b.right <= screen.width + 0.5 &&
                          b.bottom <= screen.height + 0.5;
    check(layout.scrollWidth <= screen.width, `${size}: ${layout.scrollWidth} px wide`);
    check(inside(c), `${size}: the card lies at ${JSON.stringify(c)}`);
    check(Math.abs((c.right - c.left) * kHeight - (c.bottom - c.top) * kWidth) <= kWidth,
          `${size}: the card is shown ${c.right - c.left} x ${c.bottom - c.top}`);
    for (const b of layout.controls) {
      check(inside(b), `${size}: #${b.id} lies at ${JSON.stringify(b)}`);
      if (b.id !== 'link') {
        check(b.right - b.left >= 44 && b.bottom - b.top >= 44,
              `${size}: #${b.id} is ${b.right - b.left} x ${b.bottom - b.top}`);
      }
    }
    const shownPixels = (c.right - c.left) * ratio;
    if (shownPixels < kWidth) {
      const file = path.join(work, 'shown.png');
      await (await p.$('#card-view')).screenshot({path: file});
      const shot = readPng(file);
      const smooth = areaAverage(references.get(name), shot.width, shot.height);
      const [top, bottom] = kGreetingRows.map((row) => Math.round(row * shot.height / kHeight));
      const stray = meanDifference(shot, smooth, top, bottom);
      console.log(`${size.padEnd(15)} ${stray.toFixed(1)} of 255 (${shot.width} x ${shot.height})`);
      check(stray <= kMostGreetingDifference,
            `${size}: the greeting shown strays ${stray.toFixed(1)} from its area average`);
    }
    const shrunk = c.right - c.left < kWidth - 0.5 && viewport.height > viewport.width;
    check((layout.caption?.replace(/\s+/g, ' ') ?? null) ===
              (shrunk ? card.label.replace(/\s+/g, ' ') : null),
          `${size}: the greeting as text: "${layout.caption}"`);
    const shown = (id) => layout.controls.some((b) => b.id === id);
    const shareShown = shown('share');
    check(shareShown === Boolean(viewport.share), `${size}: "share" shown: ${shareShown}`);
    const filming = viewport.videoEncoder !== false;
    check(shown('save-video') === filming && shown('share-video') === (filming && shareShown),
          `${size}: "save video" shown: ${shown('save-video')}, "share video": ` +
          `${shown('share-video')}`);
    if (viewport.share && shareShown) {
      await p.click('#share');
      const shared = await p.waitForFunction(() => window.shared, {timeout: 5000})
                         .then((handle) => handle.jsonValue());
      const file = path.join(work, 'shared.png');
      fs.writeFileSync(file, Buffer.from(shared.png, 'base64'));
      check(/^T\d{14}\.png$/.test(shared.name) && shared.type === 'image/png' &&
                shared.url === card.link && readPng(file).rgba.equals(card.rgba),
            `${size}: shared ${shared.name} (${shared.type}) with ${shared.url}`);
    }
    if (screenshot) await p.screenshot({path: screenshot.replace(/(\.png)?$/, `-${size}.png`)});
    await enlargeAndClose(p, viewport, card, size);
    if (viewport.video) await checkVideo(p, size);
    if (viewport.speaks) await checkLanguage(p, viewport.speaks, name, card, size);
    check(opened.errors.length === 0, `${size}: errors: ${opened.errors}`);
    await p.close();
  }
}

// The video of the card's growth, saved, then shared: a second click while it is made changes
// nothing, and the file is the renderer's film: as long as its --video (within 0.2 s), and its last
// frame, each card pixel a 2 x 2 square, the card's pixels (40 dB at least, on the card of "srecno
// novo leto": Chromium's H.264 encoder keeps no finer than 39 to 42 dB on the golden cards).
// Sharing hands over the same file, named as saved.
async function checkVideo(p, what) {
  const name = 'srecno novo leto';
  await typeName(p, name);
  const card = await finishedCard(p, name);
  const downloads = fs.mkdtempSync(path.join(work, 'video-'));
  const session = await p.createCDPSession();
  await session.send('Browser.setDownloadBehavior',
                     {behavior: 'allow', downloadPath: downloads, eventsEnabled: true});
  const saved = new Promise((resolve) => session.on('Browser.downloadProgress', (event) => {
    if (event.state === 'completed') resolve();
  }));
  const clicked = performance.now();
  await p.click('#save-video');
  await p.click('#save-video');
  await Promise.race([saved, new Promise((resolve) => setTimeout(resolve, 60000))]);
  const madeMs = performance.now() - clicked;
  await new Promise((resolve) => setTimeout(resolve, 1000));  // time for a second download
  const files = fs.readdirSync(downloads);
  const handedOut = await p.evaluate(() => window.videoFiles);
  check(files.length === 1 && /^T\d{14}\.(mp4|webm)$/.test(files[0]) && handedOut === 1,
        `${what}: saved videos: ${files}, ${handedOut} handed out`);
  if (files.length !== 1) return;
  const file = path.join(downloads, files[0]);
  const reference = path.join(work, 'reference.mp4');
  execFileSync(renderer, ['--name', name, '--video', reference]);
  const film = await p.evaluate(async (ours, theirs) => {
    const open = async (base64) => {
      const video = document.createElement('video');
      video.muted = true;
      document.body.append(video);
      video.src = URL.createObjectURL(new Blob([Uint8Array.from(atob(base64),
                                                                (c) => c.charCodeAt(0))]));
      await new Promise((resolve, reject) => {
        video.onloadeddata = resolve;
        video.onerror = () => reject(new Error(video.error?.message));
      });
      return video;
    };
    const video = await open(ours);
    const reference = await open(theirs);
    // The last frame, once the seek to the end is done and the frame is shown.
    const shown = new Promise((resolve) => video.requestVideoFrameCallback(resolve));
    video.currentTime = video.duration;
    await new Promise((resolve) => { video.onseeked = resolve; });
    await Promise.race([shown, new Promise((resolve) => setTimeout(resolve, 2000))]);
    const canvas = new OffscreenCanvas(video.videoWidth, video.videoHeight);
    const drawn = canvas.getContext('2d');
    drawn.drawImage(video, 0, 0);
    const frame = drawn.getImageData(0, 0, canvas.width, canvas.height).data;
    const cardCanvas = document.getElementById('card');
    const {width, height} = cardCanvas;
    const pixels = cardCanvas.getContext('2d').getImageData(0, 0, width, height).data;
    let squares = 0;
    if (canvas.width === 2 * width && canvas.height === 2 * height) {
      for (let y = 0; y < height; y++) {
        for (let x = 0; x < width; x++) {
          for (let c = 0; c < 3; c++) {
            const at = (dy, dx) => frame[4 * ((2 * y + dy) * canvas.width + 2 * x + dx) + c];
            const mean = (at(0, 0) + at(0, 1) + at(1, 0) + at(1, 1)) / 4;
            squares += (mean - pixels[4 * (y * width + x) + c]) ** 2;
          }
        }
      }
    }
    return {width: canvas.width, height: canvas.height, duration: video.duration,
            reference: reference.duration,
            psnr: 10 * Math.log10(255 ** 2 / (squares / (3 * width * height)))};
  }, fs.readFileSync(file).toString('base64'), fs.readFileSync(reference).toString('base64'));
  const bytes = fs.statSync(file).size;
  console.log(`video of "${name}": ${files[0]}, ${(bytes / 1e6).toFixed(1)} MB, made in ` +
              `${(madeMs / 1000).toFixed(1)} s; ${film.duration.toFixed(2)} s long (the ` +
              `renderer's ${film.reference.toFixed(2)} s), its last frame ` +
              `${film.psnr.toFixed(1)} dB from the card`);
  check(film.width === 1400 && film.height === 1050 &&
            Math.abs(film.duration - film.reference) <= 0.2 && film.psnr >= 40,
        `${what}: the video is ${film.width} x ${film.height}, ${film.duration} s long against ` +
        `${film.reference} s, its last frame ${film.psnr} dB from the card`);
  await p.click('#share-video');
  const shared = await p.waitForFunction(() => window.sharedVideo, {timeout: 60000})
                     .then((handle) => handle.jsonValue(), () => ({}));
  const type = files[0].endsWith('.mp4') ? 'video/mp4' : 'video/webm';
  check(shared.name === files[0] && shared.type === type && shared.size === bytes &&
            shared.url === card.link,
        `${what}: shared ${shared.name} (${shared.type}, ${shared.size} bytes) with ${shared.url}`);
}

// The page in `language` with the card of `name` on screen: it says the card is ready in that
// language, and a refused name, with its fix; then no word of the English catalogue is left in any
// text or label of the page, the greeting aside, which is the card's own, as painted.
async function checkLanguage(p, language, name, card, what) {
  const ready = fill(language, 'ready', {name});
  const said = await announcement(p, ready);
  check(said === ready, `${what}: announced "${said}"`);
  await typeName(p, 'Ana');
  await p.waitForSelector('#fix', {timeout: 20000});
  const why = await p.$eval('#why', (w) => ({text: w.firstChild.textContent,
                                             fix: w.querySelector('#fix').textContent}));
  check(why.text === fill(language, 'capital') && why.fix === fill(language, 'fix', {name: 'ana'}),
        `${what}: the refusal reads "${why.text}", offers "${why.fix}"`);
  const seen = await p.evaluate(() => {
    const texts = [document.title, document.querySelector('meta[name=description]').content];
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      if (!node.parentElement.closest('script, style, #link')) texts.push(node.textContent);
    }
    for (const e of document.querySelectorAll('[aria-label], [title], [placeholder]')) {
      texts.push(e.getAttribute('aria-label') ?? '', e.title, e.placeholder ?? '');
    }
    return {texts, lang: document.documentElement.lang};
  });
  const wordsOf = (texts) => new Set(texts.join(' ').toLowerCase().match(/\p{L}{2,}/gu));
  const own = wordsOf(Object.values(catalogues[language]));
  const englishOnly = [...wordsOf(Object.values(catalogues.en))].filter((w) => !own.has(w));
  const shown = wordsOf(seen.texts.map((text) => text.replaceAll(card.label, ' ')));
  const left = englishOnly.filter((w) => shown.has(w));
  check(seen.lang === language && left.length === 0,
        `${what}: <html lang="${seen.lang}">, English words left: ${left}`);
}

// The card enlarged, opened and closed in the ways of `viewport`: every pixel of the card, each a
// whole number of the screen's, at least one CSS pixel, all of it reachable; closed, the page is
// where it was, the card's link in the address and the card again under the keyboard's focus.
async function enlargeAndClose(p, viewport, card, what) {
  const ways = {
    Enter: async () => {
      await p.focus('#zoom');
      await p.keyboard.press('Enter');
    },
    tap: (target) => p.tap(target),
    click: (target) => p.click(target),
    Escape: () => p.keyboard.press('Escape'),
    back: () => p.goBack(),
    close: () => p.click('#close'),
  };
  await ways[viewport.open]('#zoom');
  await p.waitForFunction(() => document.getElementById('enlarged').open, {timeout: 5000});
  const large = await p.evaluate(() => {
    const c = document.getElementById('card-large');
    const data = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    let text = '';
    for (let k = 0; k < data.length; k += 0x8000) {
      text += String.fromCharCode(...data.subarray(k, k + 0x8000));
    }
    const view = document.getElementById('enlarged');
    return {rgba: btoa(text), width: c.getBoundingClientRect().width,
            height: c.getBoundingClientRect().height, scrollWidth: view.scrollWidth,
            scrollHeight: view.scrollHeight, label: c.getAttribute('aria-label')};
  });
  const ratio = viewport.deviceScaleFactor ?? 1;
  const screenPixels = large.width * ratio / kWidth;
  check(Buffer.from(large.rgba, 'base64').equals(card.rgba) && large.label === card.label,
        `${what}: the enlarged card is not the card`);
  check(large.width >= kWidth && Math.abs(screenPixels - Math.round(screenPixels)) < 1e-6 &&
            Math.abs(large.height * kWidth - large.width * kHeight) < 1 &&
            large.scrollWidth >= large.width && large.scrollHeight >= large.height,
        `${what}: enlarged to ${large.width} x ${large.height} (${screenPixels} screen pixels ` +
        `each), ${large.scrollWidth} x ${large.scrollHeight} to scroll`);
  if (screenshot) {
    await p.screenshot({path: screenshot.replace(/(\.png)?$/, `-${what}-enlarged.png`)});
  }
  await ways[viewport.close]('#enlarged');
  const closed = await p.waitForFunction(
      () => !document.getElementById('enlarged').open && !history.state?.enlarged,
      {timeout: 5000}).then(() => true, () => false);
  const after = await p.evaluate(() => ({href: location.href, focus: document.activeElement?.id}));
  check(closed && after.href === card.link && after.focus === 'zoom',
        `${what}: closed by ${viewport.close}: ${closed}, at ${after.href}, focus on ` +
        `#${after.focus}`);
}

// What a screen reader and a keyboard meet, at a phone's size and a desktop's: axe-core finds no
// serious or critical fault before a card, with a card and a refusal offering its fix, or with the
// card enlarged; before a card, Tab stops only at what can be seen and used.
{
  const axe = fs.readFileSync(path.join(path.dirname(new URL(import.meta.url).pathname),
                                        'node_modules/axe-core/axe.min.js'), 'utf8');
  const viewports = [
    {width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true},
    {width: 1280, height: 800},
  ];
  const states = [
    {state: 'before a card', reach: async () => {}},
    {state: 'a card and a refusal with its fix', reach: async (p) => {
      await typeName(p, 'ana');
      await finishedCard(p, 'ana');
      await typeName(p, 'Ana Marija');
      await p.waitForSelector('#fix', {timeout: 20000});
    }},
    {state: 'the card enlarged', reach: async (p) => {
      await p.click('#zoom');
      await p.waitForFunction(() => document.getElementById('enlarged').open, {timeout: 5000});
    }},
  ];
  for (const viewport of viewports) {
    const size = `${viewport.width}x${viewport.height}`;
    const opened = await openPage(base, viewport);
    const p = opened.page;
    // Tab from the field round to the browser: every stop is shown.
    const stops = [];
    await p.focus('#name');
    for (let k = 0; k < 12; k++) {
      await p.keyboard.press('Tab');
      const stop = await p.evaluate(() => {
        const e = document.activeElement;
        if (!e || e === document.body) return null;
        const r = e.getBoundingClientRect();
        return {id: e.id, shown: r.width > 0 && r.height > 0 &&
                                 getComputedStyle(e).visibility !== 'hidden'};
      });
      if (stop === null) break;
      stops.push(stop);
    }
    const hiddenStops = stops.filter((stop) => !stop.shown).map((stop) => `#${stop.id}`);
    check(hiddenStops.length === 0 && stops.length > 0,
          `${size}: Tab stops at what is not shown: ${hiddenStops}`);
    await p.addScriptTag({content: axe});
    for (const {state, reach} of states) {
      await reach(p);
      const violations = await p.evaluate(async () =>
          (await window.axe.run(document, {resultTypes: ['violations']})).violations.map(
              (v) => ({id: v.id, impact: v.impact, nodes: v.nodes.map((n) => n.target.join(' '))})));
      const serious = violations.filter((v) => v.impact === 'serious' || v.impact === 'critical');
      console.log(`axe-core at ${size}, ${state}: ${violations.length} findings` +
                  violations.map((v) => ` ${v.id} (${v.impact}: ${v.nodes.join(', ')})`).join(''));
      check(serious.length === 0, `${size}, ${state}: ${JSON.stringify(serious)}`);
    }
    check(opened.errors.length === 0, `${size}: errors: ${opened.errors}`);
    await p.close();
  }
}

// A paste longer than the field takes is cut to the 100 characters and says so; one that fits
// says nothing.
{
  const opened = await openPage(base);
  const p = opened.page;
  await browser.defaultBrowserContext().overridePermissions(
      base, ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const pastes = [
    {typed: '', pasted: 'ana marija '.repeat(12), kept: 100,
     said: /^The pasted text has 132 characters and only 100 fitted/},
    {typed: 'a'.repeat(90), pasted: 'b'.repeat(20), kept: 100,
     said: /^The pasted text has 20 characters and only 10 fitted/},
    {typed: 'ana ', pasted: 'marija', kept: 10, said: null},
  ];
  for (const {typed, pasted, kept, said} of pastes) {
    await p.$eval('#name', (field, value) => {
      field.value = value;
      document.getElementById('why').textContent = '';
    }, typed);
    await p.focus('#name');
    await p.evaluate((text) => navigator.clipboard.writeText(text), pasted);
    await p.keyboard.press('KeyV', {commands: ['Paste']});
    const seen = await p.evaluate(() => ({length: document.getElementById('name').value.length,
                                          why: document.getElementById('why').textContent}));
    check(seen.length === kept && (said ? said.test(seen.why) : seen.why === ''),
          `pasting ${pasted.length} characters after ${typed.length}: ${seen.length} kept, ` +
          `"${seen.why}"`);
  }
  check(opened.errors.length === 0, `pastes: errors: ${opened.errors}`);
  await p.close();
}

// Offline: a page opened once reloads with no network and makes a card, in each of its languages,
// from a cache named after this build's files; and the video of a card, its muxer kept too.
{
  const name = 'anna';
  const version = fs.readFileSync(path.join(pageDir, 'service_worker.js'), 'latin1')
                      .match(/'([0-9a-f]{16})'/)?.[1];
  for (const [language, languages] of [['en', null], ['sl', ['sl']], ['de', ['de-CH', 'fr']]]) {
    const opened = await openPage(base, undefined, languages ? [[preferLanguages, languages]] : []);
    const p = opened.page;
    const caches = await p.evaluate(async () => {
      await navigator.serviceWorker.ready;
      return caches.keys();
    });
    check(version !== undefined && caches.length === 1 && caches[0] === `newyear-card-${version}`,
          `caches ${caches}, this build ${version}`);
    offline = true;
    await p.reload();
    await p.waitForSelector('body[data-ready]', {timeout: 20000});
    const speaks = await p.evaluate(() => [document.documentElement.lang,
                                           document.getElementById('make').textContent]);
    check(speaks.join() === [language, fill(language, 'make')].join(),
          `offline in "${language}": the page speaks ${speaks}`);
    await typeName(p, name);
    const card = await finishedCard(p, name);
    const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedPixels);
    check(differing <= kAllowedDiffering && hasGreeting(card.rgba),
          `offline card in "${language}": ${differing} differ`);
    if (language === 'en') {
      await p.click('#save-video');
      const saved = fill(language, 'filmSaved', {file: ''});
      const made = await p.waitForFunction(
          (words) => document.getElementById('status').textContent.startsWith(words),
          {timeout: 60000, polling: 100}, saved).then(() => true, () => false);
      check(made, `offline, no video: "${await p.$eval('#why', (e) => e.textContent)}"`);
    }
    offline = false;
    check(opened.errors.length === 0, `offline in "${language}": errors: ${opened.errors}`);
    await p.close();
  }
}

// The page's speed against the window's card natively (BM_CardWindow, when the benchmark was
// built beside the renderer), for the same name: printed, not checked, since the machine's load
// decides it.
{
  const name = 'srecno novo leto';
  const cores = [];
  const enters = [];
  for (let k = 0; k < 9; k++) {
    await typeName(page, k % 2 ? 'anna' : name);
    const card = await finishedCard(page, k % 2 ? 'anna' : name);
    if (k % 2 === 0) {
      cores.push(card.coreMs);
      enters.push(card.ms);
    }
  }
  const bench = path.join(path.dirname(renderer), 'card_bench');
  let nativeMs = null;
  if (fs.existsSync(bench)) {
    const result = spawnSync(bench, ['--benchmark_filter=^BM_CardWindow($|/)',
                                     '--benchmark_repetitions=5', '--benchmark_format=json']);
    const runs = JSON.parse(result.stdout.toString() || '{}').benchmarks ?? [];
    const times = runs.filter((r) => r.run_type === 'iteration').map((r) => r.real_time);
    if (times.length > 0) nativeMs = Math.min(...times);
  }
  const core = Math.min(...cores);
  const enter = Math.min(...enters);
  const ratio = (ms) => nativeMs ? ` = ${(ms / nativeMs).toFixed(2)} x BM_CardWindow` : '';
  console.log(`"${name}", fastest of ${cores.length}: the core alone ${core.toFixed(1)} ms` +
              `${ratio(core)}, Enter to the last row ${enter.toFixed(1)} ms${ratio(enter)}` +
              (nativeMs ? ` (BM_CardWindow ${nativeMs.toFixed(1)} ms)` : ''));
}

check(errors.length === 0, `errors: ${errors}`);
// The core is downloaded once, by the worker; the offline copy and every later page reuse it.
for (const file of ['card_core.wasm', 'card_core.mjs']) {
  check(sentWhole.get(file) === 1, `${file} was downloaded ${sentWhole.get(file)} times`);
}

// What a visitor downloads on the first visit, compressed as servers send it: the page and every
// file its service worker keeps for offline use.
const kept = fs.readFileSync(path.join(pageDir, 'service_worker.js'), 'utf8')
                 .match(/const kFiles = \[([^\]]*)\]/)[1].match(/'\.\/[^']+'/g)
                 .map((file) => file.slice(3, -1));
const partOf = (file) => file.endsWith('.wasm') ? 'wasm' : file.startsWith('lang/') ? 'words' :
                         file.startsWith('vendor/') ? 'muxers' : /\.m?js$/.test(file) ? 'scripts' :
                         file.endsWith('.png') ? 'icon' : 'the rest';
const gzipped = new Map();
for (const file of [...kept, 'service_worker.js']) {
  const bytes = zlib.gzipSync(fs.readFileSync(path.join(pageDir, file)), {level: 9}).length;
  gzipped.set(partOf(file), (gzipped.get(partOf(file)) ?? 0) + bytes);
}
const gzipTotal = [...gzipped.values()].reduce((sum, bytes) => sum + bytes, 0);
times.sort((a, b) => a - b);
console.log(`card time in the browser: median ${times[times.length >> 1].toFixed(1)} ms, ` +
            `slowest ${times.at(-1).toFixed(1)} ms`);
console.log(`gzip size: ${[...gzipped].map(([part, bytes]) => `${part} ${bytes}`).join(' + ')} = ` +
            `${(gzipTotal / 1024).toFixed(1)} KiB`);
check(gzipTotal <= 300 * 1024, `the page's files are ${gzipTotal} bytes after gzip`);
// The page's muxers are the releases pinned in package.json, unchanged (web/vendor/README.md).
for (const muxer of ['mp4-muxer', 'webm-muxer']) {
  const pinned = path.join(here, 'node_modules', muxer);
  const version = JSON.parse(fs.readFileSync(path.join(pinned, 'package.json'), 'utf8')).version;
  check(fs.readFileSync(path.join(pinned, 'build', `${muxer}.mjs`))
            .equals(fs.readFileSync(path.join(pageDir, 'vendor', `${muxer}.mjs`))),
        `the page's vendor/${muxer}.mjs is not ${muxer} ${version}'s`);
}
const iconBytes = fs.statSync(path.join(pageDir, 'icon.png')).size;
check(iconBytes <= 16 * 1024, `the icon is ${iconBytes} bytes`);

// A new version of the page: it installs beside the one in use, which stays through reloads and
// says a new one is ready; "reload" brings it in, with its own files and only its cache. In a
// browser of its own, so that the other pages keep this build's.
{
  const context = await browser.createBrowserContext();
  const opened = await openPage(base, {width: 390, height: 844, isMobile: true, hasTouch: true},
                                [], context);
  const p = opened.page;
  await p.waitForFunction(() => navigator.serviceWorker.controller !== null, {timeout: 20000});
  newVersion = true;
  await p.reload();
  await p.waitForSelector('body[data-ready]', {timeout: 20000});
  const offered = await p.waitForSelector('#update:not([hidden])', {timeout: 20000})
                      .then(() => true, () => false);
  const before = {
    version: await p.evaluate(() => document.querySelector('meta[name=page-version]')?.content ??
                                    'old'),
    said: await announcement(p, 'A new version of this page is ready: reload to use it.')};
  check(offered && before.version === 'old',
        `new version: offered ${offered}, the page in use is the ${before.version} one`);
  check(/^A new version of this page is ready/.test(before.said), `new version: "${before.said}"`);
  await Promise.all([p.waitForNavigation({timeout: 20000}), p.click('#reload')]);
  await p.waitForSelector('body[data-ready]', {timeout: 20000});
  const after = await p.evaluate(async () => ({
    version: document.querySelector('meta[name=page-version]')?.content ?? 'old',
    offered: !document.getElementById('update').hidden,
    caches: await caches.keys()}));
  check(after.version === 'new' && !after.offered &&
            after.caches.join() === 'newyear-card-feedfacefeedface',
        `after "reload": the ${after.version} page, offered ${after.offered}, caches ${after.caches}`);
  newVersion = false;
  check(opened.errors.length === 0, `new version: errors: ${opened.errors}`);
  await context.close();
}

await browser.close();
server.close();
fs.rmSync(work, {recursive: true, force: true});
console.log(failures === 0 ? 'page test passed' : `page test: ${failures} failures`);
process.exit(failures === 0 ? 0 : 1);
