// Talking to the server: the screen, events one at a time, the revision stream, and what an
// event hands out (a file to download, web addresses to open).
import { $, element, state } from './shared.js';
import { render } from './views.js';

// A refresh the stream announced (a page reloading itself, another program's change) keeps
// the page as it is when nothing on it changed, so that a tap in progress is not lost.
export async function fetchScreen({ refresh = false } = {}) {
  const answer = await fetch('/api/screen', { cache: 'no-store' });
  if (!answer.ok) return showError(await errorText(answer));
  render(await answer.json(), { keepIfUnchanged: refresh });
}

async function errorText(answer) {
  try { return (await answer.json()).error || answer.statusText; } catch { return answer.statusText; }
}

// Events go one at a time, in order. A newer slider value or drag point replaces one still
// waiting for the same view, so a fast drag does not pile up requests.
export function send(event) {
  const last = state.queue[state.queue.length - 1];
  const replaces = last && event.type === 'control' && last.type === 'control' &&
    last.id === event.id && last.event === event.event &&
    (event.event === 'valueChanged' || event.event === 'touchDragInside');
  if (replaces) {
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
  if (state.announced > state.revision) fetchScreen({ refresh: true });
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

export function listen() {
  const stream = new EventSource('/api/stream');
  stream.addEventListener('revision', (message) => {
    $('connection').textContent = '';
    state.announced = Math.max(state.announced, Number(message.data) || 0);
    if (state.announced > state.revision && !state.busy) fetchScreen({ refresh: true });
  });
  stream.onerror = () => {
    $('connection').textContent = 'Reconnecting\u2026';
    // The browser gives up on a refused stream (every slot taken): ask again a little later.
    if (stream.readyState === EventSource.CLOSED) setTimeout(listen, 5000);
  };
}

let errorTimer = 0;
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
