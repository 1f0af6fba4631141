// The web page in a real browser: its cards against the headless renderer's, refused names, saving,
// a card abandoned for the next, links to a card, screen sizes, working offline, and the page's
// speed and download size.
//
//   node page_test.mjs PAGE_DIR RENDERER [--screenshot FILE]
// With --screenshot, FILE is the page of a link, and FILE-WxH.png the page at each screen size.
import {execFileSync, spawnSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

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
const kAllowedDiffering = 0;
const kGoldenNames = ['anna', '', 'ana marija', 'janez novak', 'srecno novo leto'];

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

// The renderer's BMP: 24-bit, rows bottom-up, padded to four bytes. Returns RGBA rows top-down.
function readBmp(file) {
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
function readPng(file) {
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

function differingPixels(a, b, rows) {
  let count = 0;
  for (let k = 0; k < kWidth * rows; k++) {
    const at = 4 * k;
    if (a[at] !== b[at] || a[at + 1] !== b[at + 1] || a[at + 2] !== b[at + 2]) count++;
  }
  return count;
}

// --- The page, served the way any static server serves it -------------------------------------

const kTypes = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript',
                '.mjs': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
                '.webmanifest': 'application/manifest+json'};
let offline = false;  // the network is down: every request fails as with no connection
const sentWhole = new Map();  // file: how often it was sent in full, not as "not modified"
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
  const modified = fs.statSync(file).mtime.toUTCString();
  if (request.headers['if-modified-since'] === modified) {
    response.writeHead(304).end();
    return;
  }
  sentWhole.set(path.basename(file), (sentWhole.get(path.basename(file)) ?? 0) + 1);
  response.writeHead(200, {'Content-Type': kTypes[path.extname(file)] ?? 'application/octet-stream',
                           'Last-Modified': modified});
  fs.createReadStream(file).pipe(response);
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--headless', '--disable-gpu', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--no-first-run'],
});

async function openPage(address, viewport = {width: 768, height: 680}, prepare = null) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  if (prepare) await page.evaluateOnNewDocument(prepare);
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('requestfailed', (request) => errors.push(`${request.url()} failed`));
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
// The prompt is the window's own, from the core, not a copy of the page's.
const prompt = await page.$eval('#ask', (a) => [...a.querySelectorAll('p')].map((p) => p.textContent));
check(prompt[0] === 'enter your name and surname' && prompt[1].startsWith('small letters'),
      `prompt: ${prompt}`);

// Each golden name, typed as a person types it.
console.log('name                 differing pixels              card time');
for (const name of kGoldenNames) {
  await typeName(page, name);
  const card = await finishedCard(page, name);
  const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedRows);
  times.push(card.ms);
  console.log(`${JSON.stringify(name).padEnd(20)} ${String(differing).padStart(7)} of ` +
              `${kWidth * kComparedRows}${' '.repeat(17)}${card.ms.toFixed(1)} ms`);
  check(differing <= kAllowedDiffering, `"${name}": ${differing} pixels differ from the renderer's`);
  check(hasGreeting(card.rgba), `"${name}": no greeting on the finished card`);
  check(card.link === `${base}#${encodeURIComponent(name)}`, `"${name}": link ${card.link}`);
}

// A refused name says why, in the renderer's words, and leaves the card on screen.
{
  const before = await finishedCard(page, kGoldenNames.at(-1));
  const refused = 'Ana';
  const result = spawnSync(renderer, ['--name', refused, '--out', path.join(work, 'no.png')]);
  const rendererReason = result.stderr.toString().match(/refused name: (.*)/)?.[1];
  await typeName(page, refused);
  await page.waitForFunction(() => document.getElementById('why').textContent !== '',
                             {timeout: 20000, polling: 50});
  const reason = await page.$eval('#why', (why) => why.textContent);
  const after = await finishedCard(page, kGoldenNames.at(-1));
  check(result.status === 2 && reason === rendererReason,
        `refusal reads "${reason}", the renderer's "${rendererReason}"`);
  check(before.rgba.equals(after.rgba), 'a refused name changed the card');
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
    const enter = () => field.dispatchEvent(new KeyboardEvent('keydown', {key: 'Enter'}));
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
  const differing = differingPixels(card.rgba, references.get(second).rgba, kComparedRows);
  check(differing <= kAllowedDiffering, `second card after an abandoned one: ${differing} differ`);
  check(hasGreeting(card.rgba), 'second card after an abandoned one: no greeting');
}

