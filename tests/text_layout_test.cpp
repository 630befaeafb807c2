// Where the core breaks a label's text into lines and where it puts each
// line: the rule at its edges with a measurer of even widths, and every label
// of every form with the measures of the program's own faces, read from their
// font files.
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/text_layout.h"
#include "tests/support/core_qt.h"

#include <QTest>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

using namespace tuvrel;

namespace {

// Every character 10 pixels wide, an 'f' whose ink reaches 4 pixels past
// its advance; lines 12 + 4 pixels high with 1.5 between them.
class EvenMeasurer : public TextMeasurer {
public:
    LineMetrics lineMetrics(const FontSpec&) override { return {12, 4, 1.5}; }
    RunWidth measure(const FontSpec&, std::string_view run) override
    {
        double advance = 0;
        for (const char c : run)
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)  // a character's first byte
                advance += 10;
        return {advance, !run.empty() && run.back() == 'f' ? 4.0 : 0.0};
    }
};

const Rect Box(10, 20, 100, 30);
const FontSpec AnyFont = fonts::arial(12);

// One of the program's faces as its font file describes it: its vertical
// measures and each character's advance (cmap format 4, hmtx), in font units.
class FaceFile {
public:
    explicit FaceFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes_.size() < 12)
            throw std::runtime_error(path + " cannot be read");
        const size_t head = table("head"), hhea = table("hhea");
        unitsPerEm_ = u16(head + 18);
        ascender_ = s16(hhea + 4);
        descender_ = s16(hhea + 6);
        lineGap_ = s16(hhea + 8);
        metricsCount_ = u16(hhea + 34);
        hmtx_ = table("hmtx");
        const size_t cmap = table("cmap");
        for (size_t i = 0; i < u16(cmap + 2); ++i) {
            const size_t record = cmap + 4 + 8 * i;
            if (u16(record) == 3 && u16(record + 2) == 1 && u16(cmap + u32(record + 4)) == 4)
                unicode_ = cmap + u32(record + 4);
        }
        if (!unicode_)
            throw std::runtime_error(path + " has no Unicode character map");
    }

    double unitsPerEm() const { return unitsPerEm_; }
    int ascender() const { return ascender_; }
    int descender() const { return descender_; }
    int lineGap() const { return lineGap_; }

    int advance(char32_t c) const
    {
        const size_t glyph = glyphOf(c);
        return u16(hmtx_ + 4 * std::min<size_t>(glyph, metricsCount_ - 1));
    }

private:
    size_t glyphOf(char32_t c) const
    {
        const size_t segments = u16(unicode_ + 6) / 2;
        const size_t ends = unicode_ + 14, starts = ends + 2 * segments + 2;
        const size_t deltas = starts + 2 * segments, offsets = deltas + 2 * segments;
        for (size_t i = 0; i < segments; ++i) {
            if (c > u16(ends + 2 * i))
                continue;
            const char32_t start = u16(starts + 2 * i);
            if (c < start)
                return 0;
            const unsigned delta = u16(deltas + 2 * i), offset = u16(offsets + 2 * i);
            if (offset == 0)
                return (c + delta) & 0xFFFF;
            const unsigned glyph = u16(offsets + 2 * i + offset + 2 * size_t(c - start));
            return glyph == 0 ? 0 : (glyph + delta) & 0xFFFF;
        }
        return 0;
    }

    size_t table(const char* tag) const
    {
        for (size_t i = 0; i < u16(4); ++i)
            if (bytes_.compare(12 + 16 * i, 4, tag) == 0)
                return u32(12 + 16 * i + 8);
        throw std::runtime_error(std::string("no table ") + tag);
    }
    unsigned u16(size_t at) const
    {
        return (unsigned(static_cast<unsigned char>(bytes_.at(at))) << 8) |
               static_cast<unsigned char>(bytes_.at(at + 1));
    }
    int s16(size_t at) const { return int(std::int16_t(u16(at))); }
    size_t u32(size_t at) const { return (size_t(u16(at)) << 16) | u16(at + 2); }

    std::string bytes_;
    unsigned unitsPerEm_ = 0, metricsCount_ = 0;
    int ascender_ = 0, descender_ = 0, lineGap_ = 0;
    size_t hmtx_ = 0, unicode_ = 0;
};

