import { launchBrowser } from './harness.mjs';
const [address] = process.argv.slice(2);
const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
page.setDefaultTimeout(5000);
const row = (t) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${t}$`) }) });
await page.goto(address);
for (const [link, shot] of [['Email Filters - List Options', 'filters-list'], ['Folder Filters 2 - Options', 'folders-2'], ['Reminders Options', 'reminders']]) {
  await row(link).scrollIntoViewIfNeeded();
  await row(link).click();
  await page.locator('#back').waitFor();
  await page.waitForTimeout(300);
  await page.screenshot({ path: `/tmp/opt/${shot}.png`, fullPage: true });
  if (shot === 'filters-list') {
    await page.locator('input.switch').nth(1).click();
    await page.waitForTimeout(500);
    await page.screenshot({ path: `/tmp/opt/${shot}-off.png`, fullPage: true });
  }
  await page.locator('#back').click();
  await page.waitForTimeout(300);
}
await close();
