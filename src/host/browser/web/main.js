// Starts the page: the first screen, the revision stream and the controls outside the phone.
import { $ } from './shared.js';
import { fetchScreen, listen, send } from './transport.js';
import { release } from './views.js';
import { setUpFileImport } from './imports.js';

// Listeners on the window run after the held element's own pointerup.
window.addEventListener('pointerup', () => setTimeout(release));
window.addEventListener('pointercancel', () => setTimeout(release));
$('back').addEventListener('click', () => send({ type: 'back' }));
// Alt+Left goes back, as in a browser, while there is a way back and no alert.
document.addEventListener('keydown', (e) => {
  if (e.key !== 'ArrowLeft' || !e.altKey || $('back').hidden || !$('alert-layer').hidden) return;
  e.preventDefault();
  send({ type: 'back' });
});
$('dark-toggle').addEventListener('change', (e) => send({ type: 'appearance', value: e.target.checked ? 'dark' : 'light' }));
setUpFileImport();
fetchScreen();
listen();
