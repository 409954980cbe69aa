// The live panel in Debian's Chromium: scripts/browser-test.sh starts `panelhost serve` and gives
// its address in PANEL_URL. The tests share that one panel and run in order; each sets up the state
// it needs through the control API.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const base = process.env.PANEL_URL;
const artifacts = process.env.PANEL_ARTIFACTS || os.tmpdir();
if (!base) throw new Error('PANEL_URL is not set: run scripts/browser-test.sh');

const chromiumArgs = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

async function api(command) {
  const r = await fetch(new URL('/api', base), {
    method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(command),
  });
  return r.json();
}
async function state(instance) {
  const a = await api({ cmd: 'state', instance });
  assert.equal(a.ok, true, JSON.stringify(a));
  return a.elements;
}
async function until(what, check, timeout = 10000) {
  const end = Date.now() + timeout;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await new Promise((r) => setTimeout(r, 100));
  }
}
// Waits until no display list changes any more (a paused panel's needles finish their turn).
async function stable() {
  let last = '';
  for (let i = 0; i < 40; ++i) {
    const now = JSON.stringify((await api({ cmd: 'display' })).instances.map((x) => x.revision));
    if (now === last) return;
    last = now;
    await new Promise((r) => setTimeout(r, 300));
  }
  throw new Error('the panel did not come to rest');
}

// The first child mouse area of a gauge whose box holds the given gauge point (or the first child).
async function childArea(gauge, module = 'Skelvan') {
  const a = await api({ cmd: 'inspect', module });
  const g = a.inspect.gauges.find((x) => x.name === gauge);
  return g.mouse.filter((m) => m.kind === 'child');
}

let context;
let page;

async function openPage(url, viewport) {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'panel-chromium-'));
  const ctx = await chromium.launchPersistentContext(dir, {
    executablePath: '/usr/bin/chromium', headless: true, args: chromiumArgs, viewport, deviceScaleFactor: 1,
  });
  const p = ctx.pages()[0] || await ctx.newPage();
  const errors = [];
  p.on('pageerror', (e) => errors.push(e.message));
  await p.goto(url);
  await p.waitForFunction(() => window.skelvanPanel && window.skelvanPanel.settled(), null, { timeout: 20000 });
  return { ctx, page: p, errors, dir };
}
const settled = (p) => p.waitForFunction(() => window.skelvanPanel.settled(), null, { timeout: 10000 });

// Pixels of a gauge's box on the page's canvas, as a small fingerprint to see a change.
async function gaugePixels(p, instance) {
  return p.evaluate((id) => {
    const s = window.skelvanPanel.state;
    const i = s.instances.get(id);
    const view = s.views.get(i.window);
    const [x, y, w, h] = i.placement.map((v) => Math.round(v * view.k));
    const d = view.ctx.getImageData(x, y, Math.max(1, w), Math.max(1, h)).data;
    let hash = 0;
    for (let n = 0; n < d.length; n += 4) hash = (hash * 31 + d[n] + 7 * d[n + 1] + 13 * d[n + 2]) >>> 0;
    return hash;
  }, instance);
}
async function clickGauge(p, instance, gx, gy, holdMs = 0) {
  const point = await p.evaluate(([id, x, y]) => window.skelvanPanel.clientPoint(id, x, y), [instance, gx, gy]);
  await p.mouse.move(point[0], point[1]);
  await p.mouse.down();
  if (holdMs) await p.waitForTimeout(holdMs);
  await p.mouse.up();
}

before(async () => {
  await api({ cmd: 'reset', demo: false });
  ({ ctx: context, page } = await openPage(base, { width: 1600, height: 1000 }));
});
after(async () => {
  if (context) await context.close();
});

test('the page loads and draws every gauge of the main panel', async () => {
  const lists = await api({ cmd: 'display', window: 1 });
  const installed = lists.instances.map((i) => i.id);
  assert.equal(installed.length, 20);
  for (const i of lists.instances) {
    assert.ok(i.commands.length > 0, `${i.id} draws something`);
    assert.deepEqual(i.missing_bitmaps, [], `${i.id} has all its pictures`);
  }
  // Each gauge's box on the canvas is drawn over: not the plain background.
  const plain = await page.evaluate((ids) => {
    const s = window.skelvanPanel.state;
    const out = [];
    for (const id of ids) {
      const i = s.instances.get(id);
      const view = s.views.get(i.window);
      const [x, y, w, h] = i.placement.map((v) => Math.round(v * view.k));
      const d = view.ctx.getImageData(x, y, Math.max(1, w), Math.max(1, h)).data;
      let other = 0;
      for (let n = 0; n < d.length; n += 4) if (d[n] !== 0x2e || d[n + 1] !== 0x31 || d[n + 2] !== 0x34) other++;
      if (other < d.length / 4 / 20) out.push(id);
    }
    return out;
  }, installed);
  assert.deepEqual(plain, []);
  fs.mkdirSync(artifacts, { recursive: true });
  await page.screenshot({ path: path.join(artifacts, 'panel.png') });
});

