// The live panel: draws the host's display lists on canvases, sends the pilot's mouse and keys to
// the control API, and shows the host's status. The host decides all geometry; this file only
// rasterises its commands, the same way the host's Cairo backend does.
'use strict';

const params = new URLSearchParams(location.search);
const token = params.get('token') || '';
// ?scale=N draws N CSS pixels per panel pixel (tests compare the canvas with the host's picture).
const fixedScale = params.has('scale') ? Number(params.get('scale')) : null;

const BACKGROUND = '#2e3134';          // the panel's dark grey, as the Cairo backend fills it
const FONT_ADVANCE = 1229 / 2048;       // every glyph of Liberation Mono ("Courier New") in em
const FAILURES = [
  [2, 'engine'], [3, 'pitot-static system'], [4, 'vacuum system'], [6, 'airspeed indicator'],
  [7, 'altimeter'], [8, 'attitude indicator'], [9, 'COM radio'], [10, 'fuel indicators'],
  [12, 'magnetic compass'], [18, 'turn coordinator'], [19, 'vertical speed indicator'],
  [20, 'electrical system (panel)'], [21, 'avionics electrical system'],
];
const arrow = (d) => `url("data:image/svg+xml,${encodeURIComponent(
  `<svg xmlns='http://www.w3.org/2000/svg' width='24' height='24'><path d='${d}' fill='white' stroke='black' stroke-width='1.5'/></svg>`)}") 12 12`;
const CURSORS = {
  1: `${arrow('M12 2 L21 13 L15 13 L15 22 L9 22 L9 13 L3 13 Z')}, n-resize`,
  2: `${arrow('M12 22 L21 11 L15 11 L15 2 L9 2 L9 11 L3 11 Z')}, s-resize`,
  5: 'pointer',
};

const withToken = (url) => token ? `${url}${url.includes('?') ? '&' : '?'}token=${encodeURIComponent(token)}` : url;

async function api(command) {
  const response = await fetch(withToken('/api'), {
    method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(command),
  });
  return response.json();
}
// Mouse commands keep their order: a release must never overtake its press.
let mouseChain = Promise.resolve();
function sendInOrder(command) {
  const sent = mouseChain.then(() => api(command));
  mouseChain = sent.catch(() => {});
  return sent;
}

const state = {
  meta: null,
  instances: new Map(),   // id -> instance (meta)
  lists: new Map(),       // id -> display list
  views: new Map(),       // window id -> view
  catalogs: new Map(),    // module -> Map(bitmap id -> {window, overlay, ...}) | 'loading'
  images: new Map(),      // url -> {image, ready}
  status: null,
  sizeMode: 'fit',
};
const stats = { frames: 0, scriptMs: [], lastDraw: 0, messages: 0 };

// --- Bitmaps -----------------------------------------------------------------------------------

function loadCatalog(module) {
  if (state.catalogs.has(module)) return;
  state.catalogs.set(module, 'loading');
  fetch(withToken(`/bitmaps/${module}.json`)).then((r) => r.json()).then((list) => {
    const byId = new Map();
    for (const b of list) byId.set(b.id, b);
    state.catalogs.set(module, byId);
    redrawAll();
  }).catch(() => state.catalogs.delete(module));
}

function greyToAlpha(image) {
  const c = document.createElement('canvas');
  c.width = image.naturalWidth;
  c.height = image.naturalHeight;
  const ctx = c.getContext('2d');
  ctx.drawImage(image, 0, 0);
  const pixels = ctx.getImageData(0, 0, c.width, c.height);
  const d = pixels.data;
  for (let i = 0; i < d.length; i += 4) {
    d[i + 3] = d[i];
    d[i] = d[i + 1] = d[i + 2] = 255;
  }
  ctx.putImageData(pixels, 0, 0);
  return c;
}

