// Ctrl-C and SIGTERM stop `panelhost serve` cleanly: the gauges are killed in order, so the engine
// monitor writes its hours file, and the process exits with status 0.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const panelhost = process.env.PANELHOST;

for (const signal of ['SIGINT', 'SIGTERM']) {
  test(`${signal} saves the engine hours and exits 0`, { skip: !panelhost && 'PANELHOST is not set' }, async () => {
    const root = fs.mkdtempSync(path.join(os.tmpdir(), 'panel-stop-'));
    fs.mkdirSync(path.join(root, 'aircraft'));
    const hours = path.join(root, 'aircraft', 'skelvan.uur');
    fs.writeFileSync(hours, '0123 ');
    const child = spawn(panelhost, ['--root', root, 'serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
    try {
      let out = '';
      const url = await new Promise((resolve, reject) => {
        child.stdout.on('data', (d) => {
          out += d;
          const m = out.match(/http:\/\/\S+/);
          if (m) resolve(m[0]);
        });
        child.on('exit', (code) => reject(new Error(`panelhost exited with ${code}: ${out}`)));
      });
      // The monitor read 12.3 hours at install; without the file only the kill can bring it back.
      fs.rmSync(hours);
      const status = await fetch(new URL('/api', url), {
        method: 'POST', headers: { 'Content-Type': 'application/json' }, body: '{"cmd":"status"}',
      }).then((r) => r.json());
      assert.equal(status.ok, true);
      const exited = new Promise((resolve) => child.on('exit', (code, sig) => resolve([code, sig])));
      child.kill(signal);
      assert.deepEqual(await exited, [0, null]);
      assert.equal(fs.readFileSync(hours, 'latin1'), '0123 ');
    } finally {
      if (child.exitCode === null && child.signalCode === null) child.kill('SIGKILL');
      fs.rmSync(root, { recursive: true, force: true });
    }
  });
}