test('the canvas shows the same picture as the host renderer for the same state', async () => {
  await api({ cmd: 'reset', demo: true });
  await api({ cmd: 'step', updates: 0 });
  await new Promise((r) => setTimeout(r, 1500));  // the demo turns a few things on
  await api({ cmd: 'sim', running: false });
  const exact = await openPage(`${base}?scale=1`, { width: 1900, height: 1150 });
  try {
    await stable();
    await new Promise((r) => setTimeout(r, 200));  // the last lists reach the page
    await settled(exact.page);
    const r = await exact.page.evaluate(async () => {
      const canvas = document.querySelector('canvas[data-window="1"]');
      const a = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
      const img = new Image();
      img.src = '/render.png?window=1';
      await img.decode();
      const c = document.createElement('canvas');
      c.width = img.width;
      c.height = img.height;
      c.getContext('2d').drawImage(img, 0, 0);
      const b = c.getContext('2d').getImageData(0, 0, img.width, img.height).data;
      if (a.length !== b.length) return { size: [canvas.width, canvas.height, img.width, img.height] };
      let sum = 0, far = 0;
      for (let i = 0; i < a.length; i += 4) {
        const d = Math.max(Math.abs(a[i] - b[i]), Math.abs(a[i + 1] - b[i + 1]), Math.abs(a[i + 2] - b[i + 2]));
        sum += d;
        if (d > 48) far++;
      }
      return { mean: sum / (a.length / 4), far: far / (a.length / 4) };
    });
    assert.equal(r.size, undefined, `canvas and picture differ in size: ${r.size}`);
    // Antialiasing of text and of turned edges differs a little between the two rasterisers.
    assert.ok(r.mean < 1.0, `mean difference ${r.mean}`);
    assert.ok(r.far < 0.003, `share of clearly different pixels ${r.far}`);
  } finally {
    await api({ cmd: 'sim', running: true });
    await exact.ctx.close();
  }
});

test('a click on the master switch changes its icon', async () => {
  await api({ cmd: 'reset', demo: false });
  await settled(page);
  const [child] = await childArea('Masterswitch');
  const before = (await state('Masterswitch')).find((e) => e.kind === 'icon').index;
  const pixels = await gaugePixels(page, 'Masterswitch');
  await clickGauge(page, 'Masterswitch', child.box[0] + child.box[2] / 2, child.box[1] + child.box[3] / 2);
  await until('the icon to change', async () =>
    (await state('Masterswitch')).find((e) => e.kind === 'icon').index !== before);
  await until('the canvas to change', async () => (await gaugePixels(page, 'Masterswitch')) !== pixels);
});

test('a tap on a touch screen works the switch like a click', async () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'panel-chromium-'));
  const ctx = await chromium.launchPersistentContext(dir, {
    executablePath: '/usr/bin/chromium', headless: true, args: chromiumArgs, viewport: { width: 1200, height: 800 },
    hasTouch: true, isMobile: false,
  });
  try {
    const p = ctx.pages()[0] || await ctx.newPage();
    await p.goto(base);
    await p.waitForFunction(() => window.skelvanPanel && window.skelvanPanel.settled(), null, { timeout: 20000 });
    const index = async () => (await state('Masterswitch')).find((e) => e.kind === 'icon').index;
    const before = await index();
    const point = await p.evaluate(() => window.skelvanPanel.clientPoint('Masterswitch', 50, 50));
    await p.touchscreen.tap(point[0], point[1]);
    await until('the switch to move', async () => (await index()) !== before);
  } finally {
    await ctx.close();
  }
});

test('a page that reconnects shows what changed meanwhile', async () => {
  await settled(page);
  const index = async () => (await state('Masterswitch')).find((e) => e.kind === 'icon').index;
  const shownIcon = () => page.evaluate(() =>
    window.skelvanPanel.state.lists.get('Masterswitch').commands.map((c) => c.bitmap).join());
  const before = await shownIcon();
  // The stream drops; meanwhile the switch moves; the new stream brings the whole picture.
  await page.evaluate(() => window.skelvanPanel.disconnect());
  const old = await index();
  await api({ cmd: 'click', instance: 'Masterswitch', x: 50, y: 50 });
  await until('the switch to move', async () => (await index()) !== old);
  await new Promise((r) => setTimeout(r, 300));
  assert.equal(await shownIcon(), before);
  await page.evaluate(() => window.skelvanPanel.reconnect());
  await until('the page to show it', async () => (await shownIcon()) !== before);
  await until('the connection', async () => (await page.locator('#connection').textContent()) === 'connected');
});

