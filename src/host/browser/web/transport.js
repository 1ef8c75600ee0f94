// Talking to the server: the screen, events one at a time, the revision stream, and what an
// event hands out (a file to download, web addresses to open). `render` draws a screen;
// `shownRevision` says the revision of the screen drawn last.
import { $, element } from './dom.js';
import { showError } from './notices.js';

// The last screens the server sent, whole, by their numbers. An event names the newest as
// its basis, and its answer may then carry only the changes since that screen (a JSON Patch).
const kHeldScreens = 4;

export function createTransport({ render, shownRevision }) {
  const heldScreens = new Map();
  let newestHeld = null;
  // Events waiting to go, whether one is on its way, and the newest revision announced.
  const queue = [];
  let busy = false;
  let announced = 0;

  // A refresh the stream announced (a page reloading itself, another program's change) keeps
  // the page as it is when nothing on it changed, so that a tap in progress is not lost.
  async function fetchScreen({ refresh = false } = {}) {
    const answer = await fetch('/api/screen', { cache: 'no-store' });
    if (!answer.ok) return showError(await errorText(answer));
    render(wholeScreen(await answer.json()), { keepIfUnchanged: refresh });
  }

  function wholeScreen(answer) {
    let screen;
    if (Array.isArray(answer.changes)) {
      const basis = heldScreens.get(answer.basis);
      if (!basis) return null;
      screen = applyChanges(structuredClone(basis), answer.changes);
    } else {
      screen = { ...answer };
      delete screen.screenNumber;
    }
    const number = Number(answer.screenNumber);
    if (Number.isSafeInteger(number)) {
      heldScreens.set(number, screen);
      if (heldScreens.size > kHeldScreens) heldScreens.delete(heldScreens.keys().next().value);
      newestHeld = Math.max(newestHeld ?? 0, number);
    }
    return screen;
  }

  // Events go one at a time, in order. A newer slider value, drag point or scroll offset
  // replaces one still waiting for the same view, so a fast drag does not pile up requests.
  function send(event) {
    const last = queue[queue.length - 1];
    const replaces = last && event.type === 'control' && last.type === 'control' &&
      last.id === event.id && last.event === event.event &&
      (event.event === 'valueChanged' || event.event === 'touchDragInside');
    const scrolls = last && event.type === 'scroll' && last.type === 'scroll' && last.id === event.id;
    if (replaces || scrolls) {
      queue[queue.length - 1] = event;
    } else {
      queue.push(event);
    }
    if (!busy) drain();
  }

  async function drain() {
    busy = true;
    while (queue.length) {
      const event = queue.shift();
      try {
        const headers = { 'Content-Type': 'application/json' };
        if (newestHeld !== null) headers['X-Screen-Basis'] = String(newestHeld);
        const answer = await fetch('/api/event', { method: 'POST', headers, body: JSON.stringify(event) });
        if (!answer.ok) {
          // The page may have run ahead (a closed alert, a moved thumb): show the server's state.
          showError(await errorText(answer));
          await fetchScreen();
          continue;
        }
        const screen = wholeScreen(await answer.json());
        // Changes against a screen this page no longer holds: ask for the whole one.
        if (!screen) { await fetchScreen(); continue; }
        render(screen);
        deliver(screen);
      } catch (error) {
        showError('The settings program does not answer: ' + error.message);
      }
    }
    busy = false;
    if (announced > shownRevision()) fetchScreen({ refresh: true });
  }

  function listen() {
    const stream = new EventSource('/api/stream');
    stream.addEventListener('revision', (message) => {
      $('connection').textContent = '';
      announced = Math.max(announced, Number(message.data) || 0);
      if (announced > shownRevision() && !busy) fetchScreen({ refresh: true });
    });
    stream.onerror = () => {
      $('connection').textContent = 'Reconnecting\u2026';
      // The browser gives up on a refused stream (every slot taken): ask again a little later.
      if (stream.readyState === EventSource.CLOSED) setTimeout(listen, 5000);
    };
  }

  return { fetchScreen, send, listen };
}

// The operations the server's patches use: add, remove and replace at a JSON Pointer.
function applyChanges(document, changes) {
  for (const { op, path, value } of changes) {
    const keys = String(path).split('/').slice(1).map((key) => key.replace(/~1/g, '/').replace(/~0/g, '~'));
    if (keys.includes('__proto__')) throw new Error('A change names no part of the screen');
    if (!keys.length) { document = value; continue; }
    const last = keys.pop();
    const parent = keys.reduce((node, key) => node[key], document);
    if (Array.isArray(parent)) {
      const index = last === '-' ? parent.length : Number(last);
      if (op === 'add') parent.splice(index, 0, value);
      else if (op === 'remove') parent.splice(index, 1);
      else parent[index] = value;
    } else if (op === 'remove') {
      delete parent[last];
    } else {
      parent[last] = value;
    }
  }
  return document;
}

async function errorText(answer) {
  try { return (await answer.json()).error || answer.statusText; } catch { return answer.statusText; }
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
