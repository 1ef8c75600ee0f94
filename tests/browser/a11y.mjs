// Checks every page of the pane with axe-core: usage: node a11y.mjs ADDRESS ARTIFACT_DIR
// Opens the first page and every page its rows lead to, two levels deep (choice lists, colour
// pages, the filter lists), in light and dark appearance, a message and a folder filter editor
// with the pages they open (sound picker, colour page), and the profile page with an alert open. Fails on any violation axe rates serious or critical and
// writes every violation found, by page, to axe-report.json.
import { check, finish, launchBrowser, scriptArguments, goBackTo, settledTitle } from './harness.mjs';
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';

const [address, artifacts] = scriptArguments('a11y.mjs', ['ADDRESS', 'ARTIFACT_DIR']);
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const TAGS = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice'];
// Below the first page, the rows of a page opened from it that are followed; the rest of a
// long page repeats the kinds of page already seen.
const FOLLOWED_BELOW_FIRST = 3;

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
const report = [];
const title = () => page.locator('#title').textContent();

async function audit(where) {
  const found = await page.evaluate(async (tags) => {
    const result = await window.axe.run(document, { runOnly: { type: 'tag', values: tags } });
    return result.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length,
      targets: v.nodes.slice(0, 3).map((n) => n.target.join(' ')) }));
  }, TAGS);
  report.push({ page: where, violations: found });
  const grave = found.filter((v) => v.impact === 'serious' || v.impact === 'critical');
  if (grave.length) {
    throw new Error(grave.map((v) => `${v.id} (${v.impact}, ${v.nodes}: ${v.targets.join(', ')})`).join('; '));
  }
}

const settle = (before) => settledTitle(page, before);
const goBack = (to) => goBackTo(page, to);

// Rows that open a page: the ones with a disclosure indicator.
const openingRows = () => page.locator('.row.tappable:has(.accessory.disclosureIndicator)');

async function visit(path, depth) {
  await check(`axe on ${path}`, () => audit(path));
  if (depth === 0) return;
  const here = await title();
  const count = await openingRows().count();
  const limit = path.includes(' > ') || depth === 1 ? Math.min(count, FOLLOWED_BELOW_FIRST) : count;
  for (let index = 0; index < limit; index++) {
    const target = openingRows().nth(index);
    const name = (await target.locator('.text').textContent()) || `row ${index}`;
    await target.scrollIntoViewIfNeeded();
    await target.click();
    const reached = await settle(here);
    if (reached === here) continue;
    await visit(`${path} > ${name}`, depth - 1);
    await goBack(here);
  }
}

async function tapNamed(name) {
  const before = await title();
  await page.getByRole('button', { name, exact: true }).click();
  await settle(before);
}

async function setAppearance(dark) {
  const toggle = page.locator('#dark-toggle');
  if ((await toggle.isChecked()) === dark) return;
  await toggle.click();
  await page.waitForFunction((d) => document.body.dataset.appearance === (d ? 'dark' : 'light'), dark);
}

try {
  await page.goto(address);
  await page.locator('#title', { hasText: /^Huebadge$/ }).waitFor();
  // Evaluated by the driver, which the page's Content-Security-Policy leaves alone.
  await page.evaluate(axeSource);
  for (const dark of [false, true]) {
    await setAppearance(dark);
    await visit(dark ? 'first page (dark)' : 'first page', dark ? 1 : 2);
  }
  await setAppearance(false);
  // Filter rows open their editors without a disclosure indicator: open the first of each list.
  for (const list of [['Email Filters'], ['Folder Filters 1 - Options', 'Folder Filters']]) {
    for (const name of list) await tapNamed(name);
    const listTitle = await title();
    await page.locator('.section').first().locator('.row.tappable .text').first().click();
    if ((await settle(listTitle)) === listTitle) throw new Error(`no filter editor opened from ${listTitle}`);
    await visit(`${list.join(' > ')} > first filter`, 1);
    for (let level = 0; level <= list.length; level++) await page.locator('#back').click();
    await page.locator('#title', { hasText: /^Huebadge$/ }).waitFor();
  }

  await check('axe on the profile page with its save alert open', async () => {
    await tapNamed('Profiles');
    await page.locator('.section').first().locator('.row').first().click();
    await page.locator('#alert-layer').waitFor({ state: 'visible' });
    await audit('Profiles with the save alert');
  });
} finally {
  writeFileSync(join(artifacts, 'axe-report.json'), JSON.stringify(report, null, 1));
  const counts = {};
  for (const entry of report) for (const v of entry.violations) counts[v.impact] = (counts[v.impact] ?? 0) + v.nodes;
  console.log(`axe: ${report.length} pages checked, elements in violation by impact: ${JSON.stringify(counts)}`);
  await close();
}
finish();
