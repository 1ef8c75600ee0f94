// Tries a filter on samples and brings profiles in, in headless Chromium: usage: node
// tester.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT, over the demo settings. Opens the "Invoices"
// filter, types samples into its Test group and reads the verdict, with the settings file
// left alone; then on the profile page imports one file by the file field and one by a drop,
// sees a broken file refused with an alert, and loads an imported profile.
import { check, expectEqual, finish, launchBrowser, scriptArguments, expectStored } from './harness.mjs';
import { existsSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('tester.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const folder = join(deviceRoot, 'var/mobile/Library/Preferences');
const settingsFile = join(folder, 'net.quorvel.huebadge.plist');
const profileFile = (name) => join(folder, `net.quorvel.huebadge_${name}.plist`);

const plist = (body) => `<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0">${body}</plist>\n`;
const holiday = plist('<dict><key>profileName</key><string>Holiday</string>' +
  '<key>listAlphaLevel</key><integer>42</integer></dict>');

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
const exactly = (text) => new RegExp(`^${escape(text)}$`);
const row = (text, within = page) => within.locator('.row', { has: page.locator('.text', { hasText: exactly(text) }) });
const section = (index) => page.locator('.section').nth(index);
const sectionTexts = (index) => section(index).locator('.row .text').allTextContents();
const waitForTitle = (title) => page.locator('#title', { hasText: exactly(title) }).waitFor();
const layer = page.locator('#alert-layer');
async function answer(title) {
  await page.locator('#alert-actions .alert-action', { hasText: exactly(title) }).click();
  await layer.waitFor({ state: 'hidden' });
}
const testGroup = () => page.locator('.section', { has: page.locator('.section-header', { hasText: /^Test$/i }) });
async function typeSample(field, text) {
  const input = row(`${field} sample`, testGroup()).locator('input');
  await input.fill(text);
  await input.press('Enter');
}
const verdict = (text) => testGroup().locator('.row .text', { hasText: exactly(text) }).waitFor();

try {
  await check('the Test group of a filter gives the verdict on typed samples', async () => {
    await page.goto(address);
    await waitForTitle('Huebadge');
    await row('Email Filters').filter({ has: page.locator('.accessory') }).click();
    await waitForTitle('Filters');
    await row('Invoices').click();
    await waitForTitle('Filter');
    const before = readFileSync(settingsFile, 'utf8');
    await testGroup().scrollIntoViewIfNeeded();
    await verdict('No match');
    await typeSample('From', 'Billing@shop.example');
    await verdict('No match (found: From)');
    await typeSample('Subject', 'INVOICE 42 for you');
    await verdict('Matches: From, Subject');
    await page.screenshot({ path: join(artifacts, 'filter-tester.png'), fullPage: true });
    expectEqual(readFileSync(settingsFile, 'utf8') === before, true, 'settings file unchanged');
    expectEqual(before.includes('shop.example'), false, 'no sample in the settings file');
  });

  await check('the file field shows on the profile page only', async () => {
    expectEqual(await page.locator('#file-import').isHidden(), true, 'hidden on the editor');
    await page.locator('#back').click();
    await waitForTitle('Filters');
    await page.locator('#back').click();
    await waitForTitle('Huebadge');
    await row('Profiles').click();
    await waitForTitle('Profiles');
    await page.locator('#file-import').waitFor({ state: 'visible' });
    await page.screenshot({ path: join(artifacts, 'profile-import.png'), fullPage: true });
  });

  await check('a chosen file becomes a profile named by its profileName', async () => {
    await page.locator('#profile-file').setInputFiles({ name: 'anything.plist', mimeType: 'application/x-plist', buffer: Buffer.from(holiday) });
    await section(1).locator('.row .text', { hasText: /^Holiday$/ }).waitFor();
    expectEqual(existsSync(profileFile('Holiday')), true, 'profile file written');
  });

  await check('a dropped file becomes a profile named by its file name', async () => {
    const transfer = await page.evaluateHandle((text) => {
      const data = new DataTransfer();
      data.items.add(new File([text], 'Dropped.plist', { type: 'application/x-plist' }));
      return data;
    }, plist('<dict><key>enabled</key><false/></dict>'));
    await page.locator('#phone').dispatchEvent('dragover', { dataTransfer: transfer });
    await page.locator('#phone').dispatchEvent('drop', { dataTransfer: transfer });
    await section(1).locator('.row .text', { hasText: /^Dropped$/ }).waitFor();
    expectEqual(await sectionTexts(1), ['Dropped', 'Holiday'], 'AVAILABLE');
  });

  await check('a broken file is refused with an alert and writes nothing', async () => {
    const before = readFileSync(settingsFile, 'utf8');
    await page.locator('#profile-file').setInputFiles({ name: 'broken.plist', mimeType: 'application/x-plist', buffer: Buffer.from('not a plist') });
    await layer.waitFor({ state: 'visible' });
    expectEqual(await page.locator('#alert-title').textContent(), 'Error, Could not import profile', 'alert title');
    await page.screenshot({ path: join(artifacts, 'profile-import-refused.png'), fullPage: true });
    await answer('Dismiss');
    expectEqual(existsSync(profileFile('broken')), false, 'no profile file');
    expectEqual(readFileSync(settingsFile, 'utf8') === before, true, 'settings file unchanged');
    expectEqual(await sectionTexts(1), ['Dropped', 'Holiday'], 'AVAILABLE');
  });

  await check('an imported profile loads', async () => {
    await row('Holiday').click();
    await layer.waitFor({ state: 'visible' });
    await answer('Yes');
    await section(0).locator('.row .text', { hasText: /^Holiday$/ }).waitFor();
    await expectStored(() => /<key>listAlphaLevel<\/key>\s*<integer>42<\/integer>/.test(readFileSync(settingsFile, 'utf8')), true,
      'loaded into the settings file');
  });
} finally {
  await close();
}
finish();
