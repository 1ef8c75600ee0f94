// Edits an account colour in headless Chromium: usage: node color.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
// The device stores "#FF0000" for the account Home at a mailbox opacity of 25 %. Opens Home's
// colour page, drags the Red slider down, checks the hex text and the settings file, types a
// hex value into the hex prompt, then goes back and checks the account row's preview. Saves
// a screenshot of the colour page.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments, until, expectStored } from './harness.mjs';
import { mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('color.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');

function storedColor(key) {
  const match = readFileSync(settingsFile, 'utf8').match(new RegExp(`<key>${key}</key>\\s*<string>([^<]*)</string>`));
  return match ? match[1] : null;
}

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const row = (text) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${text}$`) }) });
const waitForTitle = (title) => page.locator('#title', { hasText: new RegExp(`^${title}$`) }).waitFor();
const labels = () => page.locator('.row .view[data-type="UILabel"]').allTextContents();
// The hex text is the only label that starts with "#".
const hexText = async () => (await labels()).find((text) => text.startsWith('#'));
const background = (locator) => locator.evaluate((r) => getComputedStyle(r).backgroundColor);

try {
  await check('an account row opens its colour page', async () => {
    await page.goto(address);
    await waitForTitle('Huebadge');
    await row('Home').click();
    await waitForTitle('Home');
    const shown = await labels();
    for (const text of ['#FF0000', 'MailBox', 'List', 'Message', 'Red', 'Green', 'Blue']) {
      if (!shown.includes(text)) throw new Error(`no label ${text} in ${JSON.stringify(shown)}`);
    }
    expectEqual(await page.locator('.row input.slider').count(), 3, 'channel sliders');
    expectEqual(await page.locator('.row input.slider').first().inputValue(), '255', 'Red slider');
  });

  await check('dragging Red changes the colour live and saves it on release', async () => {
    const red = page.locator('.row input.slider').first();
    await red.scrollIntoViewIfNeeded();
    const box = await boxOf(red);
    const y = box.y + box.height / 2;
    await page.mouse.move(box.x + box.width - 2, y);
    await page.mouse.down();
    await page.mouse.move(box.x + box.width * 0.6, y, { steps: 4 });
    await page.mouse.move(box.x + box.width * 0.5, y, { steps: 4 });
    await page.mouse.up();
    // The release reaches the server after the last move: wait until the file has caught up.
    let hex;
    await until(async () => {
      hex = await hexText();
      return hex !== '#FF0000' && storedColor('Home') === hex;
    });
    if (!/^#[0-9A-F]{2}0000$/.test(hex) || hex === '#FF0000') throw new Error(`hex text ${hex}`);
    expectEqual(storedColor('Home'), hex, 'stored colour');
    expectEqual(await page.locator('.row input.slider').first().inputValue() | 0, parseInt(hex.slice(1, 3), 16),
      'Red slider');
    await page.screenshot({ path: join(artifacts, 'color-page.png'), fullPage: true });
  });

  await check('tapping the hex text asks for a value and Save stores it', async () => {
    const hex = page.locator('.row .view[data-type="UILabel"]', { hasText: /^#[0-9A-F]{6}$/ });
    await hex.scrollIntoViewIfNeeded();
    // The label lets the tap through to the button beneath it.
    const box = await boxOf(hex);
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await page.locator('#alert-layer').waitFor({ state: 'visible' });
    const message = await page.locator('#alert-message').textContent();
    if (!message.startsWith('Please enter a hex value between')) throw new Error(`message ${message}`);
    await page.locator('#alert-fields input').fill('#1E90FF');
    await page.locator('#alert-actions .alert-action', { hasText: /^Save$/ }).click();
    await page.locator('#alert-layer').waitFor({ state: 'hidden' });
    await hex.filter({ hasText: /^#1E90FF$/ }).waitFor();
    await expectStored(() => storedColor('Home'), '#1E90FF', 'stored colour');
  });

  await check('back shows the new colour on the account row', async () => {
    const hex = storedColor('Home');
    await page.locator('#back').click();
    await waitForTitle('Huebadge');
    // The mailbox preview: the colour at 25 % over white.
    const blend = (channel) => Math.trunc(parseInt(hex.slice(channel, channel + 2), 16) * 0.25 + 0.75 * 255);
    expectEqual(await background(row('Home')), `rgb(${blend(1)}, ${blend(3)}, ${blend(5)})`, 'Home background');
  });
} finally {
  await close();
}

finish();