// The picture, or null while it loads (the window is redrawn when it arrives).
function picture(module, id, variant) {
  const url = withToken(`/bitmap/${module}/${id}/${variant}.png`);
  let entry = state.images.get(url);
  if (!entry) {
    const image = new Image();
    entry = { image, ready: false };
    image.onload = () => {
      // A window comes as a grey picture (white where the sprite shows): make the grey its alpha.
      if (variant === 'window') entry.image = greyToAlpha(image);
      entry.ready = true;
      redrawAll();
    };
    image.src = url;
    state.images.set(url, entry);
  }
  return entry.ready ? entry.image : null;
}

// --- Windows and their scale ------------------------------------------------------------------

const area = document.getElementById('panel-area');

function windowInstances(windowId) {
  return state.meta ? state.meta.instances.filter((i) => i.window === windowId) : [];
}

// CSS pixels per panel pixel.
function cssScale(view) {
  if (fixedScale > 0) return fixedScale;
  if (state.sizeMode === 'true') {
    // A gauge is its default size in millimetres wide; CSS counts 96 pixels to the inch.
    const ratios = windowInstances(view.id).filter((i) => i.size_mm > 0 && i.size[0] > 0)
      .map((i) => (i.size_mm * 96 / 25.4) / i.size[0]).sort((a, b) => a - b);
    return ratios.length ? ratios[Math.floor(ratios.length / 2)] : 1;
  }
  const main = state.views.get(state.meta.windows[0].id);
  const fit = Math.min(area.clientWidth / main.width, area.clientHeight / main.height);
  if (view === main) return Math.max(fit, 0.05);
  // A pop-up takes the main panel's scale, but always fits the browser window.
  return Math.max(Math.min(fit, (innerHeight - 60) / view.height, (innerWidth - 20) / view.width), 0.05);
}

function layout() {
  if (!state.meta) return;
  area.classList.toggle('fit', state.sizeMode === 'fit' && !(fixedScale > 0));
  const dpr = fixedScale > 0 ? 1 : (window.devicePixelRatio || 1);
  for (const view of state.views.values()) {
    view.scale = cssScale(view);
    const w = Math.max(1, Math.round(view.width * view.scale * dpr));
    const h = Math.max(1, Math.round(view.height * view.scale * dpr));
    if (view.canvas.width !== w || view.canvas.height !== h) {
      view.canvas.width = w;
      view.canvas.height = h;
    }
    view.canvas.style.width = `${view.width * view.scale}px`;
    view.canvas.style.height = `${view.height * view.scale}px`;
    view.k = w / view.width;  // device pixels per panel pixel
    view.full = true;
  }
  schedule();
}

function makeView(win, main) {
  const canvas = document.createElement('canvas');
  canvas.className = 'window';
  canvas.dataset.window = win.id;
  canvas.setAttribute('aria-label', win.title);
  const view = { id: win.id, width: win.width, height: win.height, canvas, ctx: canvas.getContext('2d'),
    scale: 1, k: 1, dirty: [], full: true, element: canvas, shown: win.shown };
  if (main) {
    area.appendChild(canvas);
  } else {
    const box = document.createElement('div');
    box.className = 'popup';
    box.dataset.window = win.id;
    const title = document.createElement('div');
    title.className = 'title';
    const name = document.createElement('span');
    name.textContent = win.title;
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = '×';
    close.title = 'Close';
    close.addEventListener('click', () => api({ cmd: 'window', id: win.id, shown: false }));
    title.append(name, close);
    box.append(title, canvas);
    area.appendChild(box);
    dragByTitle(box, title);
    view.element = box;
    view.placed = false;
  }
  attachInput(view);
  return view;
}

function dragByTitle(box, title) {
  title.addEventListener('pointerdown', (e) => {
    if (e.target.tagName === 'BUTTON') return;
    title.setPointerCapture(e.pointerId);
    const start = { x: e.clientX, y: e.clientY, left: box.offsetLeft, top: box.offsetTop };
    const move = (m) => {
      box.style.left = `${start.left + m.clientX - start.x}px`;
      box.style.top = `${Math.max(0, start.top + m.clientY - start.y)}px`;
    };
    const up = () => {
      title.removeEventListener('pointermove', move);
      title.removeEventListener('pointerup', up);
      title.removeEventListener('pointercancel', up);
    };
    title.addEventListener('pointermove', move);
    title.addEventListener('pointerup', up);
    title.addEventListener('pointercancel', up);
  });
}

