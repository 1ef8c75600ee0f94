// Bringing a profile in: while the page shown takes files (the screen's `takesFiles`), a file
// chosen in the field under the phone or dropped on the phone goes to /api/import, and the
// answer is drawn like an event's (the pane's alert says what became of the file).
import { $ } from './dom.js';
import { showError } from './notices.js';

// The upload is base64 in a JSON body, which the server takes up to 16 MiB.
const kMaxFileBytes = 12 * 1024 * 1024;

// `render` draws the answer; `fetchScreen` asks for the screen after a refusal.
export function createFileImport({ render, fetchScreen }) {
  let takesFiles = false;
  const take = (file) => importFile(file, render, fetchScreen);
  return {
    // What the screen drawn says of files.
    show(screen) {
      takesFiles = Boolean(screen && screen.takesFiles === true);
      $('file-import').hidden = !takesFiles;
    },
    setUp: () => setUpFileImport(() => takesFiles, take),
  };
}

function base64(bytes) {
  let binary = '';
  for (let at = 0; at < bytes.length; at += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  }
  return btoa(binary);
}

async function importFile(file, render, fetchScreen) {
  if (!file) return;
  if (file.size > kMaxFileBytes) {
    showError(`${file.name} is too large for a profile (at most ${kMaxFileBytes / (1024 * 1024)} MiB).`);
    return;
  }
  const data = base64(new Uint8Array(await file.arrayBuffer()));
  try {
    const answer = await fetch('/api/import', {
      method: 'POST', headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify({ fileName: file.name, data }),
    });
    if (!answer.ok) {
      const refusal = await answer.json().catch(() => ({}));
      showError(refusal.error || answer.statusText);
      await fetchScreen();
      return;
    }
    render(await answer.json());
  } catch (error) {
    showError('The settings program does not answer: ' + error.message);
  }
}

function setUpFileImport(takesFiles, take) {
  const input = $('profile-file');
  input.addEventListener('change', async () => {
    const [file] = input.files;
    input.value = '';
    if (takesFiles()) await take(file);
  });
  const phone = $('phone');
  phone.addEventListener('dragover', (e) => {
    if (!takesFiles() || !e.dataTransfer || !e.dataTransfer.types.includes('Files')) return;
    e.preventDefault();
    phone.classList.add('dropping');
  });
  phone.addEventListener('dragleave', () => phone.classList.remove('dropping'));
  phone.addEventListener('drop', (e) => {
    phone.classList.remove('dropping');
    if (!takesFiles()) return;
    e.preventDefault();
    take(e.dataTransfer.files[0]);
  });
}
