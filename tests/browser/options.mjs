// Drags a slider on an option page in headless Chromium:
// usage: node options.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
// Opens "Accounts - List Options" from the first page, drags its alpha level slider and
// checks that the settings file holds the whole number the row shows. Saves a screenshot.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments, expectStored, until } from './harness.mjs';
import { execFileSync } from 'node:child_process';
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

// Drags the alpha slider from its middle to FRACTION of its width and waits for the release.
async function dragAlpha(fraction) {
  await alphaSlider.scrollIntoViewIfNeeded();
  const box = await boxOf(alphaSlider);
  const y = box.y + box.height / 2;
  const released = page.waitForResponse((r) => r.url().endsWith('/api/event') &&
    r.request().postData().includes('touchUpInside'));
  await page.mouse.move(box.x + box.width * 0.5, y);
  await page.mouse.down();
  await page.mouse.move(box.x + box.width * 0.6, y, { steps: 4 });
  await page.mouse.move(box.x + box.width * fraction, y, { steps: 4 });
  await page.mouse.up();
  await released;
}

try {
  await check('the list options open from the first page', async () => {
    await page.goto(address);
    await linkRow('Accounts - List Options').click();
    await page.locator('#title', { hasText: /^Accounts - List Options$/ }).waitFor();
    expectEqual(await alphaNumber.inputValue(), '50', 'alpha level shown before a drag');
    expectEqual(await alphaRow.evaluate((r) => r.getBoundingClientRect().height), 70, 'slider row height');
  });

  await check('dragging the alpha slider stores the whole number it shows', async () => {
    await dragAlpha(0.773);
    const shown = await alphaNumber.inputValue();
    expectEqual(/^\d+$/.test(shown), true, `a whole number shown (${shown})`);
    await expectStored(() => stored('listAlphaLevel'), { kind: 'integer', text: shown }, 'stored alpha level');
    const value = Number(shown);
    expectEqual(value > 60 && value < 90, true, `a value near three quarters (${value})`);
    await expectStored(() => /<key>profileSaved<\/key>\s*<false\/>/.test(readFileSync(settingsFile, 'utf8')), true,
      'profile marked unsaved');
    await page.screenshot({ path: join(artifacts, 'list-options.png'), fullPage: true });
  });

  await check('another program\'s writes show on the open page and survive the next change', async () => {
    const defaults = (...words) => execFileSync(join(process.env.HUEBADGE_BIN, 'huebadge-defaults'),
      ['--device-root', deviceRoot, ...words]);
    // Without a notification the pane sees the file change; with one it hears it too.
    for (const [value, post] of [['33', []], ['44', ['--post', 'net.quorvel.huebadge/preferences']]]) {
      defaults(...post, 'write', 'net.quorvel.huebadge', 'listAlphaLevel', '-int', value);
      if (!(await until(async () => (await alphaNumber.inputValue()) === value))) throw new Error(`the page never showed ${value}`);
    }
    defaults('write', 'net.quorvel.huebadge', 'externalKey', '-string', 'kept');
    await dragAlpha(0.3);
    await expectStored(() => stored('listAlphaLevel'), { kind: 'integer', text: await alphaNumber.inputValue() },
      'the pane\'s change');
    expectEqual(stored('externalKey'), { kind: 'string', text: 'kept' }, 'the other program\'s key');
  });
} finally {
  await close();
}
finish();
