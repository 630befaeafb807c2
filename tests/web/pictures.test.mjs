// The pictures on the canvas are the site's renderings at their size on the
// device: at device scales 1, 2 and 3 the canvas holds the very pixels of the
// 1x, 2x and 3x files; at a scale in between, each picture is fetched in the
// nearest larger rendering and in no other, and once the page has settled it
// is drawn from a copy scaled with high-quality smoothing.
import {describe, test} from 'node:test';
import assert from 'node:assert/strict';
import {open, state, useSite} from './support.mjs';

useSite();

const scales = [1, 2, 3];

// Where a graphical button's picture lies in the form (form pixels), as the
// core places it: centred on the button (integer centres, as a Rect's), and
// the button's face inside its bevel and focus line, where nothing but the
// picture is drawn.
function pictureOn(button, width, height) {
  const cx = Math.trunc((2 * button.x + button.w - 1) / 2), cy = Math.trunc((2 * button.y + button.h - 1) / 2);
  const left = cx - Math.trunc((width - 1) / 2), top = cy - Math.trunc((height - 1) / 2);
  const inset = 6;
  const x0 = Math.max(left, button.x + inset), y0 = Math.max(top, button.y + inset);
  const x1 = Math.min(left + width, button.x + button.w - inset), y1 = Math.min(top + height, button.y + button.h - inset);
  return {left, top, compared: {x: x0, y: y0, w: x1 - x0, h: y1 - y0}};
}

// The pictures Start's buttons show: control, asset name.
function startPictures(s) {
  return s.forms[0].controls.filter((c) => c.class === 'CommandButton' && c.picture)
    .map((c) => ({button: c, name: c.picture.split('#')[0]}));
}

// The path of each rendering the page fetched, by asset name and scale, once
// it has fetched the rest of the pictures (while the child looks at Start).
async function fetched(page) {
  let paths = [];
  for (let quiet = 0; quiet < 3;) {
    await page.waitForTimeout(300);
    const now = await page.evaluate(() => performance.getEntriesByType('resource').map((e) => new URL(e.name).pathname));
    quiet = now.length === paths.length ? quiet + 1 : 0;
    paths = now;
  }
  const found = new Map();
  for (const p of paths) {
    const m = /^\/pictures\/(?:(\d)x\/)?([^/]+)\.\w+$/.exec(p);
    if (!m) continue;
    const key = m[2];
    if (!found.has(key)) found.set(key, new Map());
    found.get(key).set(Number(m[1] ?? 1), p);
  }
  return found;
}

// A rendering against the canvas: the file decoded in the page, drawn at its
// own size or scaled to `size` with high-quality smoothing; its pixels from
// `from` against the canvas's device rectangle `at`. Every opaque pixel of the
// file counts, within a small tolerance (colour management).
const againstCanvas = (page, path, {size = null, from, at}) => page.evaluate(async ([path, size, from, at]) => {
  const bitmap = await createImageBitmap(await (await fetch(path)).blob());
  const w = size ? size.w : bitmap.width, h = size ? size.h : bitmap.height;
  const file = new OffscreenCanvas(w, h).getContext('2d');
  file.imageSmoothingEnabled = true;
  file.imageSmoothingQuality = 'high';
  file.drawImage(bitmap, 0, 0, w, h);
  const mine = file.getImageData(from.x, from.y, at.w, at.h).data;
  const canvas = document.getElementById('canvas').getContext('2d').getImageData(at.x, at.y, at.w, at.h).data;
  let opaque = 0, different = 0, worst = 0;
  for (let i = 0; i < mine.length; i += 4) {
    if (mine[i + 3] !== 255) continue;
    ++opaque;
    const d = Math.max(Math.abs(mine[i] - canvas[i]), Math.abs(mine[i + 1] - canvas[i + 1]), Math.abs(mine[i + 2] - canvas[i + 2]));
    worst = Math.max(worst, d);
    if (d > 3) ++different;
  }
  return {pixels: mine.length / 4, opaque, different, worst};
}, [path, size, from, at]);

