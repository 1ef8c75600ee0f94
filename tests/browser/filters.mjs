// Drives the message filter list in headless Chromium: usage: node filters.mjs ADDRESS
// ARTIFACT_DIR DEVICE_ROOT, with the program started on HBFilterController. Adds a filter,
// types a From pattern in its editor and sees the formula, goes back, drags the filter to
// DISABLED and checks the settings file; then hears a ringtone chosen for a second filter and
// drags that one into the drop zone.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments, expectStored } from './harness.mjs';
import { mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('filters.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');

// The values under a record key in a list, as the pane last wrote the file.
function storedValues(list, key) {
  const text = readFileSync(settingsFile, 'utf8');
  const match = text.match(new RegExp(`<key>${list}</key>\\s*(<array>([\\s\\S]*?)</array>|<array/>)`));
  if (!match) return null;
  return [...(match[2] ?? '').matchAll(new RegExp(`<key>${key}</key>\\s*<string>([^<]*)</string>`, 'g'))].map((m) => m[1]);
}

// The "from" patterns of the records of a list.
const storedPatterns = (list) => storedValues(list, 'from');

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
const section = (index) => page.locator('.section').nth(index);
const sectionTexts = (index) => section(index).locator('.row .text').allTextContents();
const row = (text) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${escape(text)}$`) }) });
const waitForTitle = (title) => page.locator('#title', { hasText: new RegExp(`^${escape(title)}$`) }).waitFor();
const waitForTexts = (index, texts) => page.waitForFunction(([i, expected]) => {
  const shown = [...document.querySelectorAll('.section')[i]?.querySelectorAll('.row .text') ?? []];
  return JSON.stringify(shown.map((t) => t.textContent)) === JSON.stringify(expected);
}, [index, texts]);

try {
  await check('the empty list offers the add row and adding puts a filter under ENABLED', async () => {
    await page.goto(address);
    await waitForTitle('Filters');
    expectEqual(await page.locator('.section .section-header').allTextContents(),
      ['ENABLED', 'DISABLED', 'DRAG BELOW, TO DELETE'], 'headers');
    expectEqual(await sectionTexts(1), ['Tap, to add new filter'], 'disabled rows');
    await row('Tap, to add new filter').click();
    await waitForTexts(0, ['']);
    await expectStored(() => storedPatterns('filtersEnabled'), [''], 'stored after adding');
  });

  await check('typing a From pattern shows the formula and stores it', async () => {
    await section(0).locator('.row').first().click();
    await waitForTitle('Filter');
    const from = row('From').locator('input');
    await from.fill('^boss@');
    await from.press('Enter');
    await waitForTexts(1, ['From']);
    await expectStored(() => storedPatterns('filtersEnabled'), ['^boss@'], 'stored pattern');
    await page.screenshot({ path: join(artifacts, 'filter-editor.png'), fullPage: true });
  });

  await check('back on the list, the filter drags into DISABLED', async () => {
    await page.locator('#back').click();
    await waitForTitle('Filters');
    await waitForTexts(0, ['^boss@']);
    const handle = section(0).locator('.row').first().locator('.reorder');
    const from = await boxOf(handle);
    const to = await boxOf(row('Tap, to add new filter'));
    await page.mouse.move(from.x + from.width / 2, from.y + from.height / 2);
    await page.mouse.down();
    await page.mouse.move(to.x + to.width / 2, to.y + to.height / 2, { steps: 8 });
    await page.mouse.up();
    await waitForTexts(1, ['Tap, to add new filter', '^boss@']);
    expectEqual(await sectionTexts(0), [], 'enabled rows');
    await expectStored(() => storedPatterns('filtersEnabled'), [], 'stored enabled list');
    await expectStored(() => storedPatterns('filtersDisabled'), ['^boss@'], 'stored disabled list');
    await page.screenshot({ path: join(artifacts, 'filter-list.png'), fullPage: true });
  });
  await check('a chosen ringtone plays in the page and is stored', async () => {
    await row('Tap, to add new filter').click();
    await waitForTexts(0, ['']);
    await section(0).locator('.row').first().click();
    await waitForTitle('Filter');
    await row('Alert Sound').click();
    await waitForTitle('Alert Sound');
    expectEqual(await page.locator('.subviews').filter({ hasText: 'RINGTONES' }).count(), 1, 'ringtone header');
    const played = page.waitForResponse((r) => r.url().includes('/api/sound/') && r.status() < 300);
    await row('Marimba').click();
    const response = await played;
    expectEqual(decodeURIComponent(new URL(response.url()).pathname),
      '/api/sound/Library/Ringtones/Marimba.m4r', 'sound address');
    await row('Marimba').locator('.accessory.checkmark').waitFor();
    await expectStored(() => storedValues('filtersEnabled', 'alertSound'), ['system:Marimba'], 'stored sound');
  });

  await check('a filter dropped on DRAG BELOW, TO DELETE is deleted', async () => {
    await page.locator('#back').click();
    await waitForTitle('Filter');
    await page.locator('#back').click();
    await waitForTitle('Filters');
    const handle = section(0).locator('.row').first().locator('.reorder');
    const from = await boxOf(handle);
    const to = await boxOf(section(2));
    await page.mouse.move(from.x + from.width / 2, from.y + from.height / 2);
    await page.mouse.down();
    await page.mouse.move(to.x + to.width / 2, to.y + 8, { steps: 8 });
    await page.mouse.up();
    await waitForTexts(0, []);
    await expectStored(() => storedPatterns('filtersEnabled'), [], 'stored enabled list');
    await expectStored(() => storedPatterns('filtersDisabled'), ['^boss@'], 'disabled list kept');
  });
} finally {
  await close();
}

finish();
