#!/usr/bin/env python3
"""Checks that Piet's clothes fit the figure of the dressing form.

Renders background.svg and the nine wardrobe pieces with rsvg-convert at their
pixel sizes, cuts transparency at 50 % alpha as the GIF build does, and puts
each piece where its slot lies on the form. Then, per kind of clothing:
  - every pixel of the white cap, blouse or trousers of the figure must be
    covered by each piece of that kind, and
  - no piece may reach more than one pixel beyond that white part's outline.
It also writes PNG sheets to look at: all 27 outfits, each piece alone, and the
whole form with the wardrobe.

    python3 check_fit.py [output-folder]      (default /tmp/pietkleden_check)

Exits 1 when a piece does not fit. Needs only python3 and rsvg-convert; the
<xi:include> of ../shared/piet.svg is resolved here, as the picture renderer does.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SVG_NS = 'http://www.w3.org/2000/svg'
ET.register_namespace('', SVG_NS)
ET.register_namespace('xi', 'http://www.w3.org/2001/XInclude')

FORM_W, FORM_H = 1021, 673
FACE = (240, 240, 240)          # the form's button-face colour

# Slots on the figure (pixels on the form; the background lies at 0, 0).
SLOTS = {'muts': (744, 216), 'bloes': (720, 320), 'broek': (760, 440)}
# Wardrobe pieces: kind, svg, size, place in the wardrobe.
PIECES = {
    'muts_rood':    ('muts', 'muts_rood.svg', (132, 70), (88, 168)),
    'muts_groen':   ('muts', 'muts_groen.svg', (132, 70), (88, 316)),
    'muts_blauw':   ('muts', 'muts_blauw.svg', (132, 70), (88, 456)),
    'bloes_oranje': ('bloes', 'bloes_oranje.svg', (186, 128), (232, 136)),
    'bloes_groen':  ('bloes', 'bloes_groen.svg', (182, 128), (232, 296)),
    'bloes_blauw':  ('bloes', 'bloes_blauw.svg', (182, 128), (232, 448)),
    'broek_rood':   ('broek', 'broek_rood.svg', (100, 68), (432, 184)),
    'broek_groen':  ('broek', 'broek_groen.svg', (100, 68), (432, 344)),
    'broek_blauw':  ('broek', 'broek_blauw.svg', (100, 68), (432, 496)),
}
KINDS = {k: [n for n, p in PIECES.items() if p[0] == k] for k in SLOTS}
# The form paints later rows first: trousers slot, blouse slot, cap slot on top.
SLOT_ORDER = ['broek', 'bloes', 'muts']
FIGURE = (680, 210, 240, 360)   # crop around Piet for the outfit sheets
MAGENTA = '#ff00ff'


# --- PNG in and out -------------------------------------------------------

def read_png(path):
    data = open(path, 'rb').read()
    pos, idat = 8, b''
    while pos < len(data):
        n, = struct.unpack('>I', data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + n]
        pos += 12 + n
        if kind == b'IHDR':
            w, h, depth, ctype = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and ctype == 6, 'expected 8-bit RGBA'
        elif kind == b'IDAT':
            idat += body
    raw, stride = zlib.decompress(idat), w * 4
    out, prev, p = bytearray(h * stride), bytearray(stride), 0
    for y in range(h):
        f, line = raw[p], bytearray(raw[p + 1:p + 1 + stride])
        p += 1 + stride
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out[y * stride:(y + 1) * stride] = line
        prev = line
    return w, h, out


def write_png(path, w, h, rgb):
    raw = b''.join(b'\x00' + bytes(rgb[y * w * 3:(y + 1) * w * 3]) for y in range(h))

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(raw, 6)) + chunk(b'IEND', b''))


# --- pictures as the build makes them ------------------------------------

def with_includes(svg_text):
    """The SVG with each <xi:include href="..."/> replaced by the root element of the
    file it names, relative to this folder (rsvg-convert includes only from below it)."""
    def root(match):
        href = re.search(r'''href\s*=\s*["']([^"']*)["']''', match.group(0)).group(1)
        text = open(os.path.join(HERE, href), encoding='utf-8').read()
        return text[re.search(r'<svg[\s>]', text).start():]
    return re.sub(r'<xi:include\b[^>]*/>', root, svg_text)


class Picture:
    """A rendered picture after the GIF cut: colour per pixel or None (transparent)."""

    def __init__(self, svg_path, size, tmp):
        name = os.path.basename(svg_path)
        expanded, png = os.path.join(tmp, 'expanded_' + name), os.path.join(tmp, name + '.png')
        with open(svg_path, encoding='utf-8') as src, open(expanded, 'w', encoding='utf-8') as out:
            out.write(with_includes(src.read()))
        subprocess.run(['rsvg-convert', '-w', str(size[0]), '-h', str(size[1]),
                        '-o', png, expanded], check=True)
        self.w, self.h, px = read_png(png)
        assert (self.w, self.h) == tuple(size), (svg_path, self.w, self.h)
        self.px = []
        for i in range(0, len(px), 4):
            a = px[i + 3]
            if a < 128:
                self.px.append(None)
            else:   # PNG holds straight colour, as the GIF build keeps it
                self.px.append(tuple(px[i:i + 3]))

    def opaque(self, dx=0, dy=0):
        return {(x + dx, y + dy) for y in range(self.h) for x in range(self.w)
                if self.px[y * self.w + x] is not None}


class Canvas:
    def __init__(self, w, h, colour=FACE):
        self.w, self.h = w, h
        self.px = [colour] * (w * h)

    def draw(self, pic, x0, y0):
        for y in range(pic.h):
            for x in range(pic.w):
                c = pic.px[y * pic.w + x]
                if c is not None and 0 <= x0 + x < self.w and 0 <= y0 + y < self.h:
                    self.px[(y0 + y) * self.w + x0 + x] = c

    def crop(self, x0, y0, w, h):
        out = Canvas(w, h)
        for y in range(h):
            out.px[y * w:(y + 1) * w] = self.px[(y0 + y) * self.w + x0:(y0 + y) * self.w + x0 + w]
        return out

    def paste(self, other, x0, y0):
        for y in range(other.h):
            self.px[(y0 + y) * self.w + x0:(y0 + y) * self.w + x0 + other.w] = \
                other.px[y * other.w:(y + 1) * other.w]

    def save(self, path, scale=1):
        rgb = bytearray()
        for y in range(self.h):
            row = bytearray()
            for c in self.px[y * self.w:(y + 1) * self.w]:
                row += bytes(c) * scale
            rgb += row * scale
        write_png(path, self.w * scale, self.h * scale, rgb)


# --- variants of the background for measuring ----------------------------

def background_variant(tmp, kind, mode):
    """mode 'inside': the kind's white part (everything but its outline) in magenta.
    mode 'alone': only the kind's group, nothing else of the figure."""
    tree = ET.parse(os.path.join(HERE, 'background.svg'))
    root = tree.getroot()
    parent = group = None
    for p in root.iter():
        for child in list(p):
            if child.get('id') == kind:
                parent, group = p, child
    assert group is not None, 'no group %s in background.svg' % kind
    if mode == 'alone':
        for child in list(parent):
            if child is not group:
                parent.remove(child)
    else:
        for el in group.iter():
            if el.get('fill') not in (None, 'none'):
                el.set('fill', MAGENTA)
            if el.get('stroke') not in (None, 'none', '#3a2a1e'):
                el.set('stroke', MAGENTA)
    path = os.path.join(tmp, 'background_%s_%s.svg' % (kind, mode))
    tree.write(path)
    return path


