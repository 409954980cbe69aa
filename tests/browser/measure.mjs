// Measures the live panel (not a test; nothing here passes or fails):
//   node tests/browser/measure.mjs build/release/host/panelhost
// - click to picture: from a press on the master switch to the changed picture on the canvas;
// - script time per drawn frame while the demo flight runs, and frames drawn per second;
// - the host's CPU time with one browser watching, and with none.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const exe = process.argv[2] || 'build/release/host/panelhost';
const seconds = Number(process.argv[3] || 20);
const root = fs.mkdtempSync(path.join(os.tmpdir(), 'panel-measure-'));
const child = spawn(exe, ['--root', root, 'serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
const url = await new Promise((resolve) => {
  let out = '';
  child.stdout.on('data', (d) => { out += d; const m = out.match(/http:\/\/\S+/); if (m) resolve(m[0]); });
});
const ticks = 100;  // USER_HZ
const cpu = () => {
  const f = fs.readFileSync(`/proc/${child.pid}/stat`, 'utf8').split(') ')[1].split(' ');
  return (Number(f[11]) + Number(f[12])) / ticks;
};
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const stats = (xs) => {
  const s = [...xs].sort((a, b) => a - b);
  const at = (q) => s[Math.min(s.length - 1, Math.floor(q * s.length))];
  return { n: s.length, median: +at(0.5).toFixed(2), p95: +at(0.95).toFixed(2), max: +s[s.length - 1].toFixed(2) };
};

await sleep(2000);
let c0 = cpu();
await sleep(seconds * 1000);
const idle = (cpu() - c0) / seconds;

const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'panel-chromium-'));
const ctx = await chromium.launchPersistentContext(dir, {
  executablePath: '/usr/bin/chromium', headless: true, viewport: { width: 1600, height: 1000 },
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const page = ctx.pages()[0] || await ctx.newPage();
await page.goto(url);
await page.waitForFunction(() => window.skelvanPanel && window.skelvanPanel.settled(), null, { timeout: 20000 });
await page.evaluate(() => { window.skelvanPanel.stats.scriptMs.length = 0; window.skelvanPanel.stats.frames = 0; });
c0 = cpu();
const t0 = Date.now();
await sleep(seconds * 1000);
const watched = (cpu() - c0) / seconds;
const frames = await page.evaluate(() => ({ ms: window.skelvanPanel.stats.scriptMs, frames: window.skelvanPanel.stats.frames }));
const fps = frames.frames / ((Date.now() - t0) / 1000);

// Click to picture: the press goes out, the canvas region of the switch is watched every frame.
const latencies = [];
for (let i = 0; i < 12; ++i) {
  const point = await page.evaluate(() => window.skelvanPanel.clientPoint('Masterswitch', 50, 50));
  const watch = page.evaluate(() => new Promise((resolve) => {
    const s = window.skelvanPanel.state;
    const i = s.instances.get('Masterswitch');
    const v = s.views.get(i.window);
    const [x, y, w, h] = i.placement.map((n) => Math.round(n * v.k));
    const print = () => { const d = v.ctx.getImageData(x, y, w, h).data; let p = 0; for (let n = 0; n < d.length; n += 16) p = (p * 31 + d[n]) >>> 0; return p; };
    const first = print();
    const start = performance.now();
    window.__clickStart = start;
    const check = () => (print() !== first ? resolve(performance.now() - start) : requestAnimationFrame(check));
    requestAnimationFrame(check);
  }));
  await page.mouse.click(point[0], point[1]);
  latencies.push(await watch);
  await sleep(300);
}
console.log(JSON.stringify({
  host_cpu_share_no_browser: +idle.toFixed(4),
  host_cpu_share_one_browser: +watched.toFixed(4),
  frames_drawn_per_second: +fps.toFixed(1),
  script_ms_per_drawn_frame: stats(frames.ms),
  click_to_picture_ms: stats(latencies),
}, null, 1));
await ctx.close();
child.kill('SIGTERM');
await new Promise((r) => child.on('exit', r));
fs.rmSync(root, { recursive: true, force: true });
