// Draws the screen that the server sends and turns the user's clicks, drags and typing into
// events. Every text goes through textContent, never HTML, so nothing the pane shows can
// run as script.
'use strict';

const LONG_PRESS_MS = 1000;
const STANDARD_VIEWS = new Set(['UIView', 'UILabel', 'UIButton', 'UISwitch', 'UISlider',
  'UITextField', 'UITextView', 'UIImageView', 'UITableView']);

// `held` is the slider or self-drawn view under a pressed pointer: while it is held, new
// screens patch the page in place, because replacing the element would end the drag.
const state = { screen: null, revision: 0, announced: 0, busy: false, queue: [], held: null, deferred: null };
const $ = (id) => document.getElementById(id);

function element(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined && text !== null) node.textContent = String(text);
  return node;
}

// ---- Talking to the server -------------------------------------------------------------

async function fetchScreen() {
  const answer = await fetch('/api/screen', { cache: 'no-store' });
  if (!answer.ok) return showError(await errorText(answer));
  render(await answer.json());
}

async function errorText(answer) {
  try { return (await answer.json()).error || answer.statusText; } catch { return answer.statusText; }
}

// Events go one at a time, in order. A newer slider value replaces one still waiting, so a
// fast drag does not pile up requests.
function send(event) {
  const last = state.queue[state.queue.length - 1];
  if (last && event.type === 'control' && event.event === 'valueChanged' &&
      last.type === 'control' && last.event === 'valueChanged' && last.id === event.id) {
    state.queue[state.queue.length - 1] = event;
  } else {
    state.queue.push(event);
  }
  if (!state.busy) drain();
}

async function drain() {
  state.busy = true;
  while (state.queue.length) {
    const event = state.queue.shift();
    try {
      const answer = await fetch('/api/event', {
        method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(event),
      });
      if (!answer.ok) {
        // The page may have run ahead (a closed alert, a moved thumb): show the server's state.
        showError(await errorText(answer));
        await fetchScreen();
        continue;
      }
      const screen = await answer.json();
      render(screen);
      deliver(screen);
    } catch (error) {
      showError('The settings program does not answer: ' + error.message);
    }
  }
  state.busy = false;
  if (state.announced > state.revision) fetchScreen();
}

function deliver(answer) {
  if (answer.sharedFile) download(answer.sharedFile);
  for (const url of answer.openedURLs || []) openURL(url);
}