test('magnetos on and the starter held start the engine, and the Flydat boxes show values', async () => {
  await api({ cmd: 'reset', demo: false });
  await settled(page);
  const [master] = await childArea('Masterswitch');
  await clickGauge(page, 'Masterswitch', master.box[0] + 10, master.box[1] + 10);
  for (const m of await childArea('Magnetos')) await clickGauge(page, 'Magnetos', m.box[0] + m.box[2] / 2, m.box[1] + m.box[3] / 2);
  const texts = async () => (await state('Flydat')).filter((e) => e.kind === 'string').map((e) => e.text.trim());
  const blank = await texts();
  const [starter] = await childArea('Startbutton');
  const point = await page.evaluate(([x, y]) => window.skelvanPanel.clientPoint('Startbutton', x, y),
    [starter.box[0] + starter.box[2] / 2, starter.box[1] + starter.box[3] / 2]);
  await page.mouse.move(point[0], point[1]);
  await page.mouse.down();
  try {
    await until('the engine to run', async () => (await api({ cmd: 'get', token: 'engine_speed' })).value > 600, 15000);
  } finally {
    await page.mouse.up();
  }
  const shown = await until('Flydat values', async () => {
    const t = await texts();
    return t.filter((x) => /[0-9]/.test(x)).length >= 4 ? t : null;
  });
  assert.notDeepEqual(shown, blank);
  const speed = (await api({ cmd: 'get', token: 'engine_speed' })).value;
  assert.ok(speed > 600, `engine speed ${speed} after the starter is released`);
});

test('the flight computer icon opens and closes the flight computer window', async () => {
  const popup = page.locator('.popup[data-window="10101"]');
  await assert.equal(await popup.isVisible(), false);
  await clickGauge(page, 'ICON_Q4D', 6, 6);
  await popup.waitFor({ state: 'visible' });
  const windows = (await api({ cmd: 'windows' })).windows;
  assert.equal(windows.find((w) => w.id === 10101).shown, true);
  await settled(page);
  const drawn = await page.evaluate(() => window.skelvanPanel.state.lists.get('Q4D').commands.length);
  assert.ok(drawn > 0);
  await clickGauge(page, 'ICON_Q4D', 6, 6);
  await popup.waitFor({ state: 'hidden' });
});

test('the altimeter tooltip shows the live setting', async () => {
  await api({ cmd: 'sim', running: false });
  try {
    await api({ cmd: 'set', token: 'kollsman_setting', value: 1013.25 });
    const point = await page.evaluate(() => window.skelvanPanel.clientPoint('Altimeter_ft', 150, 60));
    await page.mouse.move(point[0], point[1]);
    const tip = page.locator('#tooltip');
    await tip.waitFor({ state: 'visible' });
    assert.equal(await tip.textContent(), 'Altimeter setting: 1013 Mbar');
    await api({ cmd: 'set', token: 'kollsman_setting', value: 1020.4 });
    await until('the tooltip to follow the setting', async () => (await tip.textContent()) === 'Altimeter setting: 1020 Mbar');
  } finally {
    await page.mouse.move(1, 1);
    await api({ cmd: 'set', token: 'kollsman_setting', value: 1013.25 });
    await api({ cmd: 'sim', running: true });
  }
});

test('failure 20 from the failures menu hides the Flydat texts', async () => {
  const texts = () => page.evaluate(() =>
    window.skelvanPanel.state.lists.get('Flydat').commands.filter((c) => c.kind === 'text').length);
  assert.ok((await texts()) > 0);
  const box = page.locator('#failures input[data-key="20"]');
  await box.check();
  try {
    await until('the texts to go', async () => (await texts()) === 0);
    assert.deepEqual((await api({ cmd: 'failures' })).active, [20]);
  } finally {
    await box.uncheck();
  }
  await until('the texts to come back', async () => (await texts()) > 0);
});

test('a bad request is refused and the panel goes on', async () => {
  const before = (await api({ cmd: 'status' })).updates;
  const post = (body, type = 'application/json') =>
    fetch(new URL('/api', base), { method: 'POST', headers: { 'Content-Type': type }, body });
  const cases = [
    [await post('{"cmd":'), 400],
    [await post('[1,2,3]'), 400],
    [await post('{"cmd":"set","token":"no_such","value":1}'), 400],
    [await post('{"cmd":"status"}', 'text/plain'), 415],
    [await post('x'.repeat(200 * 1024)), 413],
    [await fetch(new URL('/api', base)), 405],
    [await fetch(new URL('/../../etc/passwd', base)), 404],
    [await fetch(new URL('/bitmap/Skelvan/99999999/keyed.png', base)), 404],
    [await fetch(new URL('/render.png?scale=nan', base)), 400],
    [await fetch(new URL('/api', base), { method: 'POST', headers: { 'Content-Type': 'application/json', Origin: 'http://evil.example' }, body: '{"cmd":"status"}' }), 403],
  ];
  for (const [response, status] of cases) assert.equal(response.status, status, response.url);
  await until('updates to go on', async () => (await api({ cmd: 'status' })).updates > before + 9);
  await settled(page);
  assert.equal(await page.locator('#connection').textContent(), 'connected');
});
