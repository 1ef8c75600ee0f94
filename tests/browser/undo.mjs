// Undoes and redoes on the demo device: usage: node undo.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT,
// with the program started on HBFilterController. Drops the "Invoices" filter on the delete
// zone, then takes it back and forth with Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y, Cmd+Z and the buttons
// above the phone, which name the step; a screen reader hears each step taken. In a text
// field the shortcut is the field's own.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments, until } from './harness.mjs';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('undo.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');
const stored = () => readFileSync(settingsFile, 'utf8').includes('<string>Invoices</string>');

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const step = "Delete Filter 'Invoices'";
const enabledTexts = () => page.locator('.section').nth(0).locator('.row .text').allTextContents();
const buttons = () => page.evaluate(() => ['undo', 'redo'].map((id) => {
  const button = document.getElementById(id);
  return [button.textContent, button.disabled];
}));
const announced = () => page.locator('#announcer').textContent();

// Waits until the list shows Invoices or not, the file says the same, and the buttons and the
// announcer say what was taken.
async function expectShown(listed, expectedButtons, heard) {
  await page.waitForFunction((want) => [...(document.querySelectorAll('.section')[0]?.querySelectorAll('.row .text') ?? [])]
    .some((t) => t.textContent === 'Invoices') === want, listed);
  if (!(await until(() => stored() === listed))) throw new Error(`the file ${listed ? 'lacks' : 'keeps'} Invoices`);
  expectEqual(await buttons(), expectedButtons, 'buttons');
  if (heard && !(await until(async () => (await announced()) === heard))) {
    throw new Error(`the announcer said "${await announced()}", not "${heard}"`);
  }
}

const canUndo = [[`Undo ${step}`, false], ['Redo', true]];
const canRedo = [['Undo', true], [`Redo ${step}`, false]];

try {
  await check('with nothing done, both buttons are disabled', async () => {
    await page.goto(address);
    await page.locator('#title', { hasText: 'Filters' }).waitFor();
    expectEqual(await buttons(), [['Undo', true], ['Redo', true]], 'buttons');
    expectEqual((await enabledTexts())[0], 'Invoices', 'first filter');
  });

  await check('a filter dropped to delete names the Undo button', async () => {
    const from = await boxOf(page.locator('.section').nth(0).locator('.row').first().locator('.reorder'));
    const to = await boxOf(page.locator('.section').nth(2));
    await page.mouse.move(from.x + from.width / 2, from.y + from.height / 2);
    await page.mouse.down();
    await page.mouse.move(to.x + to.width / 2, to.y + 8, { steps: 8 });
    await page.mouse.up();
    await expectShown(false, canUndo);
    await page.screenshot({ path: join(artifacts, 'undo-buttons.png'), fullPage: true });
  });

  await check('the shortcuts undo and redo', async () => {
    await page.locator('#title').focus();
    await page.keyboard.press('Control+z');
    await expectShown(true, canRedo, `Undone: ${step}`);
    await page.keyboard.press('Control+Shift+Z');
    await expectShown(false, canUndo, `Redone: ${step}`);
    await page.keyboard.press('Meta+z');
    await expectShown(true, canRedo, `Undone: ${step}`);
    await page.keyboard.press('Control+y');
    await expectShown(false, canUndo, `Redone: ${step}`);
  });

  await check('the buttons undo and redo', async () => {
    await page.locator('#undo').click();
    await expectShown(true, canRedo, `Undone: ${step}`);
    await page.locator('#redo').click();
    await expectShown(false, canUndo, `Redone: ${step}`);
  });

  await check('in a text field the shortcut undoes the typing, not a step', async () => {
    await page.locator('.section').nth(0).locator('.row').first().click();
    await page.locator('#title', { hasText: /^Filter$/ }).waitFor();
    const field = page.locator('.row', { has: page.locator('.text', { hasText: /^Name$/ }) }).locator('input');
    const typed = await field.inputValue();
    await field.click();
    await page.keyboard.type('X');
    await page.keyboard.press('Control+z');
    await page.waitForTimeout(500);
    expectEqual(await field.inputValue(), typed, 'the field after its own undo');
    expectEqual(await buttons(), canUndo, 'buttons');
    expectEqual(stored(), false, 'Invoices stays deleted');
  });
} finally {
  await close();
}

finish();
