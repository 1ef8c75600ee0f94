// Drawing the screen: the appearance, the phone's frame, navigation and the page's views, then
// the alert, the save line, the file field, the sounds and the undo buttons; tables that alone changed are drawn
// again in place, and while a control is held the page is patched instead. The screen owns
// what it drew last; the views, tables, alert, file field and undo buttons are handed to it.
import { $, element } from './dom.js';
import { announce, showSaveFailure } from './notices.js';
import { playSounds } from './sounds.js';

export function createScreen({ views, tables, alerts, fileImport, history, grip, focusTargets }) {
  // The last screen drawn, what the page draws of it, and its revision.
  let current = null;
  let drawn = null;
  let revision = 0;
  // The screen that came while a control was held, drawn on release.
  let deferred = null;
  // The page's texts by key, to tell a screen reader what a change altered.
  let texts = null;
  // The view ids of what opened each page under the one shown.
  const openers = [];

  function render(screen, { keepIfUnchanged = false } = {}) {
    if (!screen || typeof screen !== 'object') return;
    // An answer that overtook a newer one is stale.
    if ((Number(screen.revision) || 0) < revision) return;
    const shown = shownContent(screen);
    const changedTables = differingTables(current, screen);
    // A dragged row's table takes the rows that scroll into view; any other held control
    // keeps its element until it is let go.
    if (grip.held && !(changedTables && grip.held.classList.contains('reorder'))) return patch(screen);
    if (keepIfUnchanged && shown === drawn) return keep(screen);
    if (changedTables) return redrawTables(screen, shown, changedTables);
    const focus = rememberFocus();
    const before = current;
    const moved = JSON.stringify(before?.navigation) !== JSON.stringify(screen.navigation);
    current = screen;
    drawn = shown;
    revision = Math.max(revision, Number(screen.revision) || 0);
    document.body.dataset.appearance = screen.appearance === 'dark' ? 'dark' : 'light';
    $('dark-toggle').checked = screen.appearance === 'dark';
    renderFrame(screen.screen || {});
    renderNavigation(screen.navigation || {});
    const content = $('content');
    const offsets = tables.tableOffsets(content);
    content.replaceChildren();
    if (screen.page) content.append(views.renderView(screen.page));
    tables.placeTables(content, offsets);
    const alertOpen = alerts.renderAlert(screen.alert, focus?.id);
    showSaveFailure(screen.saveFailure);
    fileImport.show(screen);
    playSounds(screen.sounds);
    if (!alertOpen) placeFocus(focus, moved, depthOf(before), depthOf(screen));
    announceChanges(moved, screen);
    history.show(screen.history);
  }

  // The tables that differ between the screen shown and the new one, when nothing outside them
  // does (else null: the page is drawn anew). For each, the rows to draw again ([section,
  // position in `rows`]) when only the contents of the rows it holds changed, else null.
  function differingTables(before, after) {
    const found = new Map();
    const table = (a, b) => {
      if (views.kindOf(a) !== 'UITableView' || a.id === undefined || a.id !== b.id) return undefined;
      const shown = document.querySelector(`#content .table[data-id="${CSS.escape(String(b.id))}"]`);
      if (!shown) return false;
      if (!alike(a, b)) found.set(shown, { node: b, rows: changedRows(a, b) });
      return true;
    };
    return before && alike(before, after, (key) => ASIDE.has(key), table) && found.size ? found : null;
  }

  // Draws only the tables that changed, in place: the rest of the page, and each table's
  // scroll, stay as they are.
  function redrawTables(screen, shown, changedTables) {
    const focus = rememberFocus();
    current = screen;
    drawn = shown;
    revision = Math.max(revision, Number(screen.revision) || 0);
    // No row to draw again: only the offset the program keeps moved, which the page set itself.
    for (const [table, { node, rows }] of changedTables) {
      if (rows?.length === 0) continue;
      if (!(rows && tables.redrawRows(table, node, rows))) tables.refillTable(table, node);
    }
    showSaveFailure(screen.saveFailure);
    playSounds(screen.sounds);
    placeFocus(focus, false, depthOf(screen), depthOf(screen));
    announceChanges(false, screen);
    history.show(screen.history);
  }

  // After a redraw, the keyboard's focus goes where the user expects it: where the last key
  // sent it (a moved row's handle), back to what was focused before an alert, to the row a page
  // was opened from when going back to it, to the title of a page newly opened, else to the
  // element that had it.
  function placeFocus(focus, moved, was, depth) {
    const next = focusTargets.take();
    if (next && focusView(next)) return;
    if (!moved) return restoreFocus(focus);
    const opener = depth < was ? openers[depth - 1] : null;
    openers.length = Math.max(0, Math.min(was, depth) - 1);
    if (depth > was) openers.push(focus?.id ?? null);
    // The page gone back to shows where it was left, so its opener takes focus where it stands.
    if (!(opener && focusView(opener, { preventScroll: true }))) $('title').focus();
  }

  function keep(screen) {
    revision = Math.max(revision, Number(screen.revision) || 0);
    playSounds(screen.sounds);
  }

  // While a control is held, carry the new screen's texts, colours, values and pictures over
  // to the elements on the page that have the same key, and draw it whole on release.
  function patch(screen) {
    deferred = screen;
    revision = Math.max(revision, Number(screen.revision) || 0);
    showSaveFailure(screen.saveFailure);
    playSounds(screen.sounds);
    history.show(screen.history);
    const fresh = element('div');
    if (screen.page) fresh.append(views.renderView(screen.page));
    for (const next of fresh.querySelectorAll('[data-key]')) {
      const shown = document.querySelector(`#content [data-key="${CSS.escape(next.dataset.key)}"]`);
      if (!shown || shown === grip.held || shown.tagName !== next.tagName) continue;
      shown.style.cssText = next.style.cssText;
      if (next.tagName === 'IMG' && shown.src !== next.src) shown.src = next.src;
      if (next.tagName === 'INPUT') { shown.checked = next.checked; shown.value = next.value; }
      if (!next.children.length && shown.textContent !== next.textContent) shown.textContent = next.textContent;
    }
  }

  function release() {
    if (!grip.letGo()) return;
    const screen = deferred;
    deferred = null;
    if (screen) render(screen);
  }

  // Screen readers hear, politely, the title of a page they reach, and otherwise the texts on
  // the page that a change altered (a search formula, a test result, an unsaved profile).
  function announceChanges(moved, screen) {
    const shownTexts = visibleTexts();
    const previous = texts ?? new Map();
    texts = shownTexts;
    if (moved) return announce(screen.navigation?.title || '');
    const changed = [...shownTexts].filter(([key, text]) => previous.has(key) && previous.get(key) !== text && text);
    if (changed.length && changed.length <= 3) announce(changed.map(([, text]) => text).join('. '));
  }

  return { render, release, revision: () => revision };
}

// Keys of a screen that the page shows apart from its views.
const ASIDE = new Set(['revision', 'sounds', 'saveFailure', 'history', 'sharedFile', 'openedURLs']);

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

function visibleTexts() {
  const texts = new Map();
  for (const view of document.querySelectorAll('#content [data-key]')) {
    if (view.tagName === 'INPUT' || view.children.length || view.closest('[data-view-id]:focus')) continue;
    texts.set(view.dataset.key, view.textContent);
  }
  return texts;
}