// Links as anyone may send them: a name is taken whole, NULs and all, and a refused one is said,
// shown as text, makes no card and leaves no link.
{
  const good = 'srecno novo leto';
  const long = 'a'.repeat(5000);
  const links = [
    {hash: 'a%00b', name: 'a\0b', refusal: /^a NUL \(U\+0000\) at position 2 /},
    {hash: '%00', name: '\0', refusal: /^a NUL \(U\+0000\) at position 1 /},
    {hash: 'Ana', name: 'Ana', refusal: /^character 'A' \(U\+0041\) at position 1 /},
    {hash: '%ZZ', name: '%ZZ', refusal: /^character '%' \(U\+0025\) at position 1 /},
    {hash: long, name: long, refusal: /^the name has 5000 characters/},
    {hash: encodeURIComponent('<script>window.pwned=1</script>'),
     name: '<script>window.pwned=1</script>', refusal: /^character '<'/},
    {hash: encodeURIComponent('<img src=x onerror="window.pwned=1">'),
     name: '<img src=x onerror="window.pwned=1">', refusal: /^character '<'/},
    {hash: encodeURIComponent(good), name: good, refusal: null},
  ];
  for (const {hash, name, refusal} of links) {
    const what = `link #${hash.slice(0, 40)}`;
    const opened = await openPage(`${base}#${hash}`);
    const p = opened.page;
    if (refusal) {
      await p.waitForFunction(() => document.getElementById('why').textContent !== '',
                              {timeout: 20000, polling: 50});
    }
    const seen = await p.evaluate(() => ({
      why: document.getElementById('why').textContent,
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
      check(seen.state === undefined && !seen.linkShown && seen.hash === '',
            `${what}: card "${seen.state}", link shown ${seen.linkShown}, address #${seen.hash}`);
    } else {
      const card = await finishedCard(p, name);
      const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedRows);
      check(differing <= kAllowedDiffering, `${what}: ${differing} pixels differ`);
      check(card.link === `${base}#${hash}` && seen.why === '', `${what}: link ${card.link}`);
      check(card.label?.startsWith(name), `${what}: the card reads "${card.label}"`);
      if (screenshot) await p.screenshot({path: screenshot});
    }
    check(opened.errors.length === 0, `${what}: errors: ${opened.errors}`);
    await p.close();
  }
}

// A phone's share sheet, as far as the page can see it: it takes PNG files, and keeps what it
// was handed for the test to read.
function shareSheet() {
  navigator.canShare = (data) => (data.files ?? []).every((f) => f.type === 'image/png');
  navigator.share = async (data) => {
    const [file] = data.files;
    const bytes = new Uint8Array(await file.arrayBuffer());
    let text = '';
    for (let k = 0; k < bytes.length; k += 0x8000) {
      text += String.fromCharCode(...bytes.subarray(k, k + 0x8000));
    }
    window.shared = {name: file.name, type: file.type, url: data.url, png: btoa(text)};
  };
}

// Every screen, from a phone held either way to a desktop: the whole card shown, undistorted, and
// every control inside the screen, big enough to touch, with nothing to scroll sideways. Where
// files can be shared, "share" hands the card's PNG and its link to the share sheet.
{
  const name = 'janez novak';
  const viewports = [
    {width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3, share: true},
    {width: 844, height: 390, isMobile: true, hasTouch: true, deviceScaleFactor: 3},
    {width: 1280, height: 800},
  ];
  for (const viewport of viewports) {
    const size = `${viewport.width}x${viewport.height}`;
    const opened = await openPage(`${base}#${encodeURIComponent(name)}`, viewport,
                                  viewport.share ? shareSheet : null);
    const card = await finishedCard(opened.page, name);
    const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedRows);
    check(differing <= kAllowedDiffering, `${size}: ${differing} pixels differ`);
    const layout = await opened.page.evaluate(() => {
      const box = (e) => {
        const r = e.getBoundingClientRect();
        return {id: e.id, left: r.left, top: r.top, right: r.right, bottom: r.bottom};
      };
      const controls = [...document.querySelectorAll('input, button, #link')].filter(
          (e) => !e.hidden && e.getClientRects().length > 0);
      return {

        scrollWidth: document.documentElement.scrollWidth,
        card: box(document.getElementById('card')),
        controls: controls.map(box),
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
    const shareShown = layout.controls.some((b) => b.id === 'share');
    check(shareShown === Boolean(viewport.share), `${size}: "share" shown: ${shareShown}`);
    if (viewport.share && shareShown) {
      await opened.page.click('#share');
      const shared = await opened.page.waitForFunction(() => window.shared, {timeout: 5000})
                         .then((handle) => handle.jsonValue());
      const file = path.join(work, 'shared.png');
      fs.writeFileSync(file, Buffer.from(shared.png, 'base64'));
      check(/^T\d{14}\.png$/.test(shared.name) && shared.type === 'image/png' &&
                shared.url === card.link && readPng(file).rgba.equals(card.rgba),
            `${size}: shared ${shared.name} (${shared.type}) with ${shared.url}`);
    }
    if (screenshot) {
      await opened.page.screenshot({path: screenshot.replace(/(\.png)?$/, `-${size}.png`)});
    }
    check(opened.errors.length === 0, `${size}: errors: ${opened.errors}`);
    await opened.page.close();
  }
}

// Offline: a page opened once reloads with no network and makes a card, from a cache named after
// this build's files.
{
  const name = 'anna';
  const version = fs.readFileSync(path.join(pageDir, 'service_worker.js'), 'latin1')
                      .match(/'([0-9a-f]{16})'/)?.[1];
  const opened = await openPage(base);
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
  await typeName(p, name);
  const card = await finishedCard(p, name);
  const differing = differingPixels(card.rgba, references.get(name).rgba, kComparedRows);
  check(differing <= kAllowedDiffering && hasGreeting(card.rgba), `offline card: ${differing} differ`);
  offline = false;
  check(opened.errors.length === 0, `offline: errors: ${opened.errors}`);
  await p.close();
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

// What a visitor downloads, compressed as servers send it.
const shipped = ['card_core.wasm', 'card_core.mjs', 'card.js', 'card_worker.js', 'index.html',
                 'service_worker.js', 'manifest.webmanifest', 'icon.png'].map(
    (f) => zlib.gzipSync(fs.readFileSync(path.join(pageDir, f)), {level: 9}).length);
const gzipTotal = shipped.reduce((a, b) => a + b, 0);
times.sort((a, b) => a - b);
console.log(`card time in the browser: median ${times[times.length >> 1].toFixed(1)} ms, ` +
            `slowest ${times.at(-1).toFixed(1)} ms`);
console.log(`gzip size: wasm ${shipped[0]} + scripts ${shipped[1] + shipped[2] + shipped[3]} + ` +
            `the rest ${shipped.slice(4).reduce((a, b) => a + b, 0)} = ` +
            `${(gzipTotal / 1024).toFixed(1)} KiB`);
check(gzipTotal <= 300 * 1024, `the page's files are ${gzipTotal} bytes after gzip`);

await browser.close();
server.close();
fs.rmSync(work, {recursive: true, force: true});
console.log(failures === 0 ? 'page test passed' : `page test: ${failures} failures`);
process.exit(failures === 0 ? 0 : 1);
