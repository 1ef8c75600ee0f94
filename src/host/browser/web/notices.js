// Lines outside the phone that tell the user what went wrong.
import { $ } from './dom.js';

let errorTimer = 0;
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
