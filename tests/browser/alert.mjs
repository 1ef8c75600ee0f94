// Answers an alert in headless Chromium: usage: node alert.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
// The program serves the test page "TestAlertPage": its "Rename" row opens a modal alert with
// one name field, "Save" and "Cancel". Saving shows the name on the row and writes it to the
// settings file; cancelling changes neither. Saves a screenshot of the open alert.
import { check, expectEqual, finish, launchBrowser, scriptArguments, expectStored } from './harness.mjs';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('alert.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');

// The string stored under the test key, null while the file or the key is missing.
function storedName() {
  if (!existsSync(settingsFile)) return null;
  const match = readFileSync(settingsFile, 'utf8').match(/<key>testAlertName<\/key>\s*<string>([^<]*)<\/string>/);
  return match ? match[1] : null;
}

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const renameRow = page.locator('.row', { has: page.locator('.text', { hasText: /^Rename$/ }) });
const layer = page.locator('#alert-layer');
const field = page.locator('#alert-fields input');
const action = (title) => page.locator('#alert-actions .alert-action', { hasText: new RegExp(`^${title}$`) });
// An empty detail label is not drawn at all.
const shownName = async () => (await renameRow.locator('.detail').allTextContents()).join('');
// The alert as the user sees it: its texts, fields and buttons, in order.
const shownAlert = () => page.evaluate(() => ({
  title: document.querySelector('#alert-title').textContent,
  message: document.querySelector('#alert-message').textContent,
  fields: [...document.querySelectorAll('#alert-fields input')].map((input) => [input.placeholder, input.value]),
  actions: [...document.querySelectorAll('#alert-actions .alert-action')].map((button) => button.textContent),
}));
async function openAlert() {
  await renameRow.click();
  await layer.waitFor({ state: 'visible' });
}
// Answers through a button and waits for the server's screen without the alert.
async function answer(title) {
  const settled = page.waitForResponse((response) => response.url().endsWith('/api/event'));
  await action(title).click();
  // The whole screen, or the changes since the one the page held: the alert turns null.
  const body = await (await settled).json();
  const alert = body.changes ? body.changes.find((change) => change.path === '/alert')?.value : body.alert;
  expectEqual(alert, null, `alert after ${title}`);
  await layer.waitFor({ state: 'hidden' });
}

try {
  await check('the test page starts with an empty name', async () => {
    await page.goto(address);
    await page.locator('#title', { hasText: /^Alert Test$/ }).waitFor();
    await renameRow.waitFor();
    expectEqual(await page.locator('#back').isHidden(), true, 'back hidden on the first page');
    expectEqual(await shownName(), '', 'name on the row');
    expectEqual(storedName(), null, 'stored name');
  });

  await check('the row presents a modal alert', async () => {
    await openAlert();
    expectEqual(await shownAlert(), { title: 'Rename', message: 'Enter a name for the row',
      fields: [['Name', '']], actions: ['Save', 'Cancel'] }, 'alert');
    expectEqual(await page.locator('#alert').getAttribute('aria-modal'), 'true', 'modal');
    expectEqual(await page.evaluate(() => document.activeElement?.placeholder), 'Name', 'focused field');
    await page.screenshot({ path: join(artifacts, 'alert.png'), fullPage: true });
    // The server takes nothing but the alert's answer meanwhile.
    const tap = await page.evaluate(async () => (await fetch('/api/event', { method: 'POST',
      headers: { 'Content-Type': 'application/json' }, body: '{"type":"tapRow","section":0,"row":0}' })).status);
    expectEqual(tap, 400, 'a tap under the alert');
  });

  await check('Save stores the typed name and shows it on the row', async () => {
    await field.fill('Bureau 7');
    await answer('Save');
    await renameRow.locator('.detail', { hasText: /^Bureau 7$/ }).waitFor();
    await expectStored(storedName, 'Bureau 7', 'stored name');
  });

  await check('Cancel changes neither the row nor the file', async () => {
    const before = readFileSync(settingsFile);
    await openAlert();
    expectEqual((await shownAlert()).fields, [['Name', '']], 'a fresh field');
    await field.fill('Discarded');
    await answer('Cancel');
    expectEqual(await shownName(), 'Bureau 7', 'name on the row');
    expectEqual(readFileSync(settingsFile).equals(before), true, 'settings file unchanged');
  });
} finally {
  await close();
}

finish();
