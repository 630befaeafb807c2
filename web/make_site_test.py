#!/usr/bin/env python3
"""The site's fonts: the subsets hold the characters they are cut to, and the
build fails, naming the control, when a form's text has one a subset lacks.
The list of Start's pictures in index.html: the catalog's entries of what
Start shows, and a build that fails when one has no entry or no rendering.
The precompressed copies: each the file itself once decompressed, and none
in the service worker's list.

    python3 web/make_site_test.py
"""
import gzip
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import make_site  # noqa: E402


class FontSubsetTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.fonts = {}
        for name, source in make_site.FONTS.items():
            out = pathlib.Path(cls.folder.name) / name
            make_site.subset_font(source, set('Tel 0123é'), out)
            cls.fonts[name] = (out, source)

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_a_subset_holds_what_it_is_cut_to_and_little_else(self):
        for name, (font, _) in self.fonts.items():
            with self.subTest(font=name):
                cmap = make_site.font_cmap(font)
                self.assertLessEqual(set('Tel 0123é'), cmap)
                self.assertNotIn('x', cmap)

    def test_the_check_fails_on_a_character_the_subset_lacks(self):
        cases = [
            ('every character held', [('Tellen1.Label1', 'Tel 12'), ('Start', 'Tellé')], None),
            ('a letter left out', [('Tellen1.Label1', 'Tel 12'), ('Tellen3.Label2', 'Telt')], 'Tellen3.Label2'),
            ('an accent left out', [('Spel.knopStop', 'Telë')], 'Spel.knopStop'),
        ]
        for font, source in self.fonts.values():
            for label, texts, failing in cases:
                with self.subTest(font=font.name, case=label):
                    if failing is None:
                        make_site.check_subset(font, texts, source)
                    else:
                        with self.assertRaises(SystemExit) as failed:
                            make_site.check_subset(font, texts, source)
                        self.assertIn(failing, str(failed.exception.code))

    def test_the_characters_wanted_are_ascii_the_forms_and_the_page(self):
        with tempfile.NamedTemporaryFile('w', suffix='.html', encoding='utf-8') as page:
            page.write('<p>Tuvrel wordt geladen…</p>\n')
            page.flush()
            wanted = make_site.shown_characters([('Start.Label1', 'Sinterklaas café\tß')],
                                                [pathlib.Path(page.name)])
        self.assertLessEqual(make_site.ASCII, wanted)
        self.assertLessEqual(set('éß…'), wanted)
        self.assertFalse({'\t', '\n', '\x7f'} & wanted)


class FirstPicturesTest(unittest.TestCase):
    START = {
        'form': 'Start', 'width': 1021, 'height': 673, 'shown': ['start_piet', 'start_tellen'],
        'catalog': {'scales': [2, 3], 'pictures': [
            {'name': 'start_piet', 'w': 100, 'h': 80, 'e': 'gif', 'k': 'png'},
            {'name': 'start_tellen', 'w': 90, 'h': 70, 'e': 'jpg', 'k': 'jpg'},
            {'name': 'elsewhere', 'w': 10, 'h': 10, 'e': 'gif', 'k': 'png'},
        ]},
    }

    def site(self, files):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        root = pathlib.Path(folder.name)
        for name in files:
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_bytes(b'')
        return root

    ALL = ['pictures/start_piet.gif', 'pictures/2x/start_piet.png', 'pictures/3x/start_piet.png',
           'pictures/start_tellen.jpg', 'pictures/2x/start_tellen.jpg', 'pictures/3x/start_tellen.jpg']

    def test_the_list_holds_the_entries_of_what_start_shows(self):
        first = make_site.first_pictures(self.START, self.site(self.ALL))
        self.assertEqual((first['width'], first['height'], first['scales']), (1021, 673, [2, 3]))
        self.assertEqual([p['name'] for p in first['pictures']], ['start_piet', 'start_tellen'])
        self.assertEqual(first['pictures'][1], self.START['catalog']['pictures'][1])

    def test_the_build_fails_on_a_picture_without_entry_or_rendering(self):
        cases = [
            ('no entry', dict(self.START, shown=['start_piet', 'nowhere']), self.ALL, 'nowhere'),
            ('no 3x rendering', self.START, [f for f in self.ALL if f != 'pictures/3x/start_tellen.jpg'],
             'pictures/3x/start_tellen.jpg'),
            ('no own-size file', self.START, self.ALL[1:], 'pictures/start_piet.gif'),
        ]
        for label, start, files, named in cases:
            with self.subTest(case=label):
                with self.assertRaises(SystemExit) as failed:
                    make_site.first_pictures(start, self.site(files))
                self.assertIn(named, str(failed.exception.code))

    def test_the_list_goes_into_the_page_once_and_cannot_end_its_block(self):
        page = '<script type="application/json" id="first-pictures">@FIRST_PICTURES@</script>'
        html = make_site.with_first_pictures(page, {'form': '</script><b>&'})
        self.assertEqual(html.count('</script>'), 1)
        self.assertEqual(html.count('<'), 2)
        body = html.split('>', 1)[1].rsplit('<', 1)[0]
        self.assertEqual(json.loads(body), {'form': '</script><b>&'})
        for broken in ('<p></p>', page + page):
            with self.subTest(page=broken), self.assertRaises(SystemExit):
                make_site.with_first_pictures(broken, {})


