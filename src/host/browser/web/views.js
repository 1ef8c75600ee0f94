// Drawing the screen: navigation, the page's views (one render function per kind of native
// view, in KINDS), and patching the page in place while a control is held.
import { $, color, element, pointIn, rgba, safeImage, state } from './shared.js';
import { send, showSaveFailure } from './transport.js';
import { placeTables, redrawRows, refillTable, renderTable, tableOffsets } from './tables.js';
import { renderAlert, applyKeyboard } from './alerts.js';
import { playSounds } from './sounds.js';
import { showFileImport } from './imports.js';

export function render(screen, { keepIfUnchanged = false } = {}) {
  if (!screen || typeof screen !== 'object') return;
  // An answer that overtook a newer one is stale.
  if ((Number(screen.revision) || 0) < state.revision) return;
  const shown = shownContent(screen);
  const tables = differingTables(state.screen, screen);
  // A dragged row's table takes the rows that scroll into view; any other held control
  // keeps its element until it is let go.
  if (state.held && !(tables && state.held.classList.contains('reorder'))) return patch(screen);
  if (keepIfUnchanged && shown === state.shown) return keep(screen);
  if (tables) return redrawTables(screen, shown, tables);
  const focus = rememberFocus();
  const before = state.screen;
  const moved = JSON.stringify(before?.navigation) !== JSON.stringify(screen.navigation);
  state.screen = screen;
  state.shown = shown;
  state.revision = Math.max(state.revision, Number(screen.revision) || 0);
  document.body.dataset.appearance = screen.appearance === 'dark' ? 'dark' : 'light';
  $('dark-toggle').checked = screen.appearance === 'dark';
  renderFrame(screen.screen || {});
  renderNavigation(screen.navigation || {});
  const content = $('content');
  const offsets = tableOffsets(content);
  content.replaceChildren();
  if (screen.page) content.append(renderView(screen.page));
  placeTables(content, offsets);
  const alertOpen = renderAlert(screen.alert, focus?.id);
  showSaveFailure(screen.saveFailure);
  showFileImport(screen);
  playSounds(screen.sounds);
  if (!alertOpen) placeFocus(focus, moved, depthOf(before), depthOf(screen));
  announceChanges(moved, screen);
}

// Keys of a screen that the page shows apart from its views.
const ASIDE = new Set(['revision', 'sounds', 'saveFailure', 'sharedFile', 'openedURLs']);

// Whether two parts of a screen are alike, leaving out the keys SKIPPED names at the top;
// NODE may settle a pair of objects itself (true or false) or leave it (undefined).
function alike(a, b, skipped = () => false, node = () => undefined) {
  if (a === b) return true;
  if (!a || !b || typeof a !== 'object' || typeof b !== 'object' || Array.isArray(a) !== Array.isArray(b)) return false;
  const settled = node(a, b);
  if (settled !== undefined) return settled;
  const keys = Object.keys(a).filter((key) => !skipped(key));
  return keys.length === Object.keys(b).filter((key) => !skipped(key)).length &&
    keys.every((key) => alike(a[key], b[key], undefined, node));
}

// The tables that differ between the screen shown and the new one, when nothing outside them
// does (else null: the page is drawn anew). For each, the rows to draw again ([section,
// position in `rows`]) when only the contents of the rows it holds changed, else null.
function differingTables(before, after) {
  const found = new Map();
  const table = (a, b) => {
    if (kindOf(a) !== 'UITableView' || a.id === undefined || a.id !== b.id) return undefined;
    const shown = document.querySelector(`#content .table[data-id="${CSS.escape(String(b.id))}"]`);
    if (!shown) return false;
    if (!alike(a, b)) found.set(shown, { node: b, rows: changedRows(a, b) });
    return true;
  };
  return before && alike(before, after, (key) => ASIDE.has(key), table) && found.size ? found : null;
}

