#!/usr/bin/env python3
"""Writes the site: one folder of static files that any web server can serve.

The page (web/site), the program (tuvrel.js, tuvrel.wasm), every picture at
its own size and at the larger scales, the bundled fonts, the icons made from
the window icon's source, the web app manifest and the service worker with
the list of every file and a version that is the hash of them all.

The fonts are loaded before the first frame, so they are cut down to the
characters the program shows (fonttools' pyftsubset, as WOFF2): every
character of the forms' texts (FORM_TEXTS: form_texts.js, run under node,
prints them from the forms' descriptions), of the page's own texts, and
printable ASCII for what the program writes itself (counters, messages).
The build fails if a form's text has a character that a subset lacks.

Start's first frame waits for its pictures, so the page fetches them while
its WebAssembly downloads and compiles: form_texts.js --start says what the
program shows first (Start's size and the pictures it shows, as the program
itself starts it), and index.html carries that list with the pictures'
catalog entries as a JSON data block (FIRST_PICTURES). The build fails if a
picture of the list has no entry in the catalog or a rendering the site lacks.

The colour of the strips beside a form is the program's (--start gives it):
the build writes it where index.html and page.css hold @STRIP@, and into the
web app manifest.

The page, its program and its style are also written precompressed beside
themselves (NAME.br, brotli at its best, and NAME.gz, gzip -9), so that a
static host (or web/serve.py) can send them compressed to a browser that takes
them; the service worker lists only the files themselves, which a browser
receives whole whichever way they travelled. Brotli is node's (its zlib).

    make_site.py --program DIR --pictures DIR --manifest-dir DIR --form-texts FORM_TEXTS --node NODE --out DIR
"""
import argparse
import gzip
import hashlib
import json
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

FONTS = {
    'ComicNeue-Regular.woff2': '/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf',
    'LiberationSans-Regular.woff2': '/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf',
}
FONT_PACKAGES = 'fonts-comic-neue and fonts-liberation2'
SUBSET_PACKAGES = 'fonttools and python3-brotli'

# Printable ASCII, whatever the texts hold: the program writes numbers and
# messages of its own.
ASCII = {chr(c) for c in range(0x20, 0x7f)}

MANIFEST = {
    'name': 'Tuvrel: Sinterklaasspelletjes',
    'short_name': 'Tuvrel',
    'description': 'Sinterklaasspelletjes voor groep 1 en 2: puzzels, sudoku, tellen, vormen en meer.',
    'lang': 'nl',
    'dir': 'ltr',
    'start_url': './',
    'scope': './',
    'display': 'fullscreen',
    'orientation': 'landscape',
    # 'background_color' and 'theme_color': the strips' colour, from the program.
    'icons': [
        {'src': 'icons/icon-192.png', 'sizes': '192x192', 'type': 'image/png', 'purpose': 'any'},
        {'src': 'icons/icon-512.png', 'sizes': '512x512', 'type': 'image/png', 'purpose': 'any'},
        {'src': 'icons/icon-maskable-512.png', 'sizes': '512x512', 'type': 'image/png', 'purpose': 'maskable'},
    ],
}


def file_digest(path):
    """The start of a file's SHA-256, as the service worker checks it."""
    return hashlib.sha256(path.read_bytes()).hexdigest()[:16]


# The kinds of file written precompressed beside themselves.
PRECOMPRESSED = ('.wasm', '.js', '.css', '.html')

# node's zlib: every file named on the command line written as FILE.br.
BROTLI_SCRIPT = r"""
const fs = require('fs'), zlib = require('zlib');
for (const file of process.argv.slice(1)) {
  const data = fs.readFileSync(file);
  fs.writeFileSync(file + '.br', zlib.brotliCompressSync(data, {params: {
    [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
    [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length}}));
}
"""


def fail(message):
    sys.exit('make_site: ' + message)


def window_icon_source(manifest_dir):
    """The SVG that the picture manifests name for the row window_icon."""
    for manifest in sorted(pathlib.Path(manifest_dir).glob('*/manifest.txt')):
        for line in manifest.read_text(encoding='utf-8').splitlines():
            columns = re.sub(r'(^|\s)#.*$', '', line).split()
            if columns and columns[0] == 'window_icon':
                return manifest.parent / columns[4]
    fail(f'no picture manifest under {manifest_dir} has the row window_icon')


