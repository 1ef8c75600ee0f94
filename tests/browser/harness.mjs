// What the browser scripts share: named checks that count failures, an equality check, and
// Debian's Chromium started headless with a fresh profile.
import { chromium } from 'playwright-core';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

let passed = 0;
let failed = 0;

// The script's arguments (address, artifact folder and, where named, the device root); prints
// the usage line and exits 2 when one is missing. Makes the artifact folder.
export function scriptArguments(script, names) {
  const values = process.argv.slice(2, 2 + names.length);
  if (values.length < names.length || values.some((value) => !value)) {
    console.error(`usage: node ${script} ${names.join(' ')}`);
    process.exit(2);
  }
  mkdirSync(values[1], { recursive: true });
  return values;
}

export async function check(name, body) {
  try {
    await body();
    passed += 1;
  } catch (error) {
    failed += 1;
    console.log(`FAIL ${name}: ${error.message.split('\n')[0]}`);
  }
}

export function expectEqual(actual, expected, what) {
  if (JSON.stringify(actual) !== JSON.stringify(expected)) {
    throw new Error(`${what}: expected ${JSON.stringify(expected)}, got ${JSON.stringify(actual)}`);
  }
}

// How long any wait lasts before it fails: long, since a sanitizer build on a loaded machine
// can take seconds to answer; a passing run never waits it out.
export const WAIT_MS = 20000;

// The host saves a change right after it has answered the event: a file read after the page
// showed the change waits for READ() to give EXPECTED, then compares as expectEqual does.
export async function expectStored(read, expected, what) {
  await until(() => { try { return JSON.stringify(read()) === JSON.stringify(expected); } catch { return false; } });
  expectEqual(read(), expected, what);
}

// Polls SATISFIED (which may be async) every 100 ms until it holds; false when WAIT_MS passed.
export async function until(satisfied) {
  for (const end = Date.now() + WAIT_MS; Date.now() < end;) {
    if (await satisfied()) return true;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return Boolean(await satisfied());
}

// The box of the element LOCATOR finds, measured again when a redraw replaced the element
// while it was measured.
export async function boxOf(locator) {
  let box = null;
  if (!(await until(async () => (box = await locator.boundingBox({ timeout: 2000 }).catch(() => null))))) {
    throw new Error(`no box for ${locator}`);
  }
  return box;
}

export async function launchBrowser() {
  const profile = mkdtempSync(join(tmpdir(), 'huebadge-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: { width: 520, height: 960 },
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
  context.setDefaultTimeout(WAIT_MS);
  const close = async () => {
    await context.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { context, close };
}

// The title once the page has drawn what a tap led to (or the same title after a while when
// the row opened no page).
export async function settledTitle(page, before) {
  try {
    await page.waitForFunction((old) => document.getElementById('title').textContent !== old, before, { timeout: 4000 });
  } catch { /* the row opened no page */ }
  await page.waitForTimeout(150);
  return page.locator('#title').textContent();
}

// Goes back and waits for the page titled TO; says where it ended when it never got there.
export async function goBackTo(page, to) {
  await page.locator('#back').click();
  try {
    await page.waitForFunction((t) => document.getElementById('title').textContent === t, to);
  } catch (error) {
    throw new Error(`back from "${await page.locator('#title').textContent()}" never reached "${to}": ${error.message}`);
  }
  await page.waitForTimeout(150);
}

// Prints the tally and ends the script, failing when any check failed.
export function finish() {
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}
