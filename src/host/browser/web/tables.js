// Tables: sections and rows as the toolkit laid them out, and their gestures (tap, swipe to
// delete, drag to reorder, long press). Rows' own views are drawn by `views`; gestures go
// back through `send`; a dragged row's handle is held in `grip`, and a row moved by a key
// keeps the focus through `focusTargets`.
import { color, element, pointIn, renderImage, safeImage } from './dom.js';

const LONG_PRESS_MS = 1000;
// How soon a scroll that stopped is reported.
const SCROLL_REPORT_MS = 100;
// While the user scrolls, the program hears of every quarter screen, so the rows coming into
// view are there by the time they show; the resting offset follows once the scroll stops.
const SCROLL_STEP_SHARE = 0.25;
// What the keyboard reaches in a row.
const CONTROLS = 'button, input, textarea, select, [tabindex]';
const EDGE_ZONE = 56;
const EDGE_SPEED = 40;

export function createTables({ views, send, grip, focusTargets }) {
  function renderTable(node) {
    const table = element('div');
    applyInsets(table, node);
    fillTable(table, node);
    watchLongPress(table);
    return table;
  }

  // The table's content: its header, sections and footer. The program sends only the rows it
  // made cells for (those in and near view), each with its place; each section keeps the
  // height of all its rows, so the scroll bar is as long as the whole table.
  function fillTable(table, node) {
    const style = ['plain', 'insetGrouped'].includes(node.style) ? node.style : 'grouped';
    table.className = 'table ' + style + (node.editing ? ' editing' : '');
    table.sections = node.sections || [];
    const parts = [];
    if (node.headerView) parts.push(flowView(node.headerView, 'table-header'));
    table.sections.forEach((section, index) => parts.push(renderSection(node, section, index)));
    if (node.footerView) parts.push(flowView(node.footerView, 'table-footer'));
    table.replaceChildren(...parts);
  }

  // Draws a new screen of the same table into the element shown, so that its scroll (and a
  // wheel or drag that moves it) goes on undisturbed.
  // A row being dragged keeps its look in its new element, and the drop target is found again
  // among the new rows.
  function refillTable(table, node) {
    const dragged = grip.held && table.contains(grip.held) ? grip.held.closest('.row')?.dataset.key : null;
    fillTable(table, node);
    if (!dragged) return;
    table.querySelector(`.row[data-key="${CSS.escape(dragged)}"]`)?.classList.add('dragging');
    table.aimDrop?.();
  }

  // The program's insets (its bars and the home indicator) pad the content, and the keyboard's
  // focus keeps rows out from under the bars too. The offset is the program's: 0 puts the
  // content's top at the view's top, under the bars; the top inset, negated, just below them.
  function applyInsets(table, node) {
    const [top, , bottom] = (Array.isArray(node.contentInset) ? node.contentInset : []).map((n) => Math.max(0, Number(n) || 0));
    const offset = Array.isArray(node.contentOffset) ? Number(node.contentOffset[1]) || 0 : -(top || 0);
    Object.assign(table.style, { paddingTop: (top || 0) + 'px', paddingBottom: (bottom || 0) + 'px',
      scrollPaddingTop: (top || 0) + 'px', scrollPaddingBottom: (bottom || 0) + 'px' });
    table.insetTop = top || 0;
    table.insetBottom = bottom || 0;
    table.reported = offset;
    table.wanted = offset + table.insetTop;
    let timer = 0;
    const report = () => {
      clearTimeout(timer);
      timer = 0;
      const now = table.scrollTop - table.insetTop;
      if (!table.isConnected || Math.abs(now - table.reported) < 0.5) return;
      table.reported = now;
      send({ type: 'scroll', id: String(node.id), offset: now });
    };
    table.addEventListener('scroll', () => {
      clearTimeout(timer);
      timer = setTimeout(report, SCROLL_REPORT_MS);
      if (Math.abs(table.scrollTop - table.insetTop - table.reported) >= table.clientHeight * SCROLL_STEP_SHARE) report();
    });
    // A touch or key that follows a scroll goes after it, so the program knows where the page was.
    table.addEventListener('pointerdown', () => { if (timer) report(); }, true);
    table.addEventListener('keydown', () => { if (timer) report(); }, true);
  }

  // A header or footer view sits in the table's flow, as tall as its frame.
  function flowView(node, className) {
    const holder = element('div', className);
    const view = views.renderView(node);
    holder.style.height = (Array.isArray(node.frame) ? Number(node.frame[3]) : 0) + 'px';
    view.style.left = '0px';
    view.style.top = '0px';
    holder.append(view);
    return holder;
  }

  // With the heights the table laid out, points in the page (a long press) are the table's own.
  function renderSection(table, section, index) {
    const box = element('div', 'section');
    const count = Number(section.rowCount) || 0;
    const header = section.headerView ? flowView(section.headerView, 'custom-header')
      : element('div', 'section-header', section.header);
    if (!section.headerView && section.header) Object.assign(header, { role: 'heading', ariaLevel: '2' });
    const footer = element('div', 'section-footer', section.footer);
    fixHeight(header, section.headerHeight);
    fixHeight(footer, section.footerHeight);
    const rows = element('div', 'rows');
    rows.style.height = (Number(section.rowsHeight) || 0) + 'px';
    if (count) Object.assign(rows, { role: 'list', ariaLabel: section.header || 'Rows' });
    for (const row of section.rows || []) rows.append(renderPlacedRow(table, section, index, row));
    // A section without rows (a drop zone) takes a dragged row as its first.
    if (!count) Object.assign(box.dataset, { section: index, row: 0, dropZone: '' });
    box.append(header, rows, footer);
    return box;
  }

  // A row at its place among its section's rows, saying its place in the list.
  function renderPlacedRow(table, section, index, row) {
    const shown = renderRow(table, row, index, Number(row.row) || 0);
    Object.assign(shown, { role: 'listitem', ariaSetSize: String(Number(section.rowCount) || 0),
      ariaPosInSet: String((Number(row.row) || 0) + 1) });
    shown.style.top = (Number(row.y) || 0) - (Number(section.rowsY) || 0) + 'px';
    return shown;
  }

  // Draws again only the rows whose contents changed ([section, position in `rows`] pairs),
  // when the table still holds the same rows: a switch or a label in a row.
  function redrawRows(table, node, places) {
    const sections = [...table.children].filter((child) => child.classList.contains('section'));
    const drawn = places.map(([s, r]) => sections[s]?.querySelector('.rows')?.children[r]);
    if (drawn.some((row, i) => !row || row.dataset.row !== String(node.sections?.[places[i][0]]?.rows?.[places[i][1]]?.row))) return false;
    table.sections = node.sections;
    places.forEach(([s, r], i) => drawn[i].replaceWith(renderPlacedRow(node, node.sections[s], s, node.sections[s].rows[r])));
    // A drop target among the rows drawn again is found again in its new element.
    table.aimDrop?.();
    return true;
  }

  function renderRow(table, row, section, index) {
    const cell = element('div', 'row');
    cell.dataset.section = section;
    cell.dataset.row = index;
    cell.dataset.key = `row:${section}:${index}`;
    cell.style.height = (Number(row.height) || 44) + 'px';
    if (color(row.backgroundColor)) cell.style.backgroundColor = row.backgroundColor;
    const enabled = row.enabled !== false;
    if (!enabled) cell.classList.add('disabled');
    if (!enabled) cell.ariaDisabled = 'true';
    const name = rowName(row);
    if (table.editing && row.editingStyle === 'delete') cell.append(minusButton(cell, name, section, index));
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
    if (table.editing && row.reorder) addReorder(cell, table, name, section, index);
    if (row.editingStyle === 'delete') addDelete(cell, name, section, index);
    const subviews = element('div', 'subviews');
    views.appendSubviews(subviews, row.views);
    cell.append(subviews);
    nameControls(subviews, row, name);
    if (row.userInteraction !== false) makeTappable(cell, text, row, name, section, index);
    return cell;
  }

  // A row is a list item whose text is its button (so that no control sits inside another, and
  // the item can say its place in the list), or has none when the row does not highlight on a
  // tap (a switch row: the switch is what the keyboard reaches). Enter or Space taps it, Delete
  // deletes it where it offers that, and the context-menu key (or Shift+F10) is the long press.
  function makeTappable(cell, text, row, name, section, index) {
    cell.classList.add('tappable');
    cell.addEventListener('click', () => {
      if (cell.classList.contains('swiped')) { cell.classList.remove('swiped'); return; }
      if (!consumeLongPress()) send({ type: 'tapRow', section, row: index });
    });
    const hasControls = Boolean(cell.querySelector(CONTROLS));
    if (hasControls && row.selectable === false) return;
    const target = text;
    Object.assign(target, { tabIndex: 0, role: 'button', ariaLabel: name });
    target.dataset.viewId = `row:${section}:${index}`;
    if (row.accessory === 'checkmark') target.ariaCurrent = 'true';
    target.addEventListener('keydown', (e) => {
      if (e.target !== target) return;
      const event = rowKeyEvent(e, cell, row, section, index);
      if (!event) return;
      e.preventDefault();
      send(event);
    });
  }

  // Swipe left (or hover with a mouse, or focus with the keyboard) reveals the Delete button.
  function addDelete(cell, name, section, row) {
    cell.classList.add('deletable');
    const button = element('button', 'delete-button', 'Delete');
    button.type = 'button';
    button.ariaLabel = `Delete ${name}`;
    button.dataset.viewId = `delete:${section}:${row}`;
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
  // over a row of the same table (or a section without rows) sends moveRow from the one to the
  // other. With the keyboard, the up and down arrows on the handle move the row one place.
  function addReorder(cell, table, name, section, row) {
    const handle = element('button', 'reorder', '\u2261');
    handle.type = 'button';
    handle.ariaLabel = `Move ${name}`;
    handle.title = 'Up and down arrows move the row';
    handle.dataset.viewId = `handle:${section}:${row}`;
    let target = null;
    const mark = (next) => {
      if (target) target.classList.remove('drop-target');
      target = next;
      if (target) target.classList.add('drop-target');
    };
    handle.addEventListener('click', (e) => e.stopPropagation());
    handle.addEventListener('keydown', (e) => {
      const to = e.key === 'ArrowUp' || e.key === 'ArrowDown' ? neighbourPlace(table, section, row, e.key === 'ArrowUp') : null;
      if (!to) return;
      e.preventDefault();
      focusTargets.afterNextScreen(`handle:${to[0]}:${to[1]}`);
      send({ type: 'moveRow', from: [section, row], to });
    });
    let pointer = null;
    const aim = () => {
      const point = pointer && document.elementFromPoint(pointer.x, pointer.y);
      const under = point?.closest('.row') ?? point?.closest('.section[data-drop-zone]');
      mark(under && under.dataset.key !== cell.dataset.key && under.closest('.table') === box ? under : null);
    };
    let box = null;
    // The window follows the pointer: the rows that scroll into view replace the table's
    // elements, this one's too, and a capture on the handle would end with it.
    const move = (e) => {
      pointer = { x: e.clientX, y: e.clientY };
      aim();
    };
    const drop = () => {
      window.removeEventListener('pointermove', move);
      box.aimDrop = null;
      const to = target && [Number(target.dataset.section), Number(target.dataset.row)];
      mark(null);
      pointer = null;
      cell.classList.remove('dragging');
      if (to) send({ type: 'moveRow', from: [section, row], to });
    };
    handle.addEventListener('pointerdown', (e) => {
      e.stopPropagation();
      e.preventDefault();
      grip.hold(handle);
      box = cell.closest('.table');
      box.aimDrop = aim;
      cell.classList.add('dragging');
      pointer = { x: e.clientX, y: e.clientY };
      window.addEventListener('pointermove', move);
      window.addEventListener('pointerup', drop, { once: true, capture: true });
      scrollWhileNearEdge(box, () => pointer, aim);
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
      const point = pointInTable(table, e);
      timer = setTimeout(() => { pressFired = true; send({ type: 'longPress', point }); }, LONG_PRESS_MS);
    });
    table.addEventListener('pointermove', (e) => {
      if (start && Math.hypot(e.clientX - start[0], e.clientY - start[1]) > 10) cancel();
    });
    table.addEventListener('pointerup', cancel);
    table.addEventListener('pointercancel', cancel);
    table.addEventListener('contextmenu', (e) => { if (pressFired) e.preventDefault(); });
  }

  return { renderTable, refillTable, redrawRows, tableOffsets, placeTables };
}

// The scroll positions of the tables shown, by view id, before the page is drawn again.
function tableOffsets(content) {
  return new Map([...content.querySelectorAll('.table')].map((table) => [table.dataset.id, table.scrollTop]));
}

// A table that was shown before keeps where the user scrolled it; one newly shown (a page
// opened, or one gone back to) takes the offset the program kept for it.
function placeTables(content, offsets) {
  for (const table of content.querySelectorAll('.table')) {
    table.scrollTop = offsets.has(table.dataset.id) ? offsets.get(table.dataset.id) : table.wanted;
  }
}

// A point of a pointer event in the table's content, as the program lays it out.
function pointInTable(table, event) {
  const [x, y] = pointIn(table, event);
  return [x, y - (table.insetTop || 0)];
}

function fixHeight(view, height) {
  if (!Number.isFinite(height)) return;
  view.style.height = height + 'px';
  view.style.overflow = 'hidden';
  view.classList.add('fixed-height');
}

// What a screen reader says of a row: its text and detail (a new filter has neither).
function rowName(row) {
  return [row.text, row.detailHidden ? '' : row.detail].filter(Boolean).join(', ') || 'Untitled row';
}

// Controls a cell draws without a text of their own (a switch, a slider, a field) are named
// after their row, or else as their neighbours name them, or after a label the cell draws.
function nameControls(subviews, row, name) {
  const label = [...subviews.querySelectorAll('.label')].map((view) => view.textContent.trim()).find(Boolean);
  for (const control of subviews.querySelectorAll(CONTROLS)) {
    if (control.textContent.trim() || control.ariaHidden === 'true') continue;
    control.ariaLabel = row.text || control.ariaLabel || label || name;
  }
}

function rowKeyEvent(e, cell, row, section, index) {
  if (e.key === 'Enter' || e.key === ' ') return { type: 'tapRow', section, row: index };
  if (e.key === 'Delete' && row.editingStyle === 'delete') return { type: 'deleteRow', section, row: index };
  if (e.key === 'ContextMenu' || (e.key === 'F10' && e.shiftKey)) return { type: 'longPress', point: centreInTable(cell) };
  return null;
}

// The row's middle in the table's coordinates, where a finger's long press would land.
function centreInTable(cell) {
  const box = cell.getBoundingClientRect();
  return pointInTable(cell.closest('.table'), { clientX: box.left + box.width / 2, clientY: box.top + box.height / 2 });
}

function minusButton(cell, name, section, row) {
  const minus = element('button', 'minus', '\u2212');
  minus.type = 'button';
  minus.ariaLabel = `Delete ${name}`;
  minus.dataset.viewId = `minus:${section}:${row}`;
  minus.addEventListener('click', (e) => { e.stopPropagation(); cell.classList.toggle('swiped'); });
  return minus;
}

// While a row is dragged near the top or bottom of the table's visible part, the table
// scrolls that way, faster the nearer the edge, so a row can be carried to any place.
function scrollWhileNearEdge(table, pointerNow, moved) {
  const step = () => {
    const pointer = pointerNow();
    if (!pointer || !table.isConnected) return;
    const box = table.getBoundingClientRect();
    const top = box.top + (table.insetTop || 0);
    const bottom = box.bottom - (table.insetBottom || 0);
    const depth = pointer.y < top + EDGE_ZONE ? pointer.y - (top + EDGE_ZONE)
      : pointer.y > bottom - EDGE_ZONE ? pointer.y - (bottom - EDGE_ZONE) : 0;
    if (depth) {
      table.scrollTop += Math.max(-1, Math.min(1, depth / EDGE_ZONE)) * EDGE_SPEED;
      moved();
    }
    requestAnimationFrame(step);
  };
  requestAnimationFrame(step);
}

// One place up or down: within the section, else the end of the section above or the start
// of the section below.
function neighbourPlace(table, section, row, up) {
  const count = (s) => Number(table.sections?.[s]?.rowCount) || 0;
  if (up) return row > 0 ? [section, row - 1] : section > 0 ? [section - 1, count(section - 1)] : null;
  if (row < count(section) - 1) return [section, row + 1];
  return section + 1 < (table.sections ?? []).length ? [section + 1, 0] : null;
}