function download(file) {
  const bytes = Uint8Array.from(atob(file.data), (c) => c.charCodeAt(0));
  const link = element('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type: file.mimeType || 'application/octet-stream' }));
  link.download = file.name || 'download';
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// Only web addresses open: a pane could name any scheme, and javascript: would run here.
function openURL(url) {
  let parsed;
  try { parsed = new URL(url); } catch { return; }
  if (parsed.protocol === 'http:' || parsed.protocol === 'https:') window.open(parsed.href, '_blank', 'noopener');
}

function listen() {
  const stream = new EventSource('/api/stream');
  stream.addEventListener('revision', (message) => {
    $('connection').textContent = '';
    state.announced = Math.max(state.announced, Number(message.data) || 0);
    if (state.announced > state.revision && !state.busy) fetchScreen();
  });
  stream.onerror = () => { $('connection').textContent = 'Reconnecting\u2026'; };
}

let errorTimer = 0;
function showError(message) {
  const box = $('error');
  box.textContent = message;
  box.hidden = false;
  clearTimeout(errorTimer);
  errorTimer = setTimeout(() => { box.hidden = true; }, 4000);
}

// ---- Drawing ---------------------------------------------------------------------------

function render(screen) {
  if (!screen || typeof screen !== 'object') return;
  // An answer that overtook a newer one is stale.
  if ((Number(screen.revision) || 0) < state.revision) return;
  if (state.held) return patch(screen);
  const focus = rememberFocus();
  state.screen = screen;
  state.revision = Math.max(state.revision, Number(screen.revision) || 0);
  document.body.dataset.appearance = screen.appearance === 'dark' ? 'dark' : 'light';
  $('dark-toggle').checked = screen.appearance === 'dark';
  renderFrame(screen.screen || {});
  renderNavigation(screen.navigation || {});
  const content = $('content');
  content.replaceChildren();
  if (screen.page) content.append(renderView(screen.page));
  renderAlert(screen.alert);
  restoreFocus(focus);
}

// While a control is held, carry the new screen's texts, colours, values and pictures over
// to the elements on the page that have the same key, and draw it whole on release.
function patch(screen) {
  state.deferred = screen;
  state.revision = Math.max(state.revision, Number(screen.revision) || 0);
  const fresh = element('div');
  if (screen.page) fresh.append(renderView(screen.page));
  for (const next of fresh.querySelectorAll('[data-key]')) {
    const shown = document.querySelector(`#content [data-key="${CSS.escape(next.dataset.key)}"]`);
    if (!shown || shown === state.held || shown.tagName !== next.tagName) continue;
    shown.style.cssText = next.style.cssText;
    if (next.tagName === 'IMG' && shown.src !== next.src) shown.src = next.src;
    if (next.tagName === 'INPUT') { shown.checked = next.checked; shown.value = next.value; }
    if (!next.children.length && shown.textContent !== next.textContent) shown.textContent = next.textContent;
  }
}

function hold(view) { state.held = view; }

function release() {
  if (!state.held) return;
  state.held = null;
  const screen = state.deferred;
  state.deferred = null;
  if (screen) render(screen);
}

function renderFrame(size) {
  const phone = $('phone');
  phone.style.width = (Number(size.width) || 390) + 'px';
  phone.style.height = (Number(size.height) || 844) + 'px';
}

function renderNavigation(navigation) {
  $('title').textContent = navigation.title || '';
  const back = $('back');
  back.hidden = navigation.back === null || navigation.back === undefined;
  $('back-title').textContent = navigation.back || 'Back';
}

// A text field being typed into keeps its text and caret across a redraw.
function rememberFocus() {
  const active = document.activeElement;
  if (!active || !active.dataset || !active.dataset.viewId) return null;
  return { id: active.dataset.viewId, value: active.value, start: active.selectionStart, end: active.selectionEnd };
}

function restoreFocus(focus) {
  if (!focus) return;
  const again = document.querySelector(`[data-view-id="${CSS.escape(focus.id)}"]`);
  if (!again) return;
  if (typeof focus.value === 'string') again.value = focus.value;
  again.focus();
  try { again.setSelectionRange(focus.start, focus.end); } catch { /* not a text input */ }
}

function color(value) {
  return typeof value === 'string' && /^#[0-9A-Fa-f]{8}$|^#[0-9A-Fa-f]{6}$/.test(value) ? value : '';
}

function safeImage(source) {
  return typeof source === 'string' && (/^data:image\/(png|jpeg|gif|svg\+xml);base64,/.test(source) || source.startsWith('/'));
}

function renderView(node) {
  let view;
  switch (node.type) {
    case 'UITableView': view = renderTable(node); break;
    case 'UILabel': view = renderLabel(node); break;
    case 'UIButton': view = renderButton(node); break;
    case 'UISwitch': view = renderSwitch(node); break;
    case 'UISlider': view = renderSlider(node); break;
    case 'UITextField': view = renderTextField(node); break;
    case 'UITextView': view = renderTextView(node); break;
    case 'UIImageView': view = renderImage(node, 'imageview'); break;
    default: view = STANDARD_VIEWS.has(node.type) || !safeImage(node.image) ? element('div') : renderSelfDrawn(node);
  }
  view.classList.add('view');
  view.dataset.type = node.type || 'UIView';
  if (node.id !== undefined) {
    view.dataset.id = node.id;
    view.dataset.key = `${node.type}:${node.id}`;
  }
  applyFrame(view, node.frame);
  applyLook(view, node);
  if (node.type !== 'UITableView') appendSubviews(view, node.subviews);
  return view;
}

function appendSubviews(view, subviews) {
  for (const child of subviews || []) view.append(renderView(child));
}

function applyFrame(view, frame) {
  if (!Array.isArray(frame) || frame.length !== 4) return;
  const [x, y, w, h] = frame.map(Number);
  Object.assign(view.style, { left: x + 'px', top: y + 'px', width: w + 'px', height: h + 'px' });
}

function applyLook(view, node) {
  const style = view.style;
  if (color(node.backgroundColor)) style.backgroundColor = node.backgroundColor;
  if (color(node.textColor)) style.color = node.textColor;
  if (node.font) {
    style.fontSize = (Number(node.font.size) || 17) + 'px';
    style.fontWeight = node.font.bold ? '600' : '400';
  }
  if (node.alignment) style.justifyContent = { center: 'center', right: 'flex-end' }[node.alignment] || 'flex-start';
  if (node.alignment) style.textAlign = node.alignment;
  if (node.cornerRadius) style.borderRadius = node.cornerRadius + 'px';
  if (node.borderWidth) style.border = `${node.borderWidth}px solid ${color(node.borderColor) || '#000'}`;
  if (node.shadow && color(node.shadow.color)) {
    const [dx, dy] = node.shadow.offset || [0, -3];
    style.boxShadow = `${dx}px ${dy}px ${node.shadow.radius ?? 3}px ${shadowColor(node.shadow)}`;
  }
  if (node.hidden) style.visibility = 'hidden';
  if (node.alpha !== undefined && node.alpha !== null) style.opacity = String(node.alpha);
  if (node.clipsToBounds) style.overflow = 'hidden';
}

function shadowColor(shadow) {
  const hex = color(shadow.color).slice(1, 7);
  const opacity = shadow.opacity ?? 1;
  return `rgba(${parseInt(hex.slice(0, 2), 16)}, ${parseInt(hex.slice(2, 4), 16)}, ${parseInt(hex.slice(4, 6), 16)}, ${opacity})`;
}

// The point of a pointer event in the coordinates of `view`.
function pointIn(view, event) {
  const box = view.getBoundingClientRect();
  return [event.clientX - box.left + view.scrollLeft, event.clientY - box.top + view.scrollTop];
}

function control(node, name, extra) {
  send(Object.assign({ type: 'control', id: String(node.id), event: name }, extra));
}

function renderLabel(node) {
  const label = element('div', 'label', node.text);
  if (node.numberOfLines === 0 || node.numberOfLines > 1) label.classList.add('multiline');
  return label;
}

function renderButton(node) {
  const button = element('button', 'button', node.title ?? node.text);
  button.type = 'button';
  button.disabled = node.enabled === false;
  if (color(node.titleColor)) button.style.color = node.titleColor;
  button.addEventListener('pointerdown', (e) => { e.stopPropagation(); control(node, 'touchDown', { point: pointIn(button, e) }); });
  button.addEventListener('click', (e) => { e.stopPropagation(); control(node, 'touchUpInside', { point: pointIn(button, e) }); });
  return button;
}

function renderSwitch(node) {
  const toggle = element('input', 'switch');
  toggle.type = 'checkbox';
  toggle.setAttribute('role', 'switch');
  toggle.checked = Boolean(node.on);
  toggle.disabled = node.enabled === false;
  toggle.addEventListener('click', (e) => e.stopPropagation());
  toggle.addEventListener('change', () => control(node, 'valueChanged', { value: toggle.checked }));
  return toggle;
}

// A drag sends touchDown, then valueChanged (with a touchDragInside-style point) as the value
// moves, then touchUpInside with the final value on release.
function renderSlider(node) {
  const slider = element('input', 'slider');
  slider.type = 'range';
  slider.min = node.min ?? 0;
  slider.max = node.max ?? 1;
  slider.step = 'any';
  slider.value = node.value ?? 0;
  slider.disabled = node.enabled === false;
  slider.dataset.viewId = 'slider:' + node.id;
  const pointOf = () => {
    const [min, max] = [Number(slider.min), Number(slider.max)];
    const width = slider.getBoundingClientRect().width;
    return [max > min ? ((slider.value - min) / (max - min)) * width : 0, slider.getBoundingClientRect().height / 2];
  };
  slider.addEventListener('click', (e) => e.stopPropagation());
  slider.addEventListener('pointerdown', (e) => {
    e.stopPropagation();
    hold(slider);
    control(node, 'touchDown', { point: pointIn(slider, e) });
  });
  slider.addEventListener('input', () => control(node, 'valueChanged', { value: Number(slider.value), point: pointOf() }));
  slider.addEventListener('change', () => control(node, 'touchUpInside', { value: Number(slider.value), point: pointOf() }));
  return slider;
}

function renderTextField(node) {
  const field = element('input', 'field');
  field.type = node.secure ? 'password' : 'text';
  field.value = node.text ?? '';
  field.placeholder = node.placeholder ?? '';
  field.disabled = node.enabled === false;
  field.dataset.viewId = 'field:' + node.id;
  if (node.borderStyle && node.borderStyle !== 'none') field.classList.add('bordered');
  applyKeyboard(field, node.keyboardType);
  let sent = field.value;
  const finish = () => {
    if (field.value === sent) return;
    sent = field.value;
    send({ type: 'text', id: String(node.id), text: field.value, end: true });
  };
  field.addEventListener('click', (e) => e.stopPropagation());
  field.addEventListener('keydown', (e) => { if (e.key === 'Enter') { finish(); field.blur(); } });
  field.addEventListener('blur', finish);
  return field;
}

function applyKeyboard(field, keyboardType) {
  const modes = { numberPad: 'numeric', decimalPad: 'decimal', phonePad: 'tel', emailAddress: 'email', URL: 'url' };
  if (modes[keyboardType]) field.inputMode = modes[keyboardType];
}

function renderTextView(node) {
  if (!node.editable) return element('div', 'textview', node.text);
  const area = element('textarea', 'textview');
  area.value = node.text ?? '';
  area.dataset.viewId = 'text:' + node.id;
  area.addEventListener('blur', () => send({ type: 'text', id: String(node.id), text: area.value, end: true }));
  return area;
}

function renderImage(node, className) {
  const image = element('img', className);
  image.alt = '';
  image.draggable = false;
  if (safeImage(node.image)) image.src = node.image;
  return image;
}

// A view that draws itself arrives as a picture; touches on it go back as control events
// with their points, as the view would receive them.
function renderSelfDrawn(node) {
  const image = renderImage(node, 'selfdrawn');
  let down = false;
  image.addEventListener('click', (e) => e.stopPropagation());
  image.addEventListener('pointerdown', (e) => {
    e.stopPropagation();
    down = true;
    hold(image);
    image.setPointerCapture(e.pointerId);
    control(node, 'touchDown', { point: pointIn(image, e) });
  });
  image.addEventListener('pointermove', (e) => {
    if (down) control(node, 'touchDragInside', { point: pointIn(image, e) });
  });
  image.addEventListener('pointerup', (e) => {
    if (!down) return;
    down = false;
    const [x, y] = pointIn(image, e);
    const inside = x >= 0 && y >= 0 && x <= image.clientWidth && y <= image.clientHeight;
    control(node, inside ? 'touchUpInside' : 'touchUpOutside', { point: [x, y] });
  });
  return image;
}

// ---- Tables ------------------------------------------------------------------------------

function renderTable(node) {
  const style = ['plain', 'insetGrouped'].includes(node.style) ? node.style : 'grouped';
  const table = element('div', 'table ' + style);
  if (node.editing) table.classList.add('editing');
  if (node.headerView) table.append(flowView(node.headerView, 'table-header'));
  (node.sections || []).forEach((section, index) => table.append(renderSection(node, section, index)));
  if (node.footerView) table.append(flowView(node.footerView, 'table-footer'));
  watchLongPress(table);
  return table;
}

// A header or footer view sits in the table's flow, as tall as its frame.
function flowView(node, className) {
  const holder = element('div', className);
  const view = renderView(node);
  holder.style.height = (Array.isArray(node.frame) ? Number(node.frame[3]) : 0) + 'px';
  view.style.left = '0px';
  view.style.top = '0px';
  holder.append(view);
  return holder;
}

// With the heights the table laid out, points in the page (a long press) are the table's own.
function renderSection(table, section, index) {
  const box = element('div', 'section');
  const header = section.headerView ? flowView(section.headerView, 'custom-header')
    : element('div', 'section-header', section.header);
  const footer = element('div', 'section-footer', section.footer);
  fixHeight(header, section.headerHeight);
  fixHeight(footer, section.footerHeight);
  const rows = element('div', 'rows');
  (section.rows || []).forEach((row, r) => rows.append(renderRow(table, row, index, r)));
  box.append(header, rows, footer);
  return box;
}

function fixHeight(view, height) {
  if (!Number.isFinite(height)) return;
  view.style.height = height + 'px';
  view.style.overflow = 'hidden';
  view.classList.add('fixed-height');
}

function renderRow(table, row, section, index) {
  const cell = element('div', 'row');
  cell.dataset.section = section;
  cell.dataset.row = index;
  cell.dataset.key = `row:${section}:${index}`;
  cell.style.height = (Number(row.height) || 44) + 'px';
  if (color(row.backgroundColor)) cell.style.backgroundColor = row.backgroundColor;
  const enabled = row.enabled !== false;
  const touchable = row.userInteraction !== false;
  if (!enabled) cell.classList.add('disabled');
  if (table.editing && row.editingStyle === 'delete') cell.append(minusButton(cell));
  if (safeImage(row.image)) cell.append(renderImage({ image: row.image }, 'image'));
  const text = element('span', 'text', row.text);
  text.dataset.key = `row:${section}:${index}:text`;
  if (color(row.textColor)) text.style.color = row.textColor;
  cell.append(text);
  if (row.detail && !row.detailHidden) {
    const detail = element('span', 'detail', row.detail);
    detail.dataset.key = `row:${section}:${index}:detail`;
    if (color(row.detailColor)) detail.style.color = row.detailColor;
    cell.append(detail);
  }
  if (row.accessory && row.accessory !== 'none') cell.append(element('span', 'accessory ' + row.accessory));
  if (table.editing && row.reorder) addReorder(cell, section, index);
  if (row.editingStyle === 'delete') addDelete(cell, section, index);
  const subviews = element('div', 'subviews');
  appendSubviews(subviews, row.views);
  cell.append(subviews);
  if (touchable) {
    cell.classList.add('tappable');
    cell.tabIndex = 0;
    cell.addEventListener('click', () => {
      if (cell.classList.contains('swiped')) { cell.classList.remove('swiped'); return; }
      if (!consumeLongPress()) send({ type: 'tapRow', section, row: index });
    });
    cell.addEventListener('keydown', (e) => {
      if (e.target === cell && (e.key === 'Enter' || e.key === ' ')) {
        e.preventDefault();
        send({ type: 'tapRow', section, row: index });
      }
    });
  }
  return cell;
}

function minusButton(cell) {
  const minus = element('button', 'minus', '\u2212');
  minus.type = 'button';
  minus.setAttribute('aria-label', 'Delete');
  minus.addEventListener('click', (e) => { e.stopPropagation(); cell.classList.toggle('swiped'); });
  return minus;
}

// Swipe left (or hover with a mouse) reveals the Delete button.
function addDelete(cell, section, row) {
  cell.classList.add('deletable');
  const button = element('button', 'delete-button', 'Delete');
  button.type = 'button';
  button.addEventListener('click', (e) => { e.stopPropagation(); send({ type: 'deleteRow', section, row }); });
  cell.append(button);
  let startX = null;
  cell.addEventListener('pointerdown', (e) => { startX = e.clientX; });
  cell.addEventListener('pointermove', (e) => {
    if (startX !== null && startX - e.clientX > 30) cell.classList.add('swiped');
    if (startX !== null && e.clientX - startX > 30) cell.classList.remove('swiped');
  });
  cell.addEventListener('pointerup', () => { startX = null; });
}

// The handle drags a row onto another (pointer events, so touch screens work too); releasing
// over a row of the same table sends moveRow from the one to the other.
function addReorder(cell, section, row) {
  const handle = element('span', 'reorder', '\u2261');
  handle.setAttribute('aria-label', 'Reorder');
  let target = null;
  const mark = (next) => {
    if (target) target.classList.remove('drop-target');
    target = next;
    if (target) target.classList.add('drop-target');
  };
  handle.addEventListener('click', (e) => e.stopPropagation());
  handle.addEventListener('pointerdown', (e) => {
    e.stopPropagation();
    e.preventDefault();
    hold(handle);
    handle.setPointerCapture(e.pointerId);
    cell.classList.add('dragging');
  });
  handle.addEventListener('pointermove', (e) => {
    if (state.held !== handle) return;
    const under = document.elementFromPoint(e.clientX, e.clientY)?.closest('.row');
    mark(under && under !== cell && under.closest('.table') === cell.closest('.table') ? under : null);
  });
  handle.addEventListener('pointerup', () => {
    const to = target && [Number(target.dataset.section), Number(target.dataset.row)];
    mark(null);
    cell.classList.remove('dragging');
    if (to) send({ type: 'moveRow', from: [section, row], to });
  });
  cell.append(handle);
}

// Holding still on the table for a second sends longPress at that point; the click that
// ends the press then taps nothing.
let pressFired = false;
function consumeLongPress() {
  const fired = pressFired;
  pressFired = false;
  return fired;
}

function watchLongPress(table) {
  let timer = 0;
  let start = null;
  const cancel = () => { clearTimeout(timer); start = null; };
  table.addEventListener('pointerdown', (e) => {
    if (e.button !== 0) return;
    pressFired = false;
    start = [e.clientX, e.clientY];
    const point = pointIn(table, e);
    timer = setTimeout(() => { pressFired = true; send({ type: 'longPress', point }); }, LONG_PRESS_MS);
  });
  table.addEventListener('pointermove', (e) => {
    if (start && Math.hypot(e.clientX - start[0], e.clientY - start[1]) > 10) cancel();
  });
  table.addEventListener('pointerup', cancel);
  table.addEventListener('pointercancel', cancel);
  table.addEventListener('contextmenu', (e) => { if (pressFired) e.preventDefault(); });
}

// ---- Alerts ------------------------------------------------------------------------------

function renderAlert(alert) {
  const layer = $('alert-layer');
  if (!alert) { layer.hidden = true; return; }
  const keep = [...document.querySelectorAll('#alert-fields input')].map((input) => input.value);
  const sameAlert = !layer.hidden && $('alert-title').textContent === (alert.title || '');
  $('alert-title').textContent = alert.title || '';
  $('alert-message').textContent = alert.message || '';
  const fields = (alert.textFields || []).map((field, i) => alertField(field, sameAlert ? keep[i] : undefined));
  $('alert-fields').replaceChildren(...fields);
  const actions = (alert.actions || []).map((action, index) => alertAction(action, index, fields));
  $('alert-actions').replaceChildren(...actions);
  $('alert-actions').classList.toggle('stacked', actions.length > 2);
  layer.hidden = false;
  if (fields.length && !sameAlert) fields[0].focus();
}

function alertField(field, kept) {
  const input = element('input');
  input.type = field.secure ? 'password' : 'text';
  input.placeholder = field.placeholder || '';
  input.value = kept ?? field.text ?? '';
  applyKeyboard(input, field.keyboardType);
  return input;
}

function alertAction(action, index, fields) {
  const button = element('button', 'alert-action ' + (action.style || 'default'), action.title);
  button.type = 'button';
  button.addEventListener('click', () => {
    $('alert-layer').hidden = true;
    send({ type: 'alertAction', index, texts: fields.map((input) => input.value) });
  });
  return button;
}

// ---- Start -------------------------------------------------------------------------------

// Listeners on the window run after the held element's own pointerup.
window.addEventListener('pointerup', () => setTimeout(release));
window.addEventListener('pointercancel', () => setTimeout(release));
$('back').addEventListener('click', () => send({ type: 'back' }));
$('dark-toggle').addEventListener('change', (e) => send({ type: 'appearance', value: e.target.checked ? 'dark' : 'light' }));
fetchScreen();
listen();
