#!/usr/bin/env python3
"""The site's fonts: the subsets hold the characters they are cut to, and the
build fails, naming the control, when a form's text has one a subset lacks.

    python3 web/make_site_test.py
"""
import pathlib
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


if __name__ == '__main__':
    unittest.main()