function applyMeta(meta) {
  const rebuild = !state.meta || JSON.stringify(meta.windows.map((w) => [w.id, w.width, w.height])) !==
    JSON.stringify(state.meta.windows.map((w) => [w.id, w.width, w.height]));
  state.meta = meta;
  state.instances = new Map(meta.instances.map((i) => [i.id, i]));
  for (const i of meta.instances) loadCatalog(i.module);
  if (rebuild) {
    for (const view of state.views.values()) view.element.remove();
    state.views.clear();
    meta.windows.forEach((w, n) => state.views.set(w.id, makeView(w, n === 0)));
  }
  meta.windows.forEach((w, n) => {
    const view = state.views.get(w.id);
    view.shown = w.shown;
    if (n > 0) {
      view.element.hidden = !w.shown;
      if (w.shown && !view.placed) {
        view.placed = true;
        requestAnimationFrame(() => {
          view.element.style.left = `${Math.max(0, (area.clientWidth - view.element.offsetWidth) / 2 + area.scrollLeft)}px`;
          view.element.style.top = `${Math.max(0, (area.clientHeight - view.element.offsetHeight) / 2 + area.scrollTop)}px`;
        });
      }
    }
  });
  layout();
}

// --- Drawing -----------------------------------------------------------------------------------

const rectOf = (r) => ({ x: r[0], y: r[1], width: r[2], height: r[3] });
const empty = (r) => !(r.width > 0 && r.height > 0);
function intersect(a, b) {
  const x = Math.max(a.x, b.x), y = Math.max(a.y, b.y);
  const r = Math.min(a.x + a.width, b.x + b.width), bt = Math.min(a.y + a.height, b.y + b.height);
  return r > x && bt > y ? { x, y, width: r - x, height: bt - y } : { x: 0, y: 0, width: 0, height: 0 };
}
function union(a, b) {
  if (empty(a)) return b;
  if (empty(b)) return a;
  const x = Math.min(a.x, b.x), y = Math.min(a.y, b.y);
  return { x, y, width: Math.max(a.x + a.width, b.x + b.width) - x, height: Math.max(a.y + a.height, b.y + b.height) - y };
}

let scratch = null;  // sprites are cut by their companion's window here before they go on the panel
function scratchCanvas(w, h) {
  if (!scratch) scratch = document.createElement('canvas');
  if (scratch.width < w || scratch.height < h) {
    scratch.width = Math.max(scratch.width, w);
    scratch.height = Math.max(scratch.height, h);
  }
  return scratch;
}

const isWholeShift = (t) => t[0] === 1 && t[1] === 0 && t[2] === 0 && t[3] === 1 &&
  Number.isInteger(t[4]) && Number.isInteger(t[5]);

function setTransform(ctx, k, t, dx = 0, dy = 0) {
  ctx.setTransform(k * t[0], k * t[1], k * t[2], k * t[3], k * t[4] - dx, k * t[5] - dy);
}