// The program's faces measured from their files: each character's advance
// at the font's pixel size, without kerning and without ink past it.
class FaceFileMeasurer : public TextMeasurer {
public:
    LineMetrics lineMetrics(const FontSpec& font) override
    {
        const FaceFile& f = face(font);
        const double scale = font.pixelSize() / f.unitsPerEm();
        return {f.ascender() * scale, -f.descender() * scale, f.lineGap() * scale};
    }
    RunWidth measure(const FontSpec& font, std::string_view run) override
    {
        const FaceFile& f = face(font);
        double units = 0;
        for (const char32_t c : test::qs(run).toUcs4())
            units += f.advance(c);
        return {units * font.pixelSize() / f.unitsPerEm(), 0};
    }

private:
    const FaceFile& face(const FontSpec& font) const
    {
        return font.bundled() == BundledFace::ComicNeue ? comic_ : sans_;
    }

    FaceFile comic_{TUVREL_COMIC_FONT_FILE}, sans_{TUVREL_SANS_FONT_FILE};
};

}  // namespace

class TextLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void breaksAndPlaces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<double>>("xs");
        const int left = int(Alignment::Left), centre = int(Alignment::Center), right = int(Alignment::Right);
        QTest::newRow("one line, left") << "ab cd" << left << QStringList{"ab cd"} << QList<double>{10};
        QTest::newRow("one line, centred") << "ab cd" << centre << QStringList{"ab cd"} << QList<double>{35};
        QTest::newRow("one line, right") << "ab cd" << right << QStringList{"ab cd"} << QList<double>{60};
        QTest::newRow("broken at the space before the word that does not fit")
            << "aaaa bbbb cccc" << centre << QStringList{"aaaa bbbb", "cccc"} << QList<double>{15, 40};
        QTest::newRow("a run exactly as wide as the box fits")
            << "aaaa bbbbb c" << left << QStringList{"aaaa bbbbb", "c"} << QList<double>{10, 10};
        QTest::newRow("the last word's ink must fit too")
            << "aaaa bbbbf" << left << QStringList{"aaaa", "bbbbf"} << QList<double>{10, 10};
        QTest::newRow("a word wider than the box on a line of its own, centred")
            << "aa bbbbbbbbbbbb cc" << centre << QStringList{"aa", "bbbbbbbbbbbb", "cc"} << QList<double>{50, 0, 50};
        QTest::newRow("a word wider than the box, right")
            << "bbbbbbbbbbbb" << right << QStringList{"bbbbbbbbbbbb"} << QList<double>{-10};
        QTest::newRow("spaces at a break take no room")
            << "aaaa     bbbbbbb" << right << QStringList{"aaaa", "bbbbbbb"} << QList<double>{70, 40};
        QTest::newRow("spaces that end the text take no room")
            << "ab   " << centre << QStringList{"ab"} << QList<double>{50};
        QTest::newRow("spaces that begin the text are kept")
            << "  ab" << left << QStringList{"  ab"} << QList<double>{10};
        QTest::newRow("nothing but spaces: one empty line") << "   " << centre << QStringList{""} << QList<double>{60};
        QTest::newRow("a line break") << "ab\ncd" << left << QStringList{"ab", "cd"} << QList<double>{10, 10};
        QTest::newRow("CR LF is one line break")
            << "ab\r\ncd" << left << QStringList{"ab", "cd"} << QList<double>{10, 10};
        QTest::newRow("a CR alone breaks too") << "ab\rcd" << left << QStringList{"ab", "cd"} << QList<double>{10, 10};
        QTest::newRow("an empty line between two breaks")
            << "ab\n\n  cd" << right << QStringList{"ab", "", "  cd"} << QList<double>{90, 110, 70};
        QTest::newRow("characters, not bytes: é is one")
            << "één twee drie" << left << QStringList{"één twee", "drie"} << QList<double>{10, 10};
    }

    // Each line's text and start as the row gives them; the lines from the
    // box's top one below the other, 12 + 4 high and 1.5 apart on whole pixels
    // (every 18 pixels), the baseline 12 below each top, the advance measured.
    void breaksAndPlaces()
    {
        QFETCH(QString, text);
        QFETCH(int, alignment);
        QFETCH(QStringList, lines);
        QFETCH(QList<double>, xs);
        EvenMeasurer even;
        const std::string utf8 = text.toStdString();
        const TextLayout layout = layOutText(utf8, AnyFont, Box, Alignment(alignment), even);
        QStringList texts;
        QList<double> starts;
        for (const TextLine& line : layout.lines) {
            texts << test::qs(line.text);
            starts << line.x;
        }
        QCOMPARE(texts, lines);
        QCOMPARE(starts, xs);
        QCOMPARE(layout.lineHeight, 16.0);
        for (size_t i = 0; i < layout.lines.size(); ++i) {
            const TextLine& line = layout.lines[i];
            QCOMPARE(line.top, 20.0 + 18.0 * double(i));
            QCOMPARE(line.baseline, line.top + 12);
            QCOMPARE(line.advance, even.measure(AnyFont, line.text).advance);
        }
    }

    void noTextNoLines()
    {
        EvenMeasurer even;
        const TextLayout layout = layOutText("", AnyFont, Box, Alignment::Center, even);
        QVERIFY(layout.lines.empty());
        QCOMPARE(layout.block, RectF());
    }

    // The block is as wide as the widest line with its ink, aligned in the box
    // as the lines are, and reaches from the box's top to the last line's bottom.
    void theBlockTheLinesTake()
    {
        EvenMeasurer even;
        const TextLayout centred = layOutText("aaaa bbbbbbbbf\ncc", AnyFont, Box, Alignment::Center, even);
        QCOMPARE(centred.lines.size(), size_t(3));
        QCOMPARE(centred.block, (RectF{13, 20, 94, 36 + 16}));
        const TextLayout wide = layOutText("bbbbbbbbbbbb", AnyFont, Box, Alignment::Right, even);
        QCOMPARE(wide.block, (RectF{-10, 20, 120, 16}));
    }

    void everyLabelOfEveryForm_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("label");
        FormRegistry registry;
        registerProgramForms(registry);
        for (const std::string& name : registry.formNames()) {
            Form& form = registry.form(name);
            form.show();
            for (const auto& c : form.controls())
                if (c->controlClass() == ControlClass::Label)
                    QTest::newRow((name + "." + c->name()).c_str()) << test::qs(name) << test::qs(c->name());
        }
    }

    // Every label of every form, laid out in its box with the measures of the
    // face it is shown in, shows its whole caption on one line that fits the
    // label's width: none of them wraps.
    void everyLabelOfEveryForm()
    {
        QFETCH(QString, form);
        QFETCH(QString, label);
        FaceFileMeasurer faces;
        FormRegistry registry;
        registerProgramForms(registry);
        Form& f = registry.form(test::cs(form));
        f.show();
        const Label& l = f.label(test::cs(label));
        const Rect box = l.pixelRect();
        const TextLayout layout = layOutText(l.caption(), l.font(), box, l.alignment(), faces);
        QCOMPARE(layout.lines.size(), size_t(1));
        QCOMPARE(layout.lines[0].text, std::string_view(l.caption()));
        QVERIFY2(layout.lines[0].advance <= box.width(),
                 qPrintable(QStringLiteral("%1 pixels in %2").arg(layout.lines[0].advance).arg(box.width())));
    }
};

QTEST_GUILESS_MAIN(TextLayoutTest)
#include "text_layout_test.moc"