describe('the pictures on the canvas', () => {
  for (const k of scales) {
    test(`at device scale ${k} they are the ${k}x renderings, pixel for pixel`, async () => {
      const width = 1021, height = 673;  // Start's own size: the form at scale 1 in CSS pixels
      const {context, page, problems} = await open('/', {width, height, scale: k});
      const s = await state(page);
      assert.deepEqual([s.forms[0].width, s.forms[0].height], [width, height]);
      assert.deepEqual(s.transform, {scale: 1, x: 0, y: 0});
      const pictures = startPictures(s);
      assert.ok(pictures.length >= 6, 'Start shows its pictures');
      const files = await fetched(page);
      for (const {button, name} of pictures) {
        const path = files.get(name)?.get(k);
        assert.ok(path, `${name} fetched at ${k}x: ${JSON.stringify([...(files.get(name) ?? [])])}`);
        // The rendering decoded in the page, against the canvas where the
        // picture lies: every opaque pixel of the file within a small
        // tolerance (colour management), on the face inside the bevel.
        const result = await page.evaluate(async ([path, own, button, k]) => {
          const bitmap = await createImageBitmap(await (await fetch(path)).blob());
          const w = own ? bitmap.width : bitmap.width / k, h = own ? bitmap.height : bitmap.height / k;
          return {size: [bitmap.width, bitmap.height], w, h};
        }, [path, k === 1, button, k]);
        assert.ok(Number.isInteger(result.w) && Number.isInteger(result.h), `${path} is ${k} times a picture's size: ${result.size}`);
        const place = pictureOn(button, result.w, result.h);
        assert.ok(place.compared.w > 10 && place.compared.h > 10, `${name} shows on its button`);
        const a = place.compared;
        const compared = await againstCanvas(page, path, {
          from: {x: (a.x - place.left) * k, y: (a.y - place.top) * k},
          at: {x: a.x * k, y: a.y * k, w: a.w * k, h: a.h * k},
        });
        assert.ok(compared.opaque > compared.pixels / 4, `${name} at ${k}x has pixels to compare: ${JSON.stringify(compared)}`);
        assert.equal(compared.different, 0, `${name} at ${k}x on the canvas: ${JSON.stringify(compared)}`);
      }
      assert.deepEqual(problems, []);
      await context.close();
    });
  }

  test('at a scale in between, each picture of Start comes in the nearest larger rendering and no other, and is drawn scaled with high quality', async () => {
    const [width, height, ratio] = [1024, 768, 2];
    const {context, page, problems} = await open('/', {width, height, scale: ratio});
    const s = await state(page);
    const form = s.forms[0];
    // The transform as the page works it out (runtime/form_transform.cpp), unrounded.
    const scale = Math.min(width / form.width, height / form.height);
    const ox = Math.floor((width - form.width * scale) / 2), oy = Math.floor((height - form.height * scale) / 2);
    assert.ok(Math.abs(scale - s.transform.scale) < 1e-5 && ox === s.transform.x && oy === s.transform.y);
    const device = scale * ratio;
    assert.ok(device > 2 && device < 3, `a device scale between 2 and 3: ${device}`);
    const files = await fetched(page);
    const seen = new Set();
    for (const {button, name} of startPictures(s)) {
      if (seen.has(name)) continue;
      seen.add(name);
      const got = [...(files.get(name)?.keys() ?? [])];
      assert.equal(got.length, 1, `${name} fetched in one rendering: ${JSON.stringify(got)}`);
      const size = await page.evaluate(async (path) => {
        const b = await createImageBitmap(await (await fetch(path)).blob());
        return [b.width, b.height];
      }, files.get(name).get(got[0]));
      const [w, h] = [size[0] / got[0], size[1] / got[0]];
      // Its rectangle on the device, every edge rounded on its own (web/canvas_painter.cpp).
      const {left, top} = pictureOn(button, w, h);
      const edge = (o, v) => Math.round(o * ratio + v * device);
      const dw = edge(ox, left + w) - edge(ox, left), dh = edge(oy, top + h) - edge(oy, top);
      // The rendering the program chooses for that size, as its table says.
      const wanted = await page.evaluate(([name, dw, dh]) => {
        const first = JSON.parse(document.getElementById('first-pictures').textContent);
        const reach = first.pictures.find((p) => p.name === name).r;
        const i = reach.findIndex(([rw, rh]) => rw >= dw && rh >= dh);
        return [1, ...first.scales][i < 0 ? reach.length - 1 : i];
      }, [name, dw, dh]);
      assert.ok(wanted >= 2);
      assert.equal(got[0], wanted, `${name} (${w}x${h}, ${dw}x${dh} on the device)`);
      // By now (the page went quiet) the canvas holds the picture scaled
      // with high-quality smoothing: the page drew it quickly to size for the
      // first frame, made its scaled copy after that frame and drew Start
      // again from the copies. The same scaling done here, pixel for pixel
      // within a small tolerance, on the face inside the bevel.
      const a = pictureOn(button, w, h).compared;
      const x0 = edge(ox, a.x), y0 = edge(oy, a.y), x1 = edge(ox, a.x + a.w), y1 = edge(oy, a.y + a.h);
      const px = edge(ox, left), py = edge(oy, top);
      const compared = await againstCanvas(page, files.get(name).get(got[0]), {
        size: {w: dw, h: dh}, from: {x: x0 - px, y: y0 - py}, at: {x: x0, y: y0, w: x1 - x0, h: y1 - y0},
      });
      assert.ok(compared.opaque > compared.pixels / 4, `${name} has pixels to compare: ${JSON.stringify(compared)}`);
      assert.equal(compared.different, 0, `${name} scaled with high quality on the canvas: ${JSON.stringify(compared)}`);
    }
    assert.deepEqual(problems, []);
    await context.close();
  });
});
