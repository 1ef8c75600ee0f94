// Tables: sections and rows as the toolkit laid them out, and their gestures (tap, swipe to
// delete, drag to reorder, long press).
import { color, element, pointIn, safeImage, state } from './shared.js';
import { send } from './transport.js';
import { appendSubviews, hold, renderImage, renderView } from './views.js';

const LONG_PRESS_MS = 1000;

export function renderTable(node) {
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
