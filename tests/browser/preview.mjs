// Drags the width slider of "Accounts - List Options" in headless Chromium and watches the
// label preview above the rows: its labels must change while the slider is still held, with
// no drawing fetched for it and nothing written to the settings file until the release.
// Saves a screenshot of the drag.
// usage: node preview.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments, expectStored } from './harness.mjs';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('preview.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');
const settingsText = () => readFileSync(settingsFile, 'utf8');

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const linkRow = (text) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${text}$`) }) });
const widthRow = page.locator('.row', { has: page.locator('.label', { hasText: /^Width$/ }) });
const widthSlider = widthRow.locator('input.slider');
const preview = page.locator('.table-header [data-type="HBLabelPreviewView"]');
// What the preview shows: its own colour and each label's place and colour.
const looksOf = () => page.evaluate(() => {
  const shown = document.querySelector('.table-header [data-type="HBLabelPreviewView"]');
  return [shown.style.backgroundColor, ...[...shown.querySelectorAll('[data-type="HBPreviewLabelView"]')]
    .map((label) => label.style.cssText)].join('|');
});
async function looksChangeFrom(before) {
  for (let tries = 0; tries < 100; tries += 1) {
    if (await looksOf() !== before) return;
    await page.waitForTimeout(50);
  }
  throw new Error('the preview did not change');
}
const drawingFetches = [];
page.on('request', (request) => { if (request.url().includes('/api/drawing/')) drawingFetches.push(request.url()); });

try {
  await check('the list options show a preview above their first row', async () => {
    await page.goto(address);
    await linkRow('Accounts - List Options').click();
    await page.locator('#title', { hasText: /^Accounts - List Options$/ }).waitFor();
    await preview.waitFor();
    expectEqual(await preview.locator('[data-type="HBPreviewLabelView"]').count() > 0, true, 'labels of their own');
    const header = await boxOf(preview);
    const firstRow = await boxOf(page.locator('.row').first());
    expectEqual(header.y + header.height <= firstRow.y, true, 'the preview sits above the rows');
  });

  await check('the preview follows the width slider before the release', async () => {
    const before = await looksOf();
    const written = settingsText();
    await widthSlider.scrollIntoViewIfNeeded();
    const box = await boxOf(widthSlider);
    const y = box.y + box.height / 2;
    await page.mouse.move(box.x + 2, y);
    await page.mouse.down();
    const fetchedBefore = drawingFetches.length;
    await page.mouse.move(box.x + box.width * 0.05, y, { steps: 3 });
    await page.mouse.move(box.x + box.width * 0.12, y, { steps: 3 });
    await looksChangeFrom(before);
    expectEqual(settingsText() === written, true, 'nothing written while the slider is held');
    expectEqual(drawingFetches.slice(fetchedBefore), [], 'no drawing fetched during the drag');
    await page.screenshot({ path: join(artifacts, 'preview-drag.png'), fullPage: true });
    const released = page.waitForResponse((r) => r.url().endsWith('/api/event') &&
      r.request().postData().includes('touchUpInside'));
    await page.mouse.up();
    await released;
    const shown = await widthRow.locator('input.field').inputValue();
    await expectStored(() => new RegExp(`<key>listWidth</key>\\s*<integer>${shown}</integer>`).test(settingsText()), true,
      `the released width ${shown} is stored`);
  });

  await check('dark appearance recolours the preview', async () => {
    const light = await looksOf();
    await page.locator('#dark-toggle').check();
    await page.waitForFunction(() => document.body.dataset.appearance === 'dark');
    await looksChangeFrom(light);
    await page.screenshot({ path: join(artifacts, 'preview-dark.png'), fullPage: true });
  });
} finally {
  await close();
}
finish();
