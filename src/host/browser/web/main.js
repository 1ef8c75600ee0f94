// Starts the page: makes the modules and hands each the pieces it needs, so that no module
// imports another that imports it back; then the first screen, the revision stream and the
// controls outside the phone.
import { $ } from './dom.js';
import { createAlerts } from './alerts.js';
import { createControls } from './controls.js';
import { createFileImport } from './imports.js';
import { createFocusTargets } from './focus.js';
import { createGrip } from './grip.js';
import { createHistory } from './history.js';
import { createScreen } from './screen.js';
import { createTables } from './tables.js';
import { createTransport } from './transport.js';
import { createViews } from './views.js';

// The transport draws what the server answers on the screen, which is made below.
let screen = null;
const transport = createTransport({
  render: (shown, options) => screen.render(shown, options),
  shownRevision: () => screen.revision(),
});
const { send, fetchScreen, listen } = transport;
const grip = createGrip();
const focusTargets = createFocusTargets();
const views = createViews(createControls({ send, grip }));
const tables = createTables({ views, send, grip, focusTargets });
views.addKind('UITableView', tables.renderTable);
const alerts = createAlerts({ send, focusTargets });
const fileImport = createFileImport({ render: (shown) => screen.render(shown), fetchScreen });
const history = createHistory({ send });
screen = createScreen({ views, tables, alerts, fileImport, history, grip, focusTargets });

// Listeners on the window run after the held element's own pointerup.
window.addEventListener('pointerup', () => setTimeout(screen.release));
window.addEventListener('pointercancel', () => setTimeout(screen.release));
$('back').addEventListener('click', () => send({ type: 'back' }));
// Alt+Left goes back, as in a browser, while there is a way back and no alert.
document.addEventListener('keydown', (e) => {
  if (e.key !== 'ArrowLeft' || !e.altKey || $('back').hidden || !$('alert-layer').hidden) return;
  e.preventDefault();
  send({ type: 'back' });
});
$('dark-toggle').addEventListener('change', (e) => send({ type: 'appearance', value: e.target.checked ? 'dark' : 'light' }));
fileImport.setUp();
history.setUp();
fetchScreen();
listen();
