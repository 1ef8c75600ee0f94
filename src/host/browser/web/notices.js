// Lines outside the phone that tell the user what went wrong, and the polite announcer.
import { $ } from './dom.js';

let errorTimer = 0;
let announceTimer = 0;

// Tells a screen reader, politely, once the page has settled; a later text replaces one not
// yet said.
export function announce(text) {
  clearTimeout(announceTimer);
  announceTimer = setTimeout(() => { $('announcer').textContent = text; }, 150);
}

// A refused event or a lost connection, shown for a few seconds.
export function showError(message) {
  const box = $('error');
  box.textContent = message;
  box.hidden = false;
  clearTimeout(errorTimer);
  errorTimer = setTimeout(() => { box.hidden = true; }, 4000);
}

// A settings file that could not be written: named until a later save succeeds. It does not
// block the page, so the user can go on (and the next change tries to save again).
export function showSaveFailure(failure) {
  const line = $('save-failure');
  const shown = failure && typeof failure === 'object';
  line.hidden = !shown;
  line.textContent = shown ? `Could not save ${failure.path}: ${failure.message}` : '';
}