def render_svg(svg_text, size, out):
    with tempfile.NamedTemporaryFile('w', suffix='.svg', encoding='utf-8') as source:
        source.write(svg_text)
        source.flush()
        subprocess.run(['rsvg-convert', '-w', str(size), '-h', str(size), '-o', str(out), source.name], check=True)


def make_icons(svg, out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    text = svg.read_text(encoding='utf-8')
    for size in (192, 512):
        render_svg(text, size, out_dir / f'icon-{size}.png')
    # Maskable: the icon inside the middle of a white ground, so that any
    # mask a home screen cuts (a circle of 80 % of the width) keeps it whole.
    inner = re.search(r'<svg[^>]*>(.*)</svg>', text, re.S)
    view = re.search(r'viewBox="([\d.\s-]+)"', text)
    if not inner or not view:
        fail(f'{svg} is not an SVG with a viewBox')
    _, _, width, height = (float(v) for v in view.group(1).split())
    scale = 0.56 * 512 / max(width, height)
    left, top = (512 - width * scale) / 2, (512 - height * scale) / 2
    maskable = (f'<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
                f'width="512" height="512" viewBox="0 0 512 512"><rect width="512" height="512" fill="#ffffff"/>'
                f'<g transform="translate({left} {top}) scale({scale})">{inner.group(1)}</g></svg>')
    render_svg(maskable, 512, out_dir / 'icon-maskable-512.png')


def form_texts(node, program):
    """[(where, text)] of every text the forms' descriptions hold."""
    # Emscripten's node loader reads the .wasm as a file only where node has no fetch of its own.
    try:
        result = subprocess.run([node, '--no-experimental-fetch', str(program)], check=True, capture_output=True,
                                text=True, encoding='utf-8')
    except (OSError, subprocess.CalledProcessError) as e:
        said = (getattr(e, 'stderr', '') or str(e)).strip().splitlines()
        fail(f'{program} did not list the forms\' texts: {said[-1] if said else e}')
    return [(t['where'], t['text']) for t in json.loads(result.stdout)]


def first_frame(node, program):
    """What form_texts.js --start prints: Start as the program shows it first."""
    try:
        result = subprocess.run([node, '--no-experimental-fetch', str(program), '--start'], check=True,
                                capture_output=True, text=True, encoding='utf-8')
        return json.loads(result.stdout)
    except (OSError, subprocess.CalledProcessError, json.JSONDecodeError) as e:
        said = (getattr(e, 'stderr', '') or str(e)).strip().splitlines()
        fail(f'{program} --start did not say what Start shows: {said[-1] if said else e}')


def first_pictures(start, site):
    """The page's list of the pictures of its first frame: the form's size, the
    catalog's scales and its entries for the pictures shown. Fails when a picture has no entry or a rendering is not a file of the site."""
    catalog = {p['name']: p for p in start['catalog']['pictures']}
    scales = start['catalog']['scales']
    pictures = []
    for name in start['shown']:
        entry = catalog.get(name)
        if entry is None:
            fail(f'{start["form"]} shows the picture {name}, which the picture catalog lacks')
        files = [f'pictures/{name}.{entry["e"]}'] + [f'pictures/{k}x/{name}.{entry["k"]}' for k in scales]
        for file in files:
            if not (site / file).is_file():
                fail(f'{start["form"]} shows the picture {name}, and the site lacks its rendering {file}')
        pictures.append(entry)
    return {'form': start['form'], 'width': start['width'], 'height': start['height'], 'scales': scales,
            'pictures': pictures}


def with_strip_colour(text, strip, name):
    """A page file with the strips' colour (form_texts.js --start gives the
    program's own) in place of its @STRIP@, which it must hold."""
    if not re.fullmatch(r'#[0-9a-f]{6}', strip):
        fail(f'the program gave {strip!r} as the strips\' colour, not a colour')
    if '@STRIP@' not in text:
        fail(f'{name} should hold @STRIP@ where the strips\' colour goes')
    return text.replace('@STRIP@', strip)


def with_first_pictures(html, first):
    """index.html with the list in its data block, safe inside <script>."""
    placeholder = '@FIRST_PICTURES@'
    if html.count(placeholder) != 1:
        fail(f'index.html should hold {placeholder} once, in its data block of Start\'s pictures')
    data = json.dumps(first, ensure_ascii=False, separators=(',', ':'))
    return html.replace(placeholder, data.replace('<', '\\u003c').replace('>', '\\u003e').replace('&', '\\u0026'))


def shown_characters(texts, page_files):
    """The characters the fonts must hold: ASCII, the forms' and the page's texts."""
    wanted = set(ASCII)
    for _, text in texts:
        wanted.update(text)
    for page_file in page_files:
        wanted.update(page_file.read_text(encoding='utf-8'))
    return {c for c in wanted if ord(c) >= 0x20 and c != '\x7f'}


def font_cmap(font):
    """The characters a font file maps to glyphs (ttx from fonttools)."""
    try:
        dump = subprocess.run(['ttx', '-q', '-t', 'cmap', '-o', '-', str(font)], check=True, capture_output=True,
                              text=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        fail(f'ttx could not read {font} ({e}): install {SUBSET_PACKAGES}')
    return {chr(int(code, 16)) for code in re.findall(r'<map code="(0x[0-9a-fA-F]+)"', dump)}


def subset_font(source, characters, out):
    """The font cut down to the characters, every glyph kept as it is drawn:
    its outline, hinting, kerning and the layout features."""
    with tempfile.NamedTemporaryFile('w', suffix='.txt', encoding='ascii') as unicodes:
        unicodes.write('\n'.join(f'U+{ord(c):04X}' for c in sorted(characters)) + '\n')
        unicodes.flush()
        try:
            subprocess.run(['pyftsubset', str(source), f'--unicodes-file={unicodes.name}', '--flavor=woff2',
                            '--layout-features=*', '--legacy-kern', '--no-prune-unicode-ranges',
                            '--name-IDs=*', '--name-languages=*', f'--output-file={out}'],
                           check=True, capture_output=True, text=True)
        except (OSError, subprocess.CalledProcessError) as e:
            fail(f'pyftsubset could not subset {source} ({getattr(e, "stderr", "") or e}): install {SUBSET_PACKAGES}')


def check_subset(font, texts, source):
    """Fails when a form's text has a character that the subset lacks."""
    has = font_cmap(font)
    missing = [(where, c) for where, text in texts for c in text if ord(c) >= 0x20 and c not in has]
    if missing:
        where, c = missing[0]
        fail(f'the text of {where} has {c!r} (U+{ord(c):04X}), which {font.name} lacks (made from {source}); '
             f'{len(missing)} such characters in all')


def site_files(out):
    """Every file of the site but the precompressed copies, as paths within it."""
    return sorted(p.relative_to(out).as_posix() for p in out.rglob('*')
                  if p.is_file() and not (p.suffix in ('.br', '.gz') and p.with_suffix('').suffix in PRECOMPRESSED))


def precompress(out, node):
    """Writes NAME.br and NAME.gz beside every file of the kinds PRECOMPRESSED;
    returns the files it compressed."""
    files = sorted(p for p in out.rglob('*') if p.is_file() and p.suffix in PRECOMPRESSED)
    for file in files:
        # mtime 0: the same site gives the same bytes.
        (out / (file.relative_to(out).as_posix() + '.gz')).write_bytes(
            gzip.compress(file.read_bytes(), compresslevel=9, mtime=0))
    try:
        subprocess.run([node, '-e', BROTLI_SCRIPT, *map(str, files)], check=True, capture_output=True, text=True)
    except (OSError, subprocess.CalledProcessError) as e:
        fail(f'{node} could not write the brotli copies: {(getattr(e, "stderr", "") or str(e)).strip()}')
    return files


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--program', required=True, help='folder with tuvrel.js and tuvrel.wasm')
    parser.add_argument('--pictures', required=True, help="a native build's pictures folder")
    parser.add_argument('--manifest-dir', required=True, help='the assets folder with the picture manifests')
    parser.add_argument('--form-texts', required=True, help='form_texts.js, which lists the forms\' texts')
    parser.add_argument('--node', default='node', help='the node that runs it')
    parser.add_argument('--out', required=True)
    args = parser.parse_args()

    here = pathlib.Path(__file__).resolve().parent
    out = pathlib.Path(args.out)
    if out.exists():
        shutil.rmtree(out)
    out.mkdir(parents=True)

    for name in ('index.html', 'compile.js', 'page.js', 'page.css'):
        shutil.copy(here / 'site' / name, out / name)
    for name in ('tuvrel.js', 'tuvrel.wasm'):
        source = pathlib.Path(args.program) / name
        if not source.is_file():
            fail(f'{source} is missing: build the target tuvrel_web first')
        shutil.copy(source, out / name)

    pictures = pathlib.Path(args.pictures)
    if not pictures.is_dir() or not any(pictures.glob('*.gif')):
        fail(f'{pictures} holds no pictures: build the target tuvrel_picture_files in a native tree first')
    shutil.copytree(pictures, out / 'pictures')

    (out / 'fonts').mkdir()
    texts = form_texts(args.node, args.form_texts)
    characters = shown_characters(texts, [here / 'site' / 'index.html', here / 'site' / 'page.js'])
    for name, source in FONTS.items():
        if not pathlib.Path(source).is_file():
            fail(f'{source} is missing: install {FONT_PACKAGES}')
        subset_font(source, characters, out / 'fonts' / name)
        check_subset(out / 'fonts' / name, texts, source)

    index = out / 'index.html'
    start = first_frame(args.node, args.form_texts)
    first = first_pictures(start, out)
    index.write_text(with_first_pictures(index.read_text(encoding='utf-8'), first), encoding='utf-8')
    for name in ('index.html', 'page.css'):
        page_file = out / name
        page_file.write_text(with_strip_colour(page_file.read_text(encoding='utf-8'), start['strip'], name),
                             encoding='utf-8')

    make_icons(window_icon_source(args.manifest_dir), out / 'icons')
    shutil.copy(here / 'site' / 'exclamation.svg', out / 'icons' / 'exclamation.svg')
    manifest = {**MANIFEST, 'background_color': start['strip'], 'theme_color': start['strip']}
    (out / 'manifest.webmanifest').write_text(json.dumps(manifest, ensure_ascii=False, indent=2) + '\n',
                                              encoding='utf-8')

    # What the page preloads must be files of the site.
    for href in re.findall(r'<link rel="preload" href="([^"]+)"', (out / 'index.html').read_text(encoding='utf-8')):
        if not (out / href).is_file():
            fail(f'index.html preloads {href}, which the site does not have')

    # Every file of this version, and the version: a hash of them all. The
    # page carries its version (index.html's meta tuvrel-version), written
    # once the version is known; the worker checks every file it caches
    # against the start of its SHA-256.
    files = site_files(out)
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b'\0' + (out / name).read_bytes())
    version = digest.hexdigest()[:16]
    html = index.read_text(encoding='utf-8')
    if html.count('@VERSION@') != 1:
        fail('index.html should hold @VERSION@ once, in its meta tuvrel-version')
    index.write_text(html.replace('@VERSION@', version), encoding='utf-8')
    listed = {'./': file_digest(index)}
    listed.update({name: file_digest(out / name) for name in files})
    worker = (here / 'site' / 'sw.js').read_text(encoding='utf-8')
    worker = worker.replace('@VERSION@', version).replace('@FILES@', json.dumps(listed, indent=2))
    (out / 'sw.js').write_text(worker, encoding='utf-8')
    (out / 'version.txt').write_text(version + '\n', encoding='utf-8')
    compressed = precompress(out, args.node)
    print(f'make_site: {out} (version {version}, {len(listed) + 1} files, {len(compressed)} also as .br and .gz)')


if __name__ == '__main__':
    main()