class StripColourTest(unittest.TestCase):
    """The strips' colour goes from the program into the page's files."""

    def test_the_colour_goes_where_the_page_asks_for_it(self):
        self.assertEqual(make_site.with_strip_colour(':root { --strip: @STRIP@; }', '#36414c', 'page.css'),
                         ':root { --strip: #36414c; }')

    def test_the_build_fails_without_a_place_or_a_colour(self):
        for label, text, colour in [('no place', '<meta name="theme-color">', '#36414c'),
                                    ('not a colour', '@STRIP@', 'slate'),
                                    ('markup', '@STRIP@', '#36414c"><script>')]:
            with self.subTest(case=label), self.assertRaises(SystemExit):
                make_site.with_strip_colour(text, colour, 'index.html')

    def test_the_page_files_hold_the_place(self):
        site = pathlib.Path(__file__).resolve().parent / 'site'
        for name in ('index.html', 'page.css'):
            with self.subTest(file=name):
                text = (site / name).read_text(encoding='utf-8')
                self.assertIn('@STRIP@', text)
                self.assertNotRegex(text, r'#36414c')


class PrecompressedTest(unittest.TestCase):
    # Text that compresses, and bytes that do not; an empty file; kinds that stay as they are.
    FILES = {
        'index.html': '<!doctype html><p>Tuvrel wordt geladen…</p>\n'.encode() * 40,
        'tuvrel.wasm': bytes(range(256)) * 64,
        'page.js': b'',
        'sw.js': b'const FILES = ["./"];\n',
        'fonts/page.css': b'body{margin:0}\n' * 10,
        'pictures/piet.gif': b'GIF89a' * 50,
        'manifest.webmanifest': b'{}\n',
    }

    def test_each_copy_is_the_file_and_the_worker_lists_none(self):
        node = shutil.which('node')
        if not node:
            self.skipTest('no node for the brotli copies')
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        root = pathlib.Path(folder.name)
        for name, data in self.FILES.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_bytes(data)
        compressed = {p.relative_to(root).as_posix() for p in make_site.precompress(root, node)}
        self.assertEqual(compressed, {'index.html', 'tuvrel.wasm', 'page.js', 'sw.js', 'fonts/page.css'})
        unbrotli = "process.stdout.write(require('zlib').brotliDecompressSync(require('fs').readFileSync(process.argv[1])))"
        for name, data in self.FILES.items():
            with self.subTest(file=name):
                if name in compressed:
                    self.assertEqual(gzip.decompress((root / (name + '.gz')).read_bytes()), data)
                    brotli = subprocess.run([node, '-e', unbrotli, str(root / (name + '.br'))], check=True,
                                            capture_output=True).stdout
                    self.assertEqual(brotli, data)
                else:
                    self.assertFalse((root / (name + '.gz')).exists() or (root / (name + '.br')).exists())
        self.assertEqual(make_site.site_files(root), sorted(self.FILES))
        # The same site gives the same bytes.
        before = {n: (root / (n + '.gz')).read_bytes() + (root / (n + '.br')).read_bytes() for n in compressed}
        make_site.precompress(root, node)
        self.assertEqual(before, {n: (root / (n + '.gz')).read_bytes() + (root / (n + '.br')).read_bytes()
                                  for n in compressed})


if __name__ == '__main__':
    unittest.main()