function changedRows(before, after) {
  if (!alike(before, after, (key) => key === 'sections' || key === 'contentOffset')) return null;
  const sections = [before.sections ?? [], after.sections ?? []];
  if (sections[0].length !== sections[1].length) return null;
  const rows = [];
  for (const [s, was] of sections[0].entries()) {
    const now = sections[1][s];
    if (!alike(was, now, (key) => key === 'rows')) return null;
    const [wasRows, nowRows] = [was.rows ?? [], now.rows ?? []];
    if (wasRows.length !== nowRows.length || wasRows.some((row, r) => row.row !== nowRows[r].row)) return null;
    wasRows.forEach((row, r) => { if (!alike(row, nowRows[r])) rows.push([s, r]); });
  }
  return rows;
}

// Draws only the tables that changed, in place: the rest of the page, and each table's
// scroll, stay as they are.
function redrawTables(screen, shown, tables) {
  const focus = rememberFocus();
  state.screen = screen;
  state.shown = shown;
  state.revision = Math.max(state.revision, Number(screen.revision) || 0);
  // No row to draw again: only the offset the program keeps moved, which the page set itself.
  for (const [element, { node, rows }] of tables) {
    if (rows?.length === 0) continue;
    if (!(rows && redrawRows(element, node, rows))) refillTable(element, node);
  }
  showSaveFailure(screen.saveFailure);
  playSounds(screen.sounds);
  placeFocus(focus, false, depthOf(screen), depthOf(screen));
  announceChanges(false, screen);
}

// After a redraw, the keyboard's focus goes where the user expects it: where the last key
// sent it (a moved row's handle), back to what was focused before an alert, to the row a page
// was opened from when going back to it, to the title of a page newly opened, else to the
// element that had it.
function placeFocus(focus, moved, was, depth) {
  const next = state.focusNext ?? state.focusBeforeAlert;
  state.focusNext = null;
  state.focusBeforeAlert = null;
  if (next && focusView(next)) return;
  if (!moved) return restoreFocus(focus);
  const opener = depth < was ? state.openers[depth - 1] : null;
  state.openers.length = Math.max(0, Math.min(was, depth) - 1);
  if (depth > was) state.openers.push(focus?.id ?? null);
  // The page gone back to shows where it was left, so its opener takes focus where it stands.
  if (!(opener && focusView(opener, { preventScroll: true }))) $('title').focus();
}

const depthOf = (screen) => Number(screen?.navigation?.depth) || 0;

const viewWithId = (id) => document.querySelector(`[data-view-id="${CSS.escape(id)}"]`);

function focusView(id, options) {
  const view = viewWithId(id);
  view?.focus(options);
  return Boolean(view);
}

// What the page draws of a screen: all of it but its revision, the sounds it plays once and
// the tables' offsets, which the page itself reported while the user scrolled.
function shownContent(screen) {
  return JSON.stringify({ ...screen, revision: null, sounds: null }, (key, value) => (key === 'contentOffset' ? undefined : value));
}

function keep(screen) {
  state.revision = Math.max(state.revision, Number(screen.revision) || 0);
  playSounds(screen.sounds);
}

