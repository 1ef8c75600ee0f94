// A list of 10,000 message filters: usage: node longlist.mjs ADDRESS ARTIFACT_DIR DEVICE_ROOT,
// with the program started on HBFilterController over a device holding "Filter 0" to
// "Filter 9999". Only the rows in and near view are on the page, yet the scroll bar spans the
// whole list and every row says its place; End reaches the last row; a row dragged from there
// into DRAG BELOW, TO DELETE is deleted, and one held at the top edge carries the list along.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments, until } from './harness.mjs';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts, deviceRoot] = scriptArguments('longlist.mjs', ['ADDRESS', 'ARTIFACT_DIR', 'DEVICE_ROOT']);
const settingsFile = join(deviceRoot, 'var/mobile/Library/Preferences/net.quorvel.huebadge.plist');
const COUNT = 10000;
const storedNames = () => {
  const text = readFileSync(settingsFile, 'utf8');
  const enabled = text.match(/<key>filtersEnabled<\/key>\s*<array>([\s\S]*?)<\/array>/)?.[1] ?? '';
  return [...enabled.matchAll(/<key>filterName<\/key>\s*<string>([^<]*)<\/string>/g)].map((m) => m[1]);
};

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const table = page.locator('.table').first();
const row = (name) => page.locator('.row', { has: page.locator('.text', { hasText: new RegExp(`^${name}$`) }) });

// Holds the handle of the row named NAME and moves it to the point, in steps; after the
// pause there, moves on to the point `then` (when given) and lets go once a row shows under
// the pointer, as a person waits for the list to draw before dropping.
async function drag(name, to, pauseMs = 0, then = to) {
  const box = await boxOf(row(name).locator('.reorder'));
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  await page.mouse.down();
  await page.mouse.move(to.x, to.y, { steps: 8 });
  if (pauseMs) await page.waitForTimeout(pauseMs);
  await page.mouse.move(then.x, then.y + 1, { steps: 2 });
  await page.locator('.drop-target').waitFor();
  await page.mouse.up();
}

try {
  await check('the first screen holds only the rows near view, and the scroll bar the whole list', async () => {
    await page.goto(address);
    await row('Filter 0').waitFor();
    const shown = await page.locator('.row').count();
    if (shown > 80) throw new Error(`${shown} rows on the page`);
    const item = await row('Filter 0').evaluate((r) => [r.getAttribute('role'), r.ariaPosInSet, r.ariaSetSize]);
    expectEqual(item, ['listitem', '1', String(COUNT)], 'role, place and size of the first row');
    const [scrollHeight, rowHeight] = await table.evaluate((t) => [t.scrollHeight, t.querySelector('.row').offsetHeight]);
    if (scrollHeight < COUNT * rowHeight) throw new Error(`scroll height ${scrollHeight} for ${COUNT} rows of ${rowHeight}`);
  });

  await check('End scrolls to the last row, which says it is the last', async () => {
    await row('Filter 0').locator('.text').focus();
    await page.keyboard.press('End');
    await row('Filter 9999').waitFor();
    expectEqual(await row('Filter 9999').evaluate((r) => r.ariaPosInSet), String(COUNT), 'place of the last row');
    if ((await page.locator('.row').count()) > 80) throw new Error('the rows above stayed on the page');
    await page.screenshot({ path: join(artifacts, 'longlist-end.png') });
  });

  await check('a row dragged from the end into DRAG BELOW, TO DELETE is deleted', async () => {
    const zone = await boxOf(page.locator('.section').nth(2));
    await drag('Filter 9998', { x: zone.x + zone.width / 2, y: zone.y + 8 });
    if (!(await until(() => storedNames().length === COUNT - 1))) throw new Error('the file kept every filter');
    const names = storedNames();
    expectEqual([names.includes('Filter 9998'), names.at(-1)], [false, 'Filter 9999'], 'deleted row and last row');
    await row('Filter 9998').waitFor({ state: 'detached' });
  });

  await check('a row held at the top edge scrolls the list and lands far above', async () => {
    const box = await boxOf(table);
    const top = box.y + (await table.evaluate((t) => t.insetTop)) + 10;
    const middle = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    await drag('Filter 9999', { x: middle.x, y: top }, 1500, middle);
    if (!(await until(() => storedNames().at(-1) !== 'Filter 9999'))) throw new Error('the row did not move');
    const place = storedNames().indexOf('Filter 9999');
    if (place > COUNT - 40) throw new Error(`the row moved only to place ${place}`);
    await page.screenshot({ path: join(artifacts, 'longlist-carried.png') });
  });
} finally {
  await close();
}
finish();
