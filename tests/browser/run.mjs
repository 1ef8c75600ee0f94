// Drives the settings pane in headless Chromium: usage: node run.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
// Opens the first page (account rows with their colours), the enabled accounts page (check
// marks and the settings file on disk), switches to dark appearance, goes back, and saves
// screenshots of both pages.
import { check, expectEqual, finish, launchBrowser, scriptArguments, expectStored } from './harness.mjs';
import { mkdirSync, readFileSync, renameSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('run.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');
const HOME = '0E5B7D28-A4C1-4963-8F2D-B6E3914C70A8';

// The strings stored under a key of the settings file, as the pane last wrote it.
function storedStrings(key) {
  const text = readFileSync(settingsFile, 'utf8');
  const match = text.match(new RegExp(`<key>${key}</key>\\s*(<array>([\\s\\S]*?)</array>|<array/>)`));
  if (!match) return null;
  return [...(match[2] ?? '').matchAll(/<string>([^<]*)<\/string>/g)].map((m) => m[1]).sort();
}

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
const row = (text) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${escape(text)}$`) }) });
const section = (index) => page.locator('.section').nth(index);
const sectionTexts = (index) => section(index).locator('.row .text').allTextContents();
const background = (locator) => locator.evaluate((r) => getComputedStyle(r).backgroundColor);
const checked = (text) => row(text).locator('.accessory.checkmark').count();
const waitForTitle = (title) => page.locator('#title', { hasText: new RegExp(`^${escape(title)}$`) }).waitFor();

try {
  await check('the first page lists the accounts with their colours', async () => {
    await page.goto(address);
    await waitForTitle('Huebadge');
    expectEqual(await page.locator('#back').isHidden(), true, 'back hidden on the first page');
    // Sorted by the names Mail gives them: Office is "f4edcb52Office".
    expectEqual(await sectionTexts(1), ['Office', 'Home', 'iCloud', 'work'], 'account rows');
    expectEqual(await sectionTexts(2), ['Documentation and FAQ', 'Change Log',
      '3rd Party Open Source Licenses'], 'help rows');
    // "#FF0000" at the stored 25 % over white, and a row with no colour stays white.
    expectEqual(await background(row('Home')), 'rgb(255, 191, 191)', 'Home background');
    expectEqual(await background(row('Office')), 'rgb(255, 255, 255)', 'Office background');
    await page.screenshot({ path: join(artifacts, 'root-page.png'), fullPage: true });
    await row('Home').scrollIntoViewIfNeeded();
    await page.screenshot({ path: join(artifacts, 'root-page-accounts.png'), fullPage: true });
  });

  await check('the enabled accounts page starts with All, every account checked', async () => {
    await row('Enabled Accounts (All Inboxes)').click();
    await row('All').waitFor();
    expectEqual(await page.locator('#back-title').textContent(), 'Huebadge', 'back title');
    expectEqual(await sectionTexts(0), ['All', 'Office', 'Home', 'iCloud', 'work'], 'rows');
    expectEqual(await page.locator('.row .accessory.checkmark').count(), 5, 'check marks');
    expectEqual(await row('Home').evaluate((r) => r.classList.contains('tappable')), false,
      'account rows ignore taps while All is on');
    await page.screenshot({ path: join(artifacts, 'enabled-accounts.png'), fullPage: true });
  });

  await check('taps move the check marks and write the file', async () => {
    await row('All').click();
    await page.waitForFunction(() => document.querySelectorAll('.row .accessory.checkmark').length === 0);
    await expectStored(() => storedStrings('allFoldersAccountList'), [], 'stored after All is off');
    await row('Home').click();
    await row('Home').locator('.accessory.checkmark').waitFor();
    expectEqual(await checked('Office'), 0, 'Office unchecked');
    await expectStored(() => storedStrings('allFoldersAccountList'), [HOME], 'stored after Home');
  });

  await check('a save that fails is named in a line that blocks nothing, until one succeeds', async () => {
    // A file where the preferences folder should be: no write below it succeeds, even as root.
    const folder = dirname(settingsFile);
    renameSync(folder, folder + '.saved');
    writeFileSync(folder, 'in the way');
    try {
      await row('Office').click();
      await row('Office').locator('.accessory.checkmark').waitFor();
      const line = page.locator('#save-failure');
      await line.waitFor();
      const text = await line.textContent();
      if (!text.includes(settingsFile)) throw new Error(`the line names no settings file: ${text}`);
      expectEqual(await page.locator('#alert-layer').isHidden(), true, 'no alert');
    } finally {
      rmSync(folder);
      renameSync(folder + '.saved', folder);
    }
    await row('Office').click();
    await page.locator('#save-failure').waitFor({ state: 'hidden' });
    await expectStored(() => storedStrings('allFoldersAccountList'), [HOME], 'stored once the folder is back');
  });

  await check('dark appearance reaches the pane', async () => {
    await page.locator('#dark-toggle').check();
    await page.waitForFunction(() => document.body.dataset.appearance === 'dark');
    const screen = await page.evaluate(async () => (await fetch('/api/screen')).json());
    expectEqual(screen.appearance, 'dark', 'appearance on the server');
  });

  await check('back returns to the first page, drawn dark', async () => {
    await page.locator('#back').click();
    await waitForTitle('Huebadge');
    expectEqual(await page.locator('#back').isHidden(), true, 'back hidden again');
    expectEqual(await background(row('Office')), 'rgb(0, 0, 0)', 'Office background in dark');
    expectEqual(await background(row('Home')), 'rgb(255, 191, 191)', 'Home keeps its colour');
    await page.screenshot({ path: join(artifacts, 'root-page-dark.png'), fullPage: true });
  });

  await check('a help row opens its web page in a new tab', async () => {
    await context.route('https://**/*', (route) => route.fulfill({ contentType: 'text/plain', body: 'help' }));
    const opened = context.waitForEvent('page');
    opened.catch(() => {});
    await row('Change Log').click();
    const tab = await opened;
    await tab.waitForLoadState();
    if (!tab.url().includes('changelog.php?p=huebadge11')) throw new Error(`opened ${tab.url()}`);
    await tab.close();
  });
} finally {
  await close();
}

finish();
