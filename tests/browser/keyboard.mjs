// Uses the pane with the keyboard alone: usage: node keyboard.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT
// Tab, Enter, Space, arrows, Escape and typing only (the page is read, never clicked): adds a
// filter and names it, moves a slider and answers its prompt, saves a profile, cancels an alert
// with Escape and shares a profile with the context-menu key.
import { check, expectEqual, finish, launchBrowser, scriptArguments, until } from './harness.mjs';
import { existsSync, readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('keyboard.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const preferences = join(deviceRoot, 'var/mobile/Library/Preferences');
const settingsFile = join(preferences, 'net.quorvel.huebadge.plist');
const settings = () => (existsSync(settingsFile) ? readFileSync(settingsFile, 'utf8') : '');

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const keys = page.keyboard;

// What a screen reader would say of the focused element: its role, name and state.
const focused = () => page.evaluate(() => {
  const active = document.activeElement;
  if (!active || active === document.body) return null;
  return { role: active.getAttribute('role') || active.tagName.toLowerCase(), name: active.ariaLabel || active.textContent.trim(),
    checked: active.checked, value: active.value, section: active.closest('.row')?.dataset.section };
});

// Presses Tab until the focus is on an element named `name` (a text, or a pattern the name
// matches), of `role` and in table section `section`, when given.
async function tabTo(name, role, section) {
  const named = (text) => (name instanceof RegExp ? name.test(text) : text === name);
  for (let presses = 0; presses < 150; presses++) {
    await keys.press('Tab');
    const at = await focused();
    if (at && named(at.name) && (!role || at.role === role) && (section === undefined || at.section === String(section))) return at;
  }
  throw new Error(`Tab never reached ${role ?? 'anything'} named "${name}"`);
}

const waitForTitle = (title) => page.waitForFunction((t) => document.getElementById('title').textContent === t, title);
async function waitForFile(pattern) {
  if (!(await until(() => pattern.test(settings())))) throw new Error(`the settings file never matched ${pattern}`);
}
const alertShown = () => page.locator('#alert-layer').isVisible();

try {
  await check('a filter is added, opened and named from the keyboard', async () => {
    await page.goto(address);
    await waitForTitle('Huebadge');
    await tabTo('Email Filters', 'button');
    await keys.press('Enter');
    await waitForTitle('Filters');
    expectEqual((await page.evaluate(() => document.activeElement.id)), 'title', 'focus on the new page');
    await tabTo('Tap, to add new filter', 'button');
    await keys.press('Enter');
    await waitForFile(/<key>filtersEnabled<\/key>\s*<array>\s*<dict>/);
    await tabTo('Untitled row', 'button');
    await keys.press('Enter');
    await waitForTitle('Filter');
    await tabTo('Name', 'input');
    await keys.type('Boss');
    await keys.press('Enter');
    await tabTo('From', 'input');
    await keys.type('^boss@');
    await keys.press('Tab');
    await waitForFile(/<string>\^boss@<\/string>/);
    await keys.press('Alt+ArrowLeft');
    await waitForTitle('Filters');
    await tabTo('Boss', 'button');
    await page.screenshot({ path: join(artifacts, 'keyboard-filters.png'), fullPage: true });
  });

  await check('a switch turns with Space and says its state', async () => {
    await keys.press('Alt+ArrowLeft');
    await waitForTitle('Huebadge');
    const before = await tabTo('Enabled', 'switch');
    await keys.press(' ');
    await page.waitForFunction((was) => document.activeElement.checked !== was, before.checked);
    expectEqual((await focused()).name, 'Enabled', 'focus stays on the switch');
  });

  await check('a slider moves with the arrows and its prompt takes a typed value', async () => {
    await tabTo('Accounts - MailBox Options', 'button');
    await keys.press('Enter');
    await waitForTitle('Accounts - MailBox Options');
    const slider = await tabTo('Alpha Level', 'input');
    await keys.press('End');
    await page.waitForFunction((was) => document.activeElement.value !== was, slider.value);
    await waitForFile(/<key>mailBoxAlphaLevel<\/key>\s*<integer>100<\/integer>/);
    await keys.press('Tab');
    await keys.press('Enter');
    await page.locator('#alert-layer').waitFor({ state: 'visible' });
    await keys.type('42');
    await keys.press('Enter');
    await waitForFile(/<key>mailBoxAlphaLevel<\/key>\s*<integer>42<\/integer>/);
    await keys.press('Alt+ArrowLeft');
    await waitForTitle('Huebadge');
  });

  await check('a profile is saved under a typed name', async () => {
    await tabTo('Profiles', 'button');
    await keys.press('Enter');
    await waitForTitle('Profiles');
    await tabTo(/^Unsaved\b/, 'button');
    await keys.press('Enter');
    await page.locator('#alert-layer').waitFor({ state: 'visible' });
    expectEqual((await focused()).role, 'input', 'focus in the name field');
    await keys.type('Desk');
    await keys.press('Enter');
    await page.locator('#alert-layer').waitFor({ state: 'hidden' });
    const profile = join(preferences, 'net.quorvel.huebadge_Desk.plist');
    await until(() => existsSync(profile));
    expectEqual(existsSync(profile), true, 'profile file written');
    // The page lists it after its delayed reload.
    await page.locator('.section').nth(1).locator('.row .text', { hasText: /^Desk$/ }).waitFor();
    await tabTo(/^Desk\b/, 'button', 1);
  });

  await check('Escape cancels the load question and leaves the focus on the profile', async () => {
    await keys.press('Enter');
    await page.locator('#alert-layer').waitFor({ state: 'visible' });
    await keys.press('Escape');
    await page.locator('#alert-layer').waitFor({ state: 'hidden' });
    await page.waitForFunction(() => /^Desk\b/.test(document.activeElement.ariaLabel) &&
      document.activeElement.closest('.row').dataset.section === '1');
    expectEqual(await alertShown(), false, 'alert closed');
  });

  await check('the context-menu key shares the focused profile', async () => {
    const download = page.waitForEvent('download');
    await keys.press('Shift+F10');
    expectEqual((await download).suggestedFilename(), 'net.quorvel.huebadge_Desk.plist', 'download name');
  });
} finally {
  await close();
}
finish();
