// Drags a slider on an option page in headless Chromium:
// usage: node options.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
// Opens "Accounts - List Options" from the first page, drags its alpha level slider and
// checks that the settings file holds the whole number the row shows. Saves a screenshot.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments } from './harness.mjs';
import { mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('options.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');

// What the settings file holds under a key: the element's name and text, or null.
function stored(key) {
  const text = readFileSync(settingsFile, 'utf8');
  const match = text.match(new RegExp(`<key>${key}</key>\\s*<(\\w+)>([^<]*)</\\w+>`));
  return match ? { kind: match[1], text: match[2] } : null;
}

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const linkRow = (text) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${text}$`) }) });
// A slider row: its title is a label among the row's views.
const sliderRow = (title) => page.locator('.row', { has: page.locator('.label', { hasText: new RegExp(`^${title}$`) }) });
const alphaRow = sliderRow('Alpha Level');
const alphaSlider = alphaRow.locator('input.slider');
const alphaNumber = alphaRow.locator('input.field');

try {
  await check('the list options open from the first page', async () => {
    await page.goto(address);
    await linkRow('Accounts - List Options').click();
    await page.locator('#title', { hasText: /^Accounts - List Options$/ }).waitFor();
    expectEqual(await alphaNumber.inputValue(), '50', 'alpha level shown before a drag');
    expectEqual(await alphaRow.evaluate((r) => r.getBoundingClientRect().height), 70, 'slider row height');
  });

  await check('dragging the alpha slider stores the whole number it shows', async () => {
    await alphaSlider.scrollIntoViewIfNeeded();
    const box = await boxOf(alphaSlider);
    const y = box.y + box.height / 2;
    const released = page.waitForResponse((r) => r.url().endsWith('/api/event') &&
      r.request().postData().includes('touchUpInside'));
    await page.mouse.move(box.x + box.width * 0.5, y);
    await page.mouse.down();
    await page.mouse.move(box.x + box.width * 0.6, y, { steps: 4 });
    await page.mouse.move(box.x + box.width * 0.773, y, { steps: 4 });
    await page.mouse.up();
    await released;
    const shown = await alphaNumber.inputValue();
    expectEqual(/^\d+$/.test(shown), true, `a whole number shown (${shown})`);
    expectEqual(stored('listAlphaLevel'), { kind: 'integer', text: shown }, 'stored alpha level');
    const value = Number(shown);
    expectEqual(value > 60 && value < 90, true, `a value near three quarters (${value})`);
    expectEqual(/<key>profileSaved<\/key>\s*<false\/>/.test(readFileSync(settingsFile, 'utf8')), true,
      'profile marked unsaved');
    await page.screenshot({ path: join(artifacts, 'list-options.png'), fullPage: true });
  });
} finally {
  await close();
}
finish();
