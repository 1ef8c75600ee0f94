// Saves, shares and loads a profile in headless Chromium: usage: node profiles.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
// From the first page opens "Profiles", saves the settings as "Trip", downloads the profile
// file by a long press, turns a switch off on the first page, sees "Trip (Unsaved)" and loads
// the profile back, which shows the switch on again, and deletes it by a swipe.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments, until } from './harness.mjs';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('profiles.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const folder = join(deviceRoot, 'var/mobile/Library/Preferences');
const settingsFile = join(folder, 'net.quorvel.huebadge.plist');
const profileFile = join(folder, 'net.quorvel.huebadge_Trip.plist');

// The boolean stored under a key of a settings file, null when it has none.
function storedBoolean(file, key) {
  const match = readFileSync(file, 'utf8').match(new RegExp(`<key>${key}</key>\\s*<(true|false)/>`));
  return match ? match[1] === 'true' : null;
}

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const escape = (text) => text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
const row = (text) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${escape(text)}$`) }) });
const section = (index) => page.locator('.section').nth(index);
const sectionTexts = (index) => section(index).locator('.row .text').allTextContents();
const waitForTitle = (title) => page.locator('#title', { hasText: new RegExp(`^${escape(title)}$`) }).waitFor();
const layer = page.locator('#alert-layer');
const action = (title) => page.locator('#alert-actions .alert-action', { hasText: new RegExp(`^${title}$`) });
async function answer(title) {
  await action(title).click();
  await layer.waitFor({ state: 'hidden' });
}
async function openProfiles() {
  await row('Profiles').click();
  await waitForTitle('Profiles');
}

try {
  await check('the profile page opens from the first page', async () => {
    await page.goto(address);
    await waitForTitle('Huebadge');
    await openProfiles();
    expectEqual(await section(0).locator('.row .text').allTextContents(), ['Unsaved'], 'CURRENT');
    expectEqual(await sectionTexts(1), [], 'AVAILABLE');
  });

  await check('saving asks for a name and lists the profile', async () => {
    await row('Unsaved').click();
    await layer.waitFor({ state: 'visible' });
    expectEqual(await page.locator('#alert-title').textContent(), 'Save', 'alert title');
    await page.locator('#alert-fields input').fill('Trip');
    await page.screenshot({ path: join(artifacts, 'profiles-save.png'), fullPage: true });
    await answer('Save');
    await section(1).locator('.row .text', { hasText: /^Trip$/ }).waitFor();
    expectEqual(await sectionTexts(0), ['Trip'], 'CURRENT after saving');
    expectEqual(storedBoolean(profileFile, 'profileSaved'), true, 'profileSaved in the profile');
  });

  await check('a long press on the profile downloads its file', async () => {
    // A refresh may replace the row while it is measured: measure the one that stays.
    const box = await boxOf(section(1).locator('.row').first());
    const download = page.waitForEvent('download');
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.down();
    const file = await download;
    await page.mouse.up();
    expectEqual(file.suggestedFilename(), 'net.quorvel.huebadge_Trip.plist', 'download name');
    const saved = join(artifacts, file.suggestedFilename());
    await file.saveAs(saved);
    expectEqual(readFileSync(saved, 'utf8'), readFileSync(profileFile, 'utf8'), 'downloaded bytes');
    expectEqual(await layer.isHidden(), true, 'no alert after the press');
  });

  await check('a switch changed elsewhere marks the profile unsaved', async () => {
    await page.locator('#back').click();
    await waitForTitle('Huebadge');
    await row('Enabled').locator('input.switch').click();
    await row('Enabled').locator('input.switch:not(:checked)').waitFor();
    // The page unticks at once; the file follows when the host has handled the event.
    await until(() => storedBoolean(settingsFile, 'enabled') === false);
    expectEqual(storedBoolean(settingsFile, 'enabled'), false, 'enabled after the switch');
    await openProfiles();
    await row('Trip (Unsaved)').waitFor();
    await page.screenshot({ path: join(artifacts, 'profiles-unsaved.png'), fullPage: true });
  });

  await check('loading the profile brings its settings back', async () => {
    await section(1).locator('.row').first().click();
    await layer.waitFor({ state: 'visible' });
    expectEqual(await page.locator('#alert-title').textContent(),
      'Are you sure you want to load the selected profile?', 'alert title');
    await answer('Yes');
    await section(0).locator('.row .text', { hasText: /^Trip$/ }).waitFor();
    // The profile was saved before the switch had ever been changed: it holds no value.
    expectEqual(storedBoolean(settingsFile, 'enabled'), null, 'enabled after loading');
    expectEqual(storedBoolean(settingsFile, 'profileSaved'), true, 'profileSaved after loading');
    await page.locator('#back').click();
    await waitForTitle('Huebadge');
    await page.waitForFunction(() => document.querySelector('input.switch').checked);
  });
  await check('a swipe deletes the profile', async () => {
    await openProfiles();
    const trip = section(1).locator('.row').first();
    await trip.hover();
    await trip.locator('.delete-button').click();
    await page.waitForFunction(() => document.querySelectorAll('.section')[1].querySelectorAll('.row').length === 0);
    expectEqual(existsSync(profileFile), false, 'profile file after the delete');
  });
} finally {
  await close();
}

finish();
