// Whether two builds of the site show the same: every form opened from its
// address in both, at a few sizes and pixel ratios, and the page's pixels
// compared (the canvas and the menu bar above it, as a screenshot). For a
// change that should not change what the page shows: subset fonts, other
// compiler flags.
//   node bench/web/compare_sites.mjs SITE_BEFORE SITE_AFTER [OUT_DIR] [--forms=Start,Tellen1]
// Prints one line per form and size; exits 1 if any differ, and then writes
// both screenshots of each difference into OUT_DIR (default: a temporary folder).
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const only = process.argv.find((a) => a.startsWith('--forms='));
const [before, after, outArg] = process.argv.slice(2).filter((a) => !a.startsWith('--'));
for (const folder of [before, after]) {
  if (!folder || !fs.existsSync(path.join(folder, 'index.html'))) {
    console.error('usage: node bench/web/compare_sites.mjs SITE_BEFORE SITE_AFTER [OUT_DIR]');
    process.exit(2);
  }
}
process.env.TUVREL_SITE = path.resolve(before);
const {serveSite, launchChromium} = await import('../../tests/web/support.mjs');

const formNames = [...fs.readFileSync(new URL('../../forms/descriptions.h', import.meta.url), 'utf8')
  .matchAll(/^FormDescription (\w+)\(\);$/gm)].map((m) => m[1])
  .filter((name) => !only || only.slice('--forms='.length).split(',').includes(name));
const sizes = [{width: 1024, height: 768, scale: 1}, {width: 1920, height: 1080, scale: 1}, {width: 1024, height: 768, scale: 2}];

// The page at an address, once it has drawn and every picture it shows has
// arrived in the rendering for its size (a picture that arrives later is drawn
// in a later frame).
async function shot(browser, origin, address, size) {
  const context = await browser.newContext({viewport: {width: size.width, height: size.height}, deviceScaleFactor: size.scale});
  const page = await context.newPage();
  await page.goto(origin + address);
  await page.waitForSelector('html[data-ready="true"]', {timeout: 30000});
  let count = -1;
  for (let quiet = 0; quiet < 3;) {
    await page.waitForTimeout(200);
    const now = await page.evaluate(() => performance.getEntriesByType('resource').length);
    quiet = now === count ? quiet + 1 : 0;
    count = now;
  }
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve))));
  const front = await page.evaluate(() => window.tuvrelState().layers[0]);
  const png = await page.screenshot({type: 'png'});
  await context.close();
  return {front, png};
}

const servedBefore = await serveSite(before);
const servedAfter = await serveSite(after);
const browser = await launchChromium();
let differ = 0;
const out = outArg || fs.mkdtempSync(path.join(os.tmpdir(), 'tuvrel-compare-'));
try {
  for (const size of sizes) {
    for (const name of formNames) {
      const address = name === 'Start' ? '/' : '/#' + name;
      const a = await shot(browser, servedBefore.origin, address, size);
      const b = await shot(browser, servedAfter.origin, address, size);
      const label = `${name} at ${size.width}×${size.height}×${size.scale}`;
      const same = a.front === name && b.front === name && a.png.equals(b.png);
      console.log(`${same ? 'same' : 'DIFFERENT'}  ${label}`);
      if (!same) {
        ++differ;
        fs.mkdirSync(out, {recursive: true});
        const file = `${name}-${size.width}x${size.height}x${size.scale}`;
        fs.writeFileSync(path.join(out, file + '-before.png'), a.png);
        fs.writeFileSync(path.join(out, file + '-after.png'), b.png);
      }
    }
  }
} finally {
  await browser.close();
  await servedBefore.close();
  await servedAfter.close();
}
console.log(differ ? `${differ} differ: the screenshots are in ${out}` : 'every form shows the same in both');
process.exit(differ ? 1 : 0);