// Draws one instance's list; false when a picture is still loading.
function drawList(ctx, k, module, list) {
  const clip = rectOf(list.clip);
  if (empty(clip)) return true;
  const catalog = state.catalogs.get(module);
  const wholeScale = Number.isInteger(k);
  let complete = true;
  ctx.save();
  ctx.setTransform(k, 0, 0, k, 0, 0);
  ctx.beginPath();
  ctx.rect(clip.x, clip.y, clip.width, clip.height);
  ctx.clip();
  for (const c of list.commands) {
    if (c.kind === 'text') {
      const visible = intersect(rectOf(c.box), clip);
      if (empty(visible)) continue;
      ctx.save();
      ctx.setTransform(k, 0, 0, k, 0, 0);
      ctx.beginPath();
      ctx.rect(visible.x, visible.y, visible.width, visible.height);
      ctx.fillStyle = c.back;
      ctx.fill();
      ctx.clip();
      if (c.text && c.size > 0) {
        ctx.font = `${c.weight >= 600 ? 'bold ' : ''}${c.size}px "${c.font || 'monospace'}", "Liberation Mono", monospace`;
        ctx.fillStyle = c.fore;
        ctx.textBaseline = 'alphabetic';
        // Each glyph at its place by the font's own advance, as the host lays the text out.
        let x = c.origin[0];
        for (const ch of c.text) {
          ctx.fillText(ch, x, c.origin[1]);
          x += FONT_ADVANCE * c.size;
        }
      }
      ctx.restore();
      continue;
    }
    const image = picture(module, c.bitmap, c.color_key ? 'keyed' : 'opaque');
    if (!image) { complete = false; continue; }
    if (c.companion === undefined) {
      ctx.imageSmoothingEnabled = c.smooth || !wholeScale;
      ctx.imageSmoothingQuality = 'low';
      setTransform(ctx, k, c.transform);
      ctx.drawImage(image, 0, 0);
      continue;
    }
    if (!(catalog instanceof Map)) { complete = false; continue; }
    const info = catalog.get(c.companion) || {};
    const companionSmooth = !(isWholeShift(c.companion_transform) && wholeScale);
    if (info.window) {
      // The sprite or strip shows only through the companion's (1,1,1) window.
      const mask = picture(module, c.companion, 'window');
      if (!mask) { complete = false; continue; }
      const bx = Math.floor(clip.x * k), by = Math.floor(clip.y * k);
      const bw = Math.ceil((clip.x + clip.width) * k) - bx, bh = Math.ceil((clip.y + clip.height) * k) - by;
      const s = scratchCanvas(bw, bh);
      const sc = s.getContext('2d');
      sc.setTransform(1, 0, 0, 1, 0, 0);
      sc.globalCompositeOperation = 'copy';
      sc.clearRect(0, 0, bw, bh);
      sc.globalCompositeOperation = 'source-over';
      sc.imageSmoothingEnabled = c.smooth || !wholeScale;
      sc.imageSmoothingQuality = 'low';
      setTransform(sc, k, c.transform, bx, by);
      sc.drawImage(image, 0, 0);
      sc.globalCompositeOperation = 'destination-in';
      sc.imageSmoothingEnabled = companionSmooth;
      setTransform(sc, k, c.companion_transform, bx, by);
      sc.drawImage(mask, 0, 0);
      sc.globalCompositeOperation = 'source-over';
      ctx.save();
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      ctx.drawImage(s, 0, 0, bw, bh, bx, by, bw, bh);
      ctx.restore();
    }
    const over = picture(module, c.companion, info.overlay ? 'overlay' : 'keyed');
    if (!over) { complete = false; continue; }
    ctx.imageSmoothingEnabled = companionSmooth;
    setTransform(ctx, k, c.companion_transform);
    ctx.drawImage(over, 0, 0);
  }
  ctx.restore();
  return complete;
}

function drawView(view) {
  if (!view.full && view.dirty.length === 0) return;
  const ctx = view.ctx, k = view.k;
  let regions = view.full ? [{ x: 0, y: 0, width: view.width, height: view.height }] : view.dirty;
  if (regions.length > 8) regions = [regions.reduce(union)];
  view.full = false;
  view.dirty = [];
  let complete = true;
  for (const region of regions) {
    // Whole device pixels, so that neighbours are not smeared by a half-covered edge.
    const x0 = Math.floor(region.x * k), y0 = Math.floor(region.y * k);
    const x1 = Math.ceil((region.x + region.width) * k), y1 = Math.ceil((region.y + region.height) * k);
    const r = { x: x0 / k, y: y0 / k, width: (x1 - x0) / k, height: (y1 - y0) / k };
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.beginPath();
    ctx.rect(x0, y0, x1 - x0, y1 - y0);
    ctx.clip();
    ctx.fillStyle = BACKGROUND;
    ctx.fillRect(x0, y0, x1 - x0, y1 - y0);
    for (const inst of windowInstances(view.id)) {
      const list = state.lists.get(inst.id);
      if (!list || empty(intersect(rectOf(list.clip), r))) continue;
      if (!drawList(ctx, k, inst.module, list)) complete = false;
    }
    ctx.restore();
  }
  if (!complete) view.pending = true;
}

