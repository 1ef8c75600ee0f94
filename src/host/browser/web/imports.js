// Bringing a profile in: while the page shown takes files (the screen's `takesFiles`), a file
// chosen in the field under the phone or dropped on the phone goes to /api/import, and the
// answer is drawn like an event's (the pane's alert says what became of the file).
import { $, state } from './shared.js';
import { fetchScreen, showError } from './transport.js';
import { render } from './views.js';

// The upload is base64 in a JSON body, which the server takes up to 16 MiB.
const kMaxFileBytes = 12 * 1024 * 1024;

export function showFileImport(screen) {
  $('file-import').hidden = !(screen && screen.takesFiles === true);
}

function takesFiles() {
  return Boolean(state.screen && state.screen.takesFiles === true);
}

function base64(bytes) {
  let binary = '';
  for (let at = 0; at < bytes.length; at += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(at, at + 0x8000));
  }
  return btoa(binary);
}

async function importFile(file) {
  if (!file || !takesFiles()) return;
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

export function setUpFileImport() {
  const input = $('profile-file');
  input.addEventListener('change', async () => {
    const [file] = input.files;
    input.value = '';
    await importFile(file);
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
    importFile(e.dataTransfer.files[0]);
  });
}