// While a control is held, carry the new screen's texts, colours, values and pictures over
// to the elements on the page that have the same key, and draw it whole on release.
function patch(screen) {
  state.deferred = screen;
  state.revision = Math.max(state.revision, Number(screen.revision) || 0);
  showSaveFailure(screen.saveFailure);
  playSounds(screen.sounds);
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

export function hold(view) { state.held = view; }

export function release() {
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
  const status = Number(size.statusBarHeight) >= 0 ? Number(size.statusBarHeight) : 44;
  $('statusbar').style.height = status + 'px';
  $('navbar').style.top = status + 'px';
  $('navbar').style.height = (Number(size.navigationBarHeight) >= 0 ? Number(size.navigationBarHeight) : 44) + 'px';
}

function renderNavigation(navigation) {
  $('title').textContent = navigation.title || '';
  const back = $('back');
  back.hidden = navigation.back === null || navigation.back === undefined;
  $('back-title').textContent = navigation.back || 'Back';
  back.ariaLabel = navigation.back ? `Back to ${navigation.back}` : 'Back';
}

// The focused element keeps the focus across a redraw; a text field being typed into keeps
// its text and caret too.
function rememberFocus() {
  const active = document.activeElement;
  if (!active || !active.dataset || !active.dataset.viewId) return null;
  const typed = active.tagName === 'TEXTAREA' || (active.tagName === 'INPUT' && ['text', 'password'].includes(active.type));
  return { id: active.dataset.viewId, value: typed ? active.value : undefined, start: active.selectionStart, end: active.selectionEnd };
}

function restoreFocus(focus) {
  if (!focus) return;
  const again = viewWithId(focus.id);
  if (!again) return;
  if (typeof focus.value === 'string') again.value = focus.value;
  // The user may have scrolled away from it since: a redraw must not scroll back.
  again.focus({ preventScroll: true });
  try { again.setSelectionRange(focus.start, focus.end); } catch { /* not a text input */ }
}

// Screen readers hear, politely, the title of a page they reach, and otherwise the texts on
// the page that a change altered (a search formula, a test result, an unsaved profile).
function announceChanges(moved, screen) {
  const texts = visibleTexts();
  const previous = state.texts ?? new Map();
  state.texts = texts;
  if (moved) return announce(screen.navigation?.title || '');
  const changed = [...texts].filter(([key, text]) => previous.has(key) && previous.get(key) !== text && text);
  if (changed.length && changed.length <= 3) announce(changed.map(([, text]) => text).join('. '));
}

function visibleTexts() {
  const texts = new Map();
  for (const view of document.querySelectorAll('#content [data-key]')) {
    if (view.tagName === 'INPUT' || view.children.length || view.closest('[data-view-id]:focus')) continue;
    texts.set(view.dataset.key, view.textContent);
  }
  return texts;
}

let announceTimer = 0;
function announce(text) {
  clearTimeout(announceTimer);
  announceTimer = setTimeout(() => { $('announcer').textContent = text; }, 150);
}

// One render function per kind of native view. A node names its kind in `kind` when its class
// is a subclass, else in `type`; any other view that carries a picture draws itself.
const KINDS = {
  UIView: () => element('div'),
  UIControl: () => element('div'),
  UILabel: renderLabel,
  UIButton: renderButton,
  UISwitch: renderSwitch,
  UISlider: renderSlider,
  UITextField: renderTextField,
  UITextView: renderTextView,
  UIImageView: (node) => renderImage(node, 'imageview'),
  UITableView: renderTable,
};

export function renderView(node) {
  const kind = Object.hasOwn(KINDS, node.kind) ? node.kind : node.type;
  const draw = Object.hasOwn(KINDS, kind) ? KINDS[kind] : safeImage(node.image) ? renderSelfDrawn : KINDS.UIView;
  const view = draw(node);
  view.classList.add('view');
  view.dataset.type = node.type || 'UIView';
  if (node.id !== undefined) {
    view.dataset.id = node.id;
    view.dataset.key = `${node.type}:${node.id}`;
  }
  applyFrame(view, node.frame);
  applyLook(view, node);
  appendSubviews(view, node.subviews);
  return view;
}

export function appendSubviews(view, subviews) {
  nameFromNeighbours(subviews || []);
  for (const child of subviews || []) view.append(renderView(child));
}

// A pane names few of its controls: an untitled button lies over the label or field it edits
// (a number, "Hue: 33°"), a slider or switch sits beside its caption ("Red", "Width"), a
// touch surface over a picture that draws itself. Each gets, in `accessibleName`, what a
// screen reader should say: the caption and the texts under it, or the picture's kind.
function nameFromNeighbours(views) {
  const framed = views.filter((view) => Array.isArray(view.frame) && view.frame.length === 4);
  const faces = new Set();
  for (const view of framed) {
    if (!isUntitledButton(view)) continue;
    for (const under of framed) if (under !== view && textOf(under) && covers(view.frame, under.frame)) faces.add(under);
  }
  for (const view of framed) {
    if (!isUntitledButton(view) && !['UISlider', 'UISwitch', 'UITextField'].includes(kindOf(view))) continue;
    const under = isUntitledButton(view) ? framed.filter((other) => faces.has(other) && covers(view.frame, other.frame)) : [];
    const caption = captionOf(view, framed.filter((other) => kindOf(other) === 'UILabel' && !faces.has(other)));
    const picture = framed.find((other) => other.image && !KINDS[kindOf(other)] && covers(view.frame, other.frame));
    const words = [caption?.text, ...under.map(textOf)].filter(Boolean);
    if (!words.length && picture) words.push(pictureName(picture.type));
    if (words.length) view.accessibleName = words.join(' ');
  }
}

const kindOf = (node) => (Object.hasOwn(KINDS, node.kind) ? node.kind : node.type);
const isUntitledButton = (node) => kindOf(node) === 'UIButton' && !(node.title ?? node.text);

// A label's text, or a field's with the unit it shows at its end.
function textOf(node) {
  if (kindOf(node) === 'UILabel') return node.text || '';
  if (kindOf(node) !== 'UITextField') return '';
  return [node.text, ...(node.subviews || []).map((unit) => unit.text)].filter(Boolean).join(' ');
}

// Whether at least half of `inner` lies inside `outer`.
function covers(outer, inner) {
  const [ox, oy, ow, oh] = outer.map(Number);
  const [ix, iy, iw, ih] = inner.map(Number);
  const width = Math.min(ox + ow, ix + iw) - Math.max(ox, ix);
  const height = Math.min(oy + oh, iy + ih) - Math.max(oy, iy);
  return width > 0 && height > 0 && width * height >= (iw * ih) / 2;
}

// The nearest label beside the control on its line, or just above it.
function captionOf(view, labels) {
  const [x, y, w, h] = view.frame.map(Number);
  let best = null;
  let bestGap = Infinity;
  for (const label of labels) {
    const [lx, ly, lw, lh] = label.frame.map(Number);
    const sameLine = ly < y + h && ly + lh > y;
    const above = ly + lh <= y + 4 && ly + lh >= y - 30 && lx < x + w && lx + lw > x;
    if (!label.text || covers(view.frame, label.frame) || !(sameLine || above)) continue;
    const gap = sameLine ? Math.max(0, lx - (x + w), x - (lx + lw)) : y - (ly + lh);
    if (gap < bestGap) [best, bestGap] = [label, gap];
  }
  return best;
}

// "HBBrightnessSaturationView" says "Brightness Saturation".
function pictureName(type) {
  return String(type || '').replace(/^HB/, '').replace(/View$/, '').replace(/([a-z])([A-Z])/g, '$1 $2');
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
    style.boxShadow = `${dx}px ${dy}px ${node.shadow.radius ?? 3}px ${rgba(node.shadow.color, node.shadow.opacity ?? 1)}`;
  }
  if (node.hidden) style.visibility = 'hidden';
  if (node.userInteraction === false) style.pointerEvents = 'none';
  if (node.alpha !== undefined && node.alpha !== null) style.opacity = String(node.alpha);
  if (node.clipsToBounds) style.overflow = 'hidden';
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
  button.dataset.viewId = 'button:' + node.id;
  if (color(node.titleColor)) button.style.color = node.titleColor;
  if (node.accessibleName) button.ariaLabel = node.accessibleName;
  // An untitled button over nothing that says what it does is a surface for the pointer.
  if (!button.textContent && !node.accessibleName) Object.assign(button, { tabIndex: -1, ariaHidden: 'true' });
  button.addEventListener('pointerdown', (e) => { e.stopPropagation(); control(node, 'touchDown', { point: pointIn(button, e) }); });
  button.addEventListener('click', (e) => {
    e.stopPropagation();
    // A click from the keyboard (Enter, Space) has no pointer: it lands in the middle.
    const point = e.detail === 0 ? [button.clientWidth / 2, button.clientHeight / 2] : pointIn(button, e);
    if (e.detail === 0) control(node, 'touchDown', { point });
    control(node, 'touchUpInside', { point });
  });
  return button;
}