let scheduled = false;
function schedule() {
  if (scheduled) return;
  scheduled = true;
  requestAnimationFrame(() => {
    scheduled = false;
    const t0 = performance.now();
    let drew = false;
    for (const view of state.views.values()) {
      if (view.full || view.dirty.length) drew = true;
      view.pending = false;
      drawView(view);
    }
    if (drew) {
      const ms = performance.now() - t0;
      stats.frames += 1;
      stats.lastDraw = performance.now();
      stats.scriptMs.push(ms);
      if (stats.scriptMs.length > 600) stats.scriptMs.shift();
    }
  });
}

function redrawAll() {
  for (const view of state.views.values()) view.full = true;
  schedule();
}

function applyLists(lists) {
  for (const list of lists) {
    const old = state.lists.get(list.id);
    state.lists.set(list.id, list);
    const view = state.views.get(list.window);
    if (!view) continue;
    const changed = union(old ? rectOf(old.clip) : { x: 0, y: 0, width: 0, height: 0 }, rectOf(list.clip));
    if (!empty(changed)) view.dirty.push(changed);
  }
  schedule();
}

// --- Mouse, touch and tooltips -----------------------------------------------------------------

const tooltip = document.getElementById('tooltip');

// The instance under a point of a window (panel pixels) and the point in its gauge pixels.
function gaugeAt(view, px, py) {
  const list = windowInstances(view.id).filter((i) => i.installed);
  for (let n = list.length - 1; n >= 0; --n) {
    const i = list[n];
    const [x, y, w, h] = i.placement;
    if (px >= x && px < x + w && py >= y && py < y + h)
      return { id: i.id, x: Math.floor((px - x) * i.size[0] / w), y: Math.floor((py - y) * i.size[1] / h) };
  }
  return null;
}

function attachInput(view) {
  const canvas = view.canvas;
  const panelPoint = (e) => {
    const r = canvas.getBoundingClientRect();
    return [(e.clientX - r.left) / view.scale, (e.clientY - r.top) / view.scale];
  };
  let holding = false;
  canvas.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    hideTooltip();
    const hit = gaugeAt(view, ...panelPoint(e));
    if (!hit) return;
    e.preventDefault();
    canvas.setPointerCapture(e.pointerId);
    holding = true;
    sendInOrder({ cmd: 'press', instance: hit.id, x: hit.x, y: hit.y });
  });
  const release = () => {
    if (!holding) return;
    holding = false;
    sendInOrder({ cmd: 'release' });
  };
  canvas.addEventListener('pointerup', release);
  canvas.addEventListener('pointercancel', release);
  canvas.addEventListener('lostpointercapture', release);
  canvas.addEventListener('pointermove', (e) => {
    if (e.pointerType !== 'mouse') return;
    hover.view = view;
    hover.point = panelPoint(e);
    hover.client = [e.clientX, e.clientY];
    hover.movedAt = performance.now();
    hideTooltip();
    askHover();
  });
  canvas.addEventListener('pointerleave', () => {
    hover.view = null;
    hideTooltip();
    canvas.style.cursor = '';
  });
}