def is_magenta(c):
    return c is not None and c[0] > 200 and c[1] < 60 and c[2] > 200


def dilate(points):
    return {(x + dx, y + dy) for x, y in points for dx in (-1, 0, 1) for dy in (-1, 0, 1)}


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else '/tmp/pietkleden_check'
    os.makedirs(out_dir, exist_ok=True)
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        bg = Picture(os.path.join(HERE, 'background.svg'), (987, 573), tmp)
        pieces = {n: Picture(os.path.join(HERE, p[1]), p[2], tmp) for n, p in PIECES.items()}

        # 1. fit, measured per kind of clothing
        for kind, names in KINDS.items():
            sx, sy = SLOTS[kind]
            inside = Picture(background_variant(tmp, kind, 'inside'), (987, 573), tmp)
            white = {(i % inside.w, i // inside.w) for i, c in enumerate(inside.px) if is_magenta(c)}
            alone = Picture(background_variant(tmp, kind, 'alone'), (987, 573), tmp)
            allowed = dilate(alone.opaque())
            print('%-6s white part %5d px, outline area %5d px' % (kind, len(white), len(alone.opaque())))
            for name in names:
                piece = pieces[name].opaque(sx, sy)
                bare = white - piece
                spill = piece - allowed
                ok = not bare and not spill
                print('  %-13s %s  white left uncovered: %d px, beyond the outline: %d px'
                      % (name, 'fits' if ok else 'DOES NOT FIT', len(bare), len(spill)))
                for label, pts in (('uncovered', bare), ('beyond', spill)):
                    if pts:
                        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
                        print('      %s within x %d..%d, y %d..%d' % (label, min(xs), max(xs), min(ys), max(ys)))
                if not ok:
                    failures.append(name)

        # 2. sheets to look at
        def dressed(choice):
            form = Canvas(FORM_W, FORM_H)
            form.draw(bg, 0, 0)
            for kind in SLOT_ORDER:
                if choice.get(kind):
                    form.draw(pieces[choice[kind]], *SLOTS[kind])
            return form

        fx, fy, fw, fh = FIGURE
        outfits = Canvas(fw * 9, fh * 3)
        for r, cap in enumerate(KINDS['muts']):
            for c, (blouse, trousers) in enumerate((b, t) for b in KINDS['bloes'] for t in KINDS['broek']):
                fig = dressed({'muts': cap, 'bloes': blouse, 'broek': trousers}).crop(fx, fy, fw, fh)
                outfits.paste(fig, c * fw, r * fh)
        outfits.save(os.path.join(out_dir, 'outfits.png'))

        singles = [{}] + [{PIECES[n][0]: n} for n in PIECES]
        sheet = Canvas(fw * len(singles), fh)
        for i, choice in enumerate(singles):
            sheet.paste(dressed(choice).crop(fx, fy, fw, fh), i * fw, 0)
        sheet.save(os.path.join(out_dir, 'singles.png'))

        form = dressed({'muts': 'muts_blauw', 'bloes': 'bloes_oranje', 'broek': 'broek_groen'})
        for name, p in PIECES.items():
            form.draw(pieces[name], *p[3])
        form.save(os.path.join(out_dir, 'form.png'))
        dressed({}).crop(fx, fy, fw, fh).save(os.path.join(out_dir, 'undressed_x3.png'), 3)
    print('sheets written to', out_dir)
    if failures:
        print('not fitting:', ', '.join(failures))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
