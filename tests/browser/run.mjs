// Drives the settings page in headless Chromium: usage: node run.mjs ADDRESS ARTIFACT_DIR
// Checks what the sample screen shows and does (rows, a tap, the alert, the switch and the
// slider, dark appearance, back, a long press that downloads a file) and saves screenshots.
import { chromium } from 'playwright-core';
import { mkdtempSync, mkdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const [address, artifacts] = process.argv.slice(2);
if (!address || !artifacts) {
  console.error('usage: node run.mjs ADDRESS ARTIFACT_DIR');
  process.exit(2);
}
mkdirSync(artifacts, { recursive: true });

let passed = 0;
let failed = 0;
async function check(name, body) {
  try {
    await body();
    passed += 1;
  } catch (error) {
    failed += 1;
    console.log(`FAIL ${name}: ${error.message.split('\n')[0]}`);
  }
}
function expectEqual(actual, expected, what) {
  if (JSON.stringify(actual) !== JSON.stringify(expected)) {
    throw new Error(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
  }
}

const profile = mkdtempSync(join(tmpdir(), 'huebadge-chromium-'));
const context = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  acceptDownloads: true,
  viewport: { width: 520, height: 960 },
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const page = context.pages()[0] ?? await context.newPage();
page.setDefaultTimeout(5000);
const rowTexts = () => page.locator('.row .text').allTextContents();
const row = (text) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${text}$`) }) });
const detailOf = async (text) => (await row(text).locator('.detail').textContent()) ?? '';
const serverScreen = () => page.evaluate(async () => (await fetch('/api/screen')).json());

try {
  await check('the token link leaves a clean address and shows the first page', async () => {
    await page.goto(address);
    await page.locator('#title', { hasText: 'Huebadge' }).waitFor();
    expectEqual(new URL(page.url()).search, '', 'query after the redirect');
    expectEqual(await rowTexts(), ['Label Type', 'Enabled', '', 'Name', 'Filters', 'Help'], 'rows');
    expectEqual(await page.locator('.section-header').first().textContent(), 'GENERAL', 'header');
    expectEqual(await page.locator('#back').isHidden(), true, 'back hidden on the first page');
    await page.screenshot({ path: join(artifacts, 'settings-light.png') });
  });

  await check('a tap pushes the choice page and a choice moves the check mark', async () => {
    await row('Label Type').click();
    await page.locator('#title', { hasText: 'Label Type' }).waitFor();
    expectEqual(await page.locator('#back-title').textContent(), 'Huebadge', 'back title');
    expectEqual(await row('Bar').locator('.accessory.checkmark').count(), 1, 'Bar checked');
    await row('Dot').click();
    await row('Dot').locator('.accessory.checkmark').waitFor();
    expectEqual(await row('Bar').locator('.accessory.checkmark').count(), 0, 'Bar unchecked');
  });

  await check('back returns with the new choice shown', async () => {
    await page.locator('#back').click();
    await page.locator('#title', { hasText: 'Huebadge' }).waitFor();
    expectEqual(await detailOf('Label Type'), 'Dot', 'detail');
  });

  await check('the alert asks for a name and saves what was typed', async () => {
    await row('Name').click();
    await page.locator('#alert-layer').waitFor({ state: 'visible' });
    expectEqual(await page.locator('#alert-title').textContent(), 'Name', 'alert title');
    expectEqual(await page.locator('.alert-action').allTextContents(), ['Save', 'Cancel'], 'actions');
    const field = page.locator('#alert-fields input');
    expectEqual(await field.inputValue(), 'Home', 'prefilled text');
    await field.fill('Work account');
    await page.locator('.alert-action', { hasText: 'Save' }).click();
    await page.locator('#alert-layer').waitFor({ state: 'hidden' });
    await page.waitForFunction(() => [...document.querySelectorAll('.row .detail')].some((d) => d.textContent === 'Work account'));
  });

  await check('the switch and the slider send their values', async () => {
    await page.locator('.switch').click();
    await page.locator('.slider').fill('60');
    await page.locator('.label', { hasText: 'Alpha 60' }).waitFor();
    const views = (await serverScreen()).page.sections[0].rows;
    expectEqual(views[1].views[0].on, false, 'switch on the server');
    expectEqual(views[2].views[1].value, 60, 'slider on the server');
  });

  await check('dragging the slider updates the page live without ending the drag', async () => {
    const slider = page.locator('.slider');
    const box = await slider.boundingBox();
    await slider.evaluate((s) => { window.draggedSlider = s; });
    await page.mouse.move(box.x + box.width * 0.6, box.y + box.height / 2);
    await page.mouse.down();
    for (const fraction of [0.7, 0.8, 0.9]) {
      await page.mouse.move(box.x + box.width * fraction, box.y + box.height / 2, { steps: 4 });
    }
    await page.waitForFunction(() => /Alpha (8|9)\d/.test(document.querySelector('.label').textContent));
    expectEqual(await page.evaluate(() => document.querySelector('.slider') === window.draggedSlider), true,
      'the dragged slider is still the same element');
    await page.mouse.up();
    await page.waitForFunction(() => document.querySelector('.slider') !== window.draggedSlider);
    const value = (await serverScreen()).page.sections[0].rows[2].views[1].value;
    if (!(value > 80 && value <= 100)) throw new Error(`slider value on the server: ${value}`);
  });

  await check('an editing list reorders by dragging and deletes through the minus button', async () => {
    await row('Filters').click();
    await page.locator('#title', { hasText: 'Filters' }).waitFor();
    expectEqual(await rowTexts(), ['Work', 'Family', 'News'], 'rows');
    await row('News').locator('.reorder').dragTo(row('Work'));
    await page.waitForFunction(() => document.querySelector('.row .text').textContent === 'News');
    expectEqual(await rowTexts(), ['News', 'Work', 'Family'], 'after the move');
    await row('Family').locator('.minus').click();
    await row('Family').locator('.delete-button').click();
    await page.waitForFunction(() => document.querySelectorAll('.row').length === 2);
    expectEqual(await rowTexts(), ['News', 'Work'], 'after the delete');
    await page.locator('#back').click();
    await page.locator('#title', { hasText: 'Huebadge' }).waitFor();
    expectEqual(await detailOf('Filters'), '2', 'count on the first page');
  });

  await check('an opened web address comes up in a new tab', async () => {
    await context.route('https://example.invalid/**', (route) => route.fulfill({ contentType: 'text/plain', body: 'help' }));
    const opened = context.waitForEvent('page');
    opened.catch(() => {});
    await row('Help').click();
    const tab = await opened;
    await tab.waitForURL('https://example.invalid/huebadge/help');
    await tab.close();
  });

  await check('dark appearance follows the toggle', async () => {
    await page.locator('#dark-toggle').check();
    await page.waitForFunction(() => document.body.dataset.appearance === 'dark');
    const background = await row('Name').evaluate((r) => getComputedStyle(r).backgroundColor);
    expectEqual(background, 'rgb(28, 28, 30)', 'row background');
    expectEqual((await serverScreen()).appearance, 'dark', 'appearance on the server');
    await page.screenshot({ path: join(artifacts, 'settings-dark.png') });
  });

  await check('a one-second press downloads the shared file', async () => {
    const box = await row('Name').boundingBox();
    const download = page.waitForEvent('download');
    download.catch(() => {});
    await page.mouse.move(box.x + 40, box.y + box.height / 2);
    await page.mouse.down();
    const file = await download;
    await page.mouse.up();
    expectEqual(file.suggestedFilename(), 'huebadge-demo.txt', 'file name');
    expectEqual(await page.locator('#alert-layer').isHidden(), true, 'the press tapped nothing');
  });
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