// One hover request at a time; the latest point wins.
const hover = { view: null, point: null, client: null, movedAt: 0, busy: false, again: false, shown: false };
async function askHover(forTooltip = false) {
  if (hover.busy) { hover.again = true; return; }
  const view = hover.view;
  if (!view) return;
  const hit = gaugeAt(view, ...hover.point);
  if (!hit) {
    view.canvas.style.cursor = '';
    return;
  }
  hover.busy = true;
  try {
    const a = await api({ cmd: 'hover', instance: hit.id, x: hit.x, y: hit.y });
    if (hover.view === view && a.ok) {
      view.canvas.style.cursor = CURSORS[a.cursor] || '';
      if (forTooltip && a.tooltip) showTooltip(a.tooltip);
      else if (forTooltip) hideTooltip();
    }
  } catch (_) { /* the status line tells about the connection */ }
  hover.busy = false;
  if (hover.again) { hover.again = false; askHover(); }
}

function showTooltip(text) {
  tooltip.textContent = text;
  tooltip.style.left = `${hover.client[0] + 12}px`;
  tooltip.style.top = `${hover.client[1] + 18}px`;
  tooltip.hidden = false;
  hover.shown = true;
}
function hideTooltip() {
  tooltip.hidden = true;
  hover.shown = false;
}
// After a short rest the tooltip shows; while it shows it follows the live value.
setInterval(() => {
  if (!hover.view || hover.busy) return;
  const rest = performance.now() - hover.movedAt;
  if ((!hover.shown && rest >= 500) || (hover.shown && rest >= 500)) askHover(true);
}, 250);

// --- Keys ----------------------------------------------------------------------------------------

const pilot = { pitch: 0, roll: 0, yaw: 0 };
const clamp = (v, lo, hi) => Math.min(hi, Math.max(lo, v));
const round = (v) => Math.round(v * 1000) / 1000;
function control(name, value) { return api({ cmd: 'control', name, value }); }
function flapNotch(token) { return token <= 4000 ? 0 : token <= 12000 ? 1 : 2; }

document.addEventListener('keydown', (e) => {
  if (e.target.closest && e.target.closest('select, input, textarea')) return;
  if (e.ctrlKey || e.altKey || e.metaKey) return;
  const s = state.status || {};
  const step = 0.1;
  const key = e.key.length === 1 ? e.key.toLowerCase() : e.key;
  switch (key) {
    case 'PageUp': control('throttle', round(clamp((s.throttle || 0) + 0.05, 0, 1))); break;
    case 'PageDown': control('throttle', round(clamp((s.throttle || 0) - 0.05, 0, 1))); break;
    case 'Home': control('throttle', 1); break;
    case 'End': control('throttle', 0); break;
    case 'ArrowUp': pilot.pitch = round(clamp(pilot.pitch - step, -1, 1)); control('pitch', pilot.pitch); break;
    case 'ArrowDown': pilot.pitch = round(clamp(pilot.pitch + step, -1, 1)); control('pitch', pilot.pitch); break;
    case 'ArrowLeft': pilot.roll = round(clamp(pilot.roll - step, -1, 1)); control('roll', pilot.roll); break;
    case 'ArrowRight': pilot.roll = round(clamp(pilot.roll + step, -1, 1)); control('roll', pilot.roll); break;
    case 'z': pilot.yaw = round(clamp(pilot.yaw - step, -1, 1)); control('yaw', pilot.yaw); break;
    case 'x': pilot.yaw = round(clamp(pilot.yaw + step, -1, 1)); control('yaw', pilot.yaw); break;
    case 'c':
      pilot.pitch = pilot.roll = pilot.yaw = 0;
      control('pitch', 0); control('roll', 0); control('yaw', 0);
      break;
    case 'b': if (!e.repeat) control('brakes', 1); break;
    case 'f': control('flaps', clamp(flapNotch(s.flaps || 0) + (e.shiftKey ? -1 : 1), 0, 2)); break;
    case 't': control('trim', round(clamp((s.trim || 0) + (e.shiftKey ? -1 : 1) / 16, -1, 1))); break;
    case 'p': togglePause(); break;
    default: return;
  }
  e.preventDefault();
});
document.addEventListener('keyup', (e) => {
  if ((e.key.length === 1 ? e.key.toLowerCase() : e.key) === 'b') control('brakes', 0);
});

