// Every row in reach, in both appearances: usage: node reach.mjs ADDRESS ARTIFACT_DIR
// On the first page and every page its rows open (two levels deep), and on a filter editor, in
// light and dark appearance: the mouse wheel brings the last row and the last footer into the
// area between the bars and the screen's bottom, and no footer, header or wrapping label is
// cut. Tabbing to the end of the first page scrolls only its table, and the page opened next
// shows its first row just below the bar; going back shows the first page where it was left.
// Screenshots of the first page and the filter editor scrolled to their ends, in both
// appearances, go to the artifact folder.
import { boxOf, check, expectEqual, finish, goBackTo, launchBrowser, scriptArguments, settledTitle } from './harness.mjs';
import { join } from 'node:path';

const [address, artifacts] = scriptArguments('reach.mjs', ['ADDRESS', 'ARTIFACT_DIR']);
// Below the first page, the rows of a page that are followed; the rest repeat kinds of page.
const FOLLOWED_BELOW_FIRST = 3;

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const title = () => page.locator('#title').textContent();

// Where the table's content shows: below the navigation bar, above the screen's bottom.
function geometry() {
  return page.evaluate(() => {
    const table = document.querySelector('#content .table');
    const bar = document.getElementById('navbar').getBoundingClientRect();
    const box = table.getBoundingClientRect();
    const last = (selector) => [...table.querySelectorAll(selector)].filter((e) => e.offsetHeight > 0).pop();
    const rect = (e) => (e ? e.getBoundingClientRect() : null);
    const rows = [...table.querySelectorAll('.row')];
    return {
      top: bar.bottom, bottom: box.bottom, scrollTop: table.scrollTop,
      contentContainerScroll: document.getElementById('content').scrollTop,
      lastRow: rect(rows[rows.length - 1]), lastRowText: rows[rows.length - 1]?.textContent ?? '',
      firstRow: rect(rows[0]), lastFooter: rect(last('.section-footer:not(:empty)')),
    };
  });
}

// The table's offset once a smooth scroll has come to rest.
async function restingScroll(table) {
  let last = await table.evaluate((t) => t.scrollTop);
  for (;;) {
    await page.waitForTimeout(80);
    const now = await table.evaluate((t) => t.scrollTop);
    if (now === last) return now;
    last = now;
  }
}

// Wheels until the table's end shows, or three wheels in a row move nothing (a redraw may
// swap the table under the pointer while a wheel is on its way).
async function wheelToEnd() {
  const table = page.locator('#content .table');
  const box = await boxOf(table);
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  let before = -1;
  let still = 0;
  for (let round = 0; round < 40 && still < 3; round++) {
    await page.mouse.wheel(0, 600);
    const now = await restingScroll(table);
    if (await table.evaluate((t) => t.scrollTop + t.clientHeight >= t.scrollHeight - 1)) break;
    still = now === before ? still + 1 : 0;
    before = now;
  }
  // Lets the page report the offset to the program.
  await page.waitForTimeout(250);
}

// The end of RECT shows between the bars; a row taller than that area may start above it.
const endWithin = (rect, g, what, whole) => {
  if (!rect) return;
  if (rect.bottom > g.bottom + 0.5 || rect.bottom < g.top || (whole && rect.top < g.top - 0.5)) {
    throw new Error(`${what} spans ${rect.top}..${rect.bottom}, outside the visible ${g.top}..${g.bottom}`);
  }
};

// Footers, headers and labels that wrap show all their text.
async function expectNothingCut(where) {
  const cut = await page.evaluate(() => [...document.querySelectorAll(
    '#content .section-footer, #content .section-header, #content .label.multiline')]
    .filter((e) => e.textContent.trim() && e.scrollHeight > e.clientHeight + 1)
    .map((e) => `${e.className} "${e.textContent.trim().slice(0, 50)}" (${e.scrollHeight} > ${e.clientHeight})`));
  if (cut.length) throw new Error(`${where}: ${cut.join('; ')}`);
}

async function checkPage(where) {
  await check(`the end of ${where} scrolls into view`, async () => {
    await wheelToEnd();
    const g = await geometry();
    endWithin(g.lastRow, g, `the last row ("${g.lastRowText.slice(0, 40)}")`, false);
    endWithin(g.lastFooter, g, 'the last footer', true);
  });
  await check(`nothing is cut on ${where}`, () => expectNothingCut(where));
}

const settle = (before) => settledTitle(page, before);
const goBack = (to) => goBackTo(page, to);

const openingRows = () => page.locator('#content .row.tappable:has(.accessory.disclosureIndicator)');