function renderSwitch(node) {
  const toggle = element('input', 'switch');
  toggle.type = 'checkbox';
  toggle.setAttribute('role', 'switch');
  toggle.checked = Boolean(node.on);
  toggle.disabled = node.enabled === false;
  toggle.dataset.viewId = 'switch:' + node.id;
  if (node.accessibleName) toggle.ariaLabel = node.accessibleName;
  toggle.addEventListener('click', (e) => e.stopPropagation());
  toggle.addEventListener('keydown', (e) => { if (e.key === 'Enter') { e.preventDefault(); toggle.click(); } });
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
  if (node.accessibleName) slider.ariaLabel = node.accessibleName;
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
  slider.addEventListener('keydown', (e) => {
    const value = keyedValue(slider, e);
    if (value === null) return;
    e.preventDefault();
    slider.value = value;
    describeValue(slider);
    control(node, 'touchDown', { point: pointOf() });
    control(node, 'valueChanged', { value: Number(slider.value), point: pointOf() });
    control(node, 'touchUpInside', { value: Number(slider.value), point: pointOf() });
  });
  describeValue(slider);
  return slider;
}

// A key on a slider moves it as a finger would, from press to release: arrows by a hundredth
// of its range, Page Up and Page Down by a tenth, Home and End to its ends.
function keyedValue(slider, e) {
  const [min, max, value] = [Number(slider.min), Number(slider.max), Number(slider.value)];
  const step = (max - min) / 100;
  const moves = { ArrowRight: step, ArrowUp: step, ArrowLeft: -step, ArrowDown: -step, PageUp: step * 10, PageDown: -step * 10 };
  if (e.key === 'Home') return min;
  if (e.key === 'End') return max;
  if (!Object.hasOwn(moves, e.key) || !(max > min)) return null;
  return Math.min(max, Math.max(min, value + moves[e.key]));
}