// --- The side panel and the status line ----------------------------------------------------------

const pauseButton = document.getElementById('pause');
const unitsSelect = document.getElementById('units');
const sizeSelect = document.getElementById('size');
function togglePause() {
  if (state.status) api({ cmd: 'sim', running: !state.status.running });
}
pauseButton.addEventListener('click', togglePause);
document.getElementById('restart').addEventListener('click', () => {
  pilot.pitch = pilot.roll = pilot.yaw = 0;
  api({ cmd: 'reset', demo: true });
});
unitsSelect.addEventListener('change', () => control('units', Number(unitsSelect.value)));
sizeSelect.addEventListener('change', () => { state.sizeMode = sizeSelect.value; layout(); });

const failureBox = document.getElementById('failures');
const failureInputs = new Map();
for (const [key, name] of FAILURES) {
  const label = document.createElement('label');
  const input = document.createElement('input');
  input.type = 'checkbox';
  input.dataset.key = key;
  input.addEventListener('change', () => api({ cmd: 'failure', key, active: input.checked }));
  label.append(input, ` ${key} ${name}`);
  failureBox.appendChild(label);
  failureInputs.set(key, input);
}

const connection = document.getElementById('connection');
const statusText = document.getElementById('status-text');
function applyStatus(s) {
  state.status = s;
  pauseButton.textContent = s.running ? 'Pause' : 'Resume';
  if (document.activeElement !== unitsSelect) unitsSelect.value = s.units === 2 ? '2' : '0';
  const active = new Set(s.failures);
  for (const [key, input] of failureInputs) input.checked = active.has(key);
  const parts = [`${s.rate.toFixed(0)} updates/s`, s.running ? 'running' : 'paused',
    s.demo ? `demo: ${s.phase}` : 'manual', `sim ${Math.floor(s.sim_time)} s`];
  if (s.failures.length) parts.push(`failures: ${s.failures.join(', ')}`);
  statusText.textContent = parts.join(' · ');
}

// --- The update stream --------------------------------------------------------------------------

let events = null;
function connect() {
  if (events) events.close();
  events = new EventSource(withToken('/events'));
  events.onopen = () => {
    connection.textContent = 'connected';
    connection.className = 'good';
  };
  events.onerror = () => {
    // EventSource reconnects by itself; the new stream starts with everything.
    connection.textContent = 'reconnecting…';
    connection.className = 'bad';
  };
  events.onmessage = (m) => {
    stats.messages += 1;
    const frame = JSON.parse(m.data);
    if (frame.meta) applyMeta(frame.meta);
    if (frame.lists) applyLists(frame.lists);
    if (frame.status) applyStatus(frame.status);
  };
}

addEventListener('resize', layout);
connect();

// For scripts that drive the page (tests, measurements).
window.skelvanPanel = {
  stats,
  state,
  // Client coordinates of a point of an instance, in its gauge pixels.
  clientPoint(instanceId, gx, gy) {
    const i = state.instances.get(instanceId);
    const view = i && state.views.get(i.window);
    if (!view) return null;
    const r = view.canvas.getBoundingClientRect();
    const [x, y, w, h] = i.placement;
    return [r.left + (x + (gx + 0.5) * w / i.size[0]) * view.scale, r.top + (y + (gy + 0.5) * h / i.size[1]) * view.scale];
  },
  // Drop the update stream and open a new one, as around a lost connection.
  disconnect() {
    if (events) events.close();
    connection.textContent = 'disconnected';
    connection.className = 'bad';
  },
  reconnect: connect,
  // True when every window is drawn with every picture loaded.
  settled() {
    if (!state.meta || scheduled) return false;
    for (const v of state.views.values()) if (v.full || v.dirty.length || v.pending) return false;
    for (const e of state.images.values()) if (!e.ready) return false;
    return true;
  },
};