async function visit(path, depth) {
  await checkPage(path);
  if (depth === 0) return;
  const here = await title();
  const count = await openingRows().count();
  const limit = depth === 1 ? Math.min(count, FOLLOWED_BELOW_FIRST) : count;
  for (let index = 0; index < limit; index++) {
    const target = openingRows().nth(index);
    const name = (await target.locator('.text').textContent()) || `row ${index}`;
    await target.scrollIntoViewIfNeeded();
    await target.click();
    if ((await settle(here)) === here) continue;
    await visit(`${path} > ${name}`, depth - 1);
    await goBack(here);
  }
}

async function setAppearance(dark) {
  const toggle = page.locator('#dark-toggle');
  if ((await toggle.isChecked()) !== dark) await toggle.click();
  await page.waitForFunction((d) => document.body.dataset.appearance === (d ? 'dark' : 'light'), dark);
}

async function openNamed(name) {
  const before = await title();
  await openingRows().filter({ has: page.locator('.text', { hasText: new RegExp(`^${name}$`) }) }).first().click();
  await settle(before);
}

async function backToRoot() {
  while (!(await page.locator('#back').isHidden())) await goBack(await page.locator('#back-title').textContent());
}

try {
  await page.goto(address);
  await page.locator('#title', { hasText: /^Huebadge$/ }).waitFor();

  await check('Tab to the end of the first page scrolls its table, and the next page opens at its top', async () => {
    const focusable = '#content [tabindex="0"], #content button, #content input';
    const rows = await page.locator(focusable).count();
    await page.locator('#title').focus();
    const atLast = () => page.evaluate((f) => {
      const all = [...document.querySelectorAll(f)];
      return document.activeElement === all[all.length - 1];
    }, focusable);
    for (let i = 0; i < rows + 5 && !(await atLast()); i++) await page.keyboard.press('Tab');
    await restingScroll(page.locator('#content .table'));
    const end = await geometry();
    expectEqual(end.contentContainerScroll, 0, 'the scroll of the page area');
    if (end.scrollTop <= 0) throw new Error(`the table did not scroll (${end.scrollTop})`);
    await page.waitForTimeout(250);
    await openingRows().last().click();
    await settle('Huebadge');
    const opened = await geometry();
    expectEqual(opened.scrollTop, 0, `the table's scroll on "${await title()}"`);
    if (Math.abs(opened.firstRow.top - opened.top) > 60) {
      throw new Error(`the first row starts at ${opened.firstRow.top}, the bar ends at ${opened.top}`);
    }
    await goBack('Huebadge');
    expectEqual((await geometry()).scrollTop, end.scrollTop, 'the first page\'s scroll after going back');
  });

  for (const dark of [false, true]) {
    await setAppearance(dark);
    const suffix = dark ? ' (dark)' : '';
    await page.locator('#content .table').evaluate((t) => { t.scrollTop = 0; });
    await check(`a switch that is on looks unlike one that is off${suffix}`, async () => {
      const [on, off] = await page.evaluate(() => [':checked', ':not(:checked)'].map((state) => {
        const toggle = document.querySelector(`#content .switch${state}`);
        return toggle && getComputedStyle(toggle).backgroundColor;
      }));
      if (!on || !off || on === off) throw new Error(`on ${on}, off ${off}`);
    });
    await visit(`first page${suffix}`, dark ? 1 : 2);
    await wheelToEnd();
    await page.locator('#phone').screenshot({ path: join(artifacts, `reach-first-page-end${dark ? '-dark' : ''}.png`) });

    await check(`going back shows the page where it was left${suffix}`, async () => {
      const left = (await geometry()).scrollTop;
      await openingRows().last().click();
      await settle('Huebadge');
      await goBack('Huebadge');
      expectEqual((await geometry()).scrollTop, left, 'the scroll of the first page');
    });

    await check(`a filter editor${suffix}`, async () => {
      await page.locator('#content .table').evaluate((t) => { t.scrollTop = 0; });
      await openNamed('Email Filters');
      const list = await title();
      await page.locator('#content .section').first().locator('.row.tappable .text').first().click();
      if ((await settle(list)) === list) throw new Error(`no filter editor opened from ${list}`);
      await checkPage(`the filter editor${suffix}`);
      const g = await geometry();
      if (!/Case Insensitive Regular Expressions/.test(g.lastRowText)) throw new Error(`the last row is "${g.lastRowText}"`);
      await page.locator('#phone').screenshot({ path: join(artifacts, `reach-filter-editor-end${dark ? '-dark' : ''}.png`) });
      await backToRoot();
    });
  }
} finally {
  await close();
}
finish();