// Said as a whole number on a wide range (a width, an alpha level), to two places on a narrow one.
function describeValue(slider) {
  const value = Number(slider.value);
  const wide = Number(slider.max) - Number(slider.min) >= 10;
  slider.ariaValueText = wide ? String(Math.round(value)) : value.toFixed(2);
}

function renderTextField(node) {
  const field = element('input', 'field');
  field.type = node.secure ? 'password' : 'text';
  field.value = node.text ?? '';
  field.placeholder = node.placeholder ?? '';
  field.disabled = node.enabled === false;
  field.dataset.viewId = 'field:' + node.id;
  if (node.accessibleName || node.placeholder) field.ariaLabel = node.accessibleName || node.placeholder;
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
  return withOwnViews(field, node.subviews);
}

// An input shows no children: a field with views of its own (a unit at its right end) is a
// box holding the input, which leaves room for those views, and them.
function withOwnViews(field, subviews) {
  if (!Array.isArray(subviews) || !subviews.length) return field;
  const box = element('div', 'field-box');
  const lefts = subviews.map((view) => (Array.isArray(view.frame) ? Number(view.frame[0]) : NaN)).filter(Number.isFinite);
  if (lefts.length) field.style.right = `calc(100% - ${Math.min(...lefts)}px)`;
  box.append(field);
  return box;
}

function renderTextView(node) {
  if (!node.editable) return element('div', 'textview', node.text);
  const area = element('textarea', 'textview');
  area.value = node.text ?? '';
  area.dataset.viewId = 'text:' + node.id;
  area.addEventListener('blur', () => send({ type: 'text', id: String(node.id), text: area.value, end: true }));
  return area;
}

export function renderImage(node, className) {
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
