// Drags on a colour picker in headless Chromium: usage: node pickers.mjs ADDRESS ARTIFACT_DIR
// The program serves the test page "TestColorPickerPage_S": the saturation-first picker on
// #3366CC over a "Changed #RRGGBB" line (the last colour it reported) and a "Saved #RRGGBB"
// line (the last colour it asked to save). A drag across the field moves hue and brightness
// while the finger is down; a drag past the slider's right end gives saturation 0.
import { boxOf, check, expectEqual, finish, launchBrowser, scriptArguments } from './harness.mjs';
import { mkdirSync } from 'node:fs';
import { join } from 'node:path';

const [address, artifacts] = scriptArguments('pickers.mjs', ['ADDRESS', 'ARTIFACT_DIR']);

const { context, close } = await launchBrowser();
const page = context.pages()[0] ?? await context.newPage();
// The two touch catchers, in stacking order: the field's, then the slider's.
const catchers = page.locator('[data-type="HBTouchEaterButton"]');
const labelTexts = () => page.locator('[data-type="UILabel"]').allTextContents();
const labelMatching = async (pattern) => (await labelTexts()).find((text) => pattern.test(text));

// Waits until a label matching the pattern shows; returns its text.
async function waitForLabel(pattern) {
  await page.waitForFunction((source) => [...document.querySelectorAll('[data-type="UILabel"]')]
    .some((label) => new RegExp(source).test(label.textContent)), pattern.source);
  return labelMatching(pattern);
}

function hsbToHex(h, s, v) {
  const f = (n) => {
    const k = (n + h * 6) % 6;
    return v - v * s * Math.max(0, Math.min(k, 4 - k, 1));
  };
  return '#' + [f(5), f(3), f(1)].map((c) => Math.round(c * 255).toString(16).padStart(2, '0')).join('').toUpperCase();
}

function channelsClose(hex, expected) {
  const parts = (value) => [1, 3, 5].map((i) => parseInt(value.slice(i, i + 2), 16));
  return parts(hex).every((c, i) => Math.abs(c - parts(expected)[i]) <= 3);
}

try {
  await check('the picker opens on its colour', async () => {
    await page.goto(address);
    await page.locator('#title', { hasText: /^Picker Test$/ }).waitFor();
    expectEqual(await catchers.count(), 2, 'touch catchers');
    const texts = await labelTexts();
    for (const text of ['Brightness: 80%', '220° : Hue', 'Saturation:', '75%', 'Changed -', 'Saved -']) {
      expectEqual(texts.includes(text), true, `label ${text} in ${JSON.stringify(texts)}`);
    }
  });

  await check('a drag across the field follows the finger and saves on release', async () => {
    const box = await boxOf(catchers.nth(0));
    await page.mouse.move(box.x + 20, box.y + 20);
    await page.mouse.down();
    const steps = [[0.3, 0.5], [0.4, 0.4], [0.5, 0.25]];
    for (const [fx, fy] of steps) {
      await page.mouse.move(box.x + box.width * fx, box.y + box.height * fy);
      // Live: the hue label follows each step while the finger is still down.
      const hue = await waitForLabel(new RegExp(`^${Math.round(fx * 360)}° : Hue$`));
      expectEqual(Boolean(hue), true, `hue label at ${fx}`);
    }
    expectEqual(await labelMatching(/^Saved /), 'Saved -', 'nothing saved before the release');
    await page.screenshot({ path: join(artifacts, 'picker-drag.png'), fullPage: true });
    await page.mouse.up();
    const saved = await waitForLabel(/^Saved #/);
    const changed = await labelMatching(/^Changed #/);
    expectEqual(saved.slice(6), changed.slice(8), 'saved colour is the last reported one');
    expectEqual(await labelMatching(/^Brightness: /), 'Brightness: 75%', 'brightness label');
    const expected = hsbToHex(0.5, 0.75, 0.75);
    expectEqual(channelsClose(changed.slice(8), expected), true, `${changed} near ${expected}`);
  });

  await check('dragging past the slider\'s right end gives saturation 0', async () => {
    const box = await boxOf(catchers.nth(1));
    await page.mouse.move(box.x + box.width * 0.4, box.y + box.height / 2);
    await page.mouse.down();
    // A touch down changes nothing; the first move does.
    await page.mouse.move(box.x + box.width * 0.5, box.y + box.height / 2);
    await waitForLabel(/^50%$/);
    await page.mouse.move(box.x + box.width + 30, box.y + box.height / 2, { steps: 3 });
    await waitForLabel(/^0%$/);
    await page.mouse.up();
    const saved = await waitForLabel(/^Saved #BFBFBF$/);
    expectEqual(saved, 'Saved #BFBFBF', 'a grey of brightness 75%');
    expectEqual(await labelMatching(/^Changed #/), 'Changed #BFBFBF', 'reported colour');
  });
} finally {
  await close();
}

finish();
