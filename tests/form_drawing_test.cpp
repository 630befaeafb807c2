// What the core draws for a form, before any front end makes pixels of it:
// recorded as a list of operations for every form, and checked for what the
// look depends on: everything painted, nothing drawn where something drawn
// later hides it, buttons in front, the drag outline last.
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/form_drawing.h"
#include "runtime/form_registry.h"
#include "runtime/pointer_input.h"
#include "tests/support/core_qt.h"

#include <QTest>
#include <string>
#include <variant>
#include <vector>

using namespace tuvrel;

namespace {

struct FillOp {
    Rect area;
    Rgb colour;
};
struct PictureOp {
    Picture picture;
    Point at;
};
struct BackgroundOp {
    Picture picture;
};
struct TextOp {
    std::vector<TextLine> lines;
    std::string text;  // the lines' characters, one line after the other
    FontSpec font;
    Rgb colour;
    Rect box;
    RectF block;
    bool onGround;
};
struct ButtonOp {
    ButtonDrawing look;
    std::string caption;
};
struct LineOp {
    Point from, to;
    int width;
};
struct OutlineOp {
    Rect outline;
};
using Op = std::variant<FillOp, PictureOp, BackgroundOp, TextOp, ButtonOp, LineOp, OutlineOp>;

// Every character 8 pixels wide, lines 16 pixels apart.
class EvenMeasurer : public TextMeasurer {
public:
    LineMetrics lineMetrics(const FontSpec&) override { return {12, 4, 0}; }
    RunWidth measure(const FontSpec&, std::string_view run) override { return {8.0 * double(run.size()), 0}; }
};

class RecordingPainter : public FormPainter {
public:
    std::vector<Op> ops;
    bool layOnFace = false;
    EvenMeasurer even;

    TextMeasurer& measurer() override { return even; }

    void fill(const Rect& area, Rgb colour) override { ops.emplace_back(FillOp{area, colour}); }
    void picture(const Picture& picture, Point at) override { ops.emplace_back(PictureOp{picture, at}); }
    bool laysBackgroundOnFace(const Picture&) override { return layOnFace; }
    void background(const Picture& picture, const Region&) override { ops.emplace_back(BackgroundOp{picture}); }
    void text(const TextDrawing& t) override
    {
        std::string text;
        for (const TextLine& line : t.lines)
            text += std::string(text.empty() ? "" : "\n") + std::string(line.text);
        ops.emplace_back(TextOp{t.lines, text, t.font, t.colour, t.box, t.block, t.ground.has_value()});
    }
    void button(const ButtonDrawing& b) override { ops.emplace_back(ButtonOp{b, std::string(b.caption)}); }
    void line(Point from, Point to, int width, Rgb) override { ops.emplace_back(LineOp{from, to, width}); }
    void dragOutline(const Rect& outline) override { ops.emplace_back(OutlineOp{outline}); }
};

// What an operation covers opaque, where it covers anything opaque at all.
Rect opaqueArea(const Op& op)
{
    if (const auto* f = std::get_if<FillOp>(&op))
        return f->area;
    if (const auto* p = std::get_if<PictureOp>(&op); p && p->picture.isOpaque())
        return {p->at, p->picture.size()};
    if (const auto* b = std::get_if<BackgroundOp>(&op))
        return {{}, b->picture.size()};
    return {};
}

std::vector<Op> drawn(const Form& form, bool layOnFace = false)
{
    RecordingPainter painter;
    painter.layOnFace = layOnFace;
    drawForm(form, Rect({}, form.clientSize()), painter, true);
    return painter.ops;
}

}  // namespace

class FormDrawingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FormRegistry> registry;

    // A row for every form of the program.
    static void everyForm()
    {
        QTest::addColumn<QString>("form");
        FormRegistry names;
        registerProgramForms(names);
        for (const std::string& name : names.formNames())
            QTest::newRow(name.c_str()) << test::qs(name);
    }

private slots:
    void init()
    {
        registry = std::make_unique<FormRegistry>();
        registerProgramForms(*registry);
    }
    void cleanup() { registry.reset(); }

    void everyPixelIsPainted_data() { everyForm(); }
    void nothingDrawnUnderAnOpaquePicture_data() { everyForm(); }
    void buttonsInFront_data() { everyForm(); }

    // Every pixel of the form is painted by something opaque: nothing of what
    // was on the screen before can show through.
    void everyPixelIsPainted()
    {
        QFETCH(QString, form);
        Form& f = registry->form(test::cs(form));
        f.show();
        Region unpainted(Rect({}, f.clientSize()));
        for (const Op& op : drawn(f))
            unpainted -= opaqueArea(op);
        QVERIFY2(unpainted.isEmpty(), qPrintable(QStringLiteral("%1 rectangles left unpainted, the first at %2,%3")
                                                     .arg(unpainted.rects().size())
                                                     .arg(unpainted.isEmpty() ? 0 : unpainted.rects()[0].left())
                                                     .arg(unpainted.isEmpty() ? 0 : unpainted.rects()[0].top())));
    }

    // Nothing is filled or drawn where a picture drawn later covers it opaque,
    // and no picture at all where later ones hide the whole of it.
    void nothingDrawnUnderAnOpaquePicture()
    {
        QFETCH(QString, form);
        Form& f = registry->form(test::cs(form));
        f.show();
        const std::vector<Op> ops = drawn(f);
        for (size_t i = 0; i < ops.size(); ++i) {
            Region later;
            for (size_t j = i + 1; j < ops.size(); ++j)
                if (const auto* p = std::get_if<PictureOp>(&ops[j]); p && p->picture.isOpaque())
                    later += Rect(p->at, p->picture.size());
            if (const auto* fill = std::get_if<FillOp>(&ops[i]))
                QVERIFY2(!later.intersects(fill->area),
                         qPrintable(QStringLiteral("a fill at %1,%2 lies under a picture drawn later")
                                        .arg(fill->area.left())
                                        .arg(fill->area.top())));
            if (const auto* p = std::get_if<PictureOp>(&ops[i]))
                QVERIFY2(!later.covers(Rect(p->at, p->picture.size())),
                         qPrintable(QStringLiteral("%1 is drawn but hidden").arg(test::assetName(p->picture))));
        }
    }

    // Command buttons lie in front of everything else, in their paint order;
    // each visible button is drawn once.
    void buttonsInFront()
    {
        QFETCH(QString, form);
        Form& f = registry->form(test::cs(form));
        f.show();
        const std::vector<Op> ops = drawn(f);
        std::vector<Rect> buttonsDrawn;
        bool sawButton = false;
        for (const Op& op : ops) {
            if (const auto* b = std::get_if<ButtonOp>(&op)) {
                sawButton = true;
                buttonsDrawn.push_back(b->look.box);
            } else {
                QVERIFY2(!sawButton, "something is drawn over a button");
            }
        }
        std::vector<Rect> expected;
        for (const Control* c : f.paintOrder())
            if (c->controlClass() == ControlClass::CommandButton && c->visible())
                expected.push_back(c->pixelRect());
        QVERIFY(buttonsDrawn == expected);
    }

    // One form of each family, with what its look depends on.
    void oneFormOfEachFamily()
    {
        // Start: its title in the children's face, the seven game buttons and
        // the stop button each with its picture, the focus shown on one.
        {
            Form& start = registry->form("Start");
            start.show();
            int graphical = 0, focused = 0;
            bool title = false;
            for (const Op& op : drawn(start)) {
                if (const auto* b = std::get_if<ButtonOp>(&op)) {
                    graphical += b->look.graphical && !b->look.picture.isEmpty();
                    focused += b->look.focused;
                    if (b->look.graphical)
                        QVERIFY(b->look.pictureClip.contains(Rect(b->look.pictureAt, b->look.picture.size())) ||
                                b->look.pictureClip.intersects(Rect(b->look.pictureAt, b->look.picture.size())));
                }
                if (const auto* t = std::get_if<TextOp>(&op))
                    title = title || (t->font.bundled() == BundledFace::ComicNeue && t->font.points > 40);
            }
            QCOMPARE(graphical, 8);
            QCOMPARE(focused, 1);
            QVERIFY(title);
        }
        // Puzzel1: a dragged piece's outline follows the pointer, drawn last;
        // a hidden piece is not drawn at all.
        {
            Form& puzzle = registry->form("Puzzel1");
            puzzle.show();
            Image& piece = puzzle.image("img1");
            const Point grab = piece.pixelRect().center();
            puzzle.mousePress(grab, MouseButton::Left);
            puzzle.mouseMove(grab + Point{40, -30});
            const std::vector<Op> ops = drawn(puzzle);
            const auto* outline = std::get_if<OutlineOp>(&ops.back());
            QVERIFY(outline);
            QCOMPARE(outline->outline, piece.pixelRect().translated(40, -30));
            puzzle.mouseRelease(grab + Point{40, -30}, MouseButton::Left);
            // Picked up by a click that jiggled (carrying by taps): the
            // outline is drawn on the piece, last, until the next tap.
            PointerArbiter& pointers = registry->pointers();
            pointers.setTapSlack(8);
            pointers.setCarryByTaps(true);
            const PointerId mouse{PointerId::Kind::Mouse, 1, 0};
            pointers.press(mouse, puzzle, grab, {double(grab.x), double(grab.y)});
            pointers.move(mouse, grab + Point{3, 2}, {double(grab.x + 3), double(grab.y + 2)});
            pointers.release(mouse, {double(grab.x + 3), double(grab.y + 2)}, [&](PointF) {
                return PointerArbiter::Landing{grab + Point{3, 2}, true};
            });
            QVERIFY(pointers.carrying());
            const std::vector<Op> carried = drawn(puzzle);
            const auto* held = std::get_if<OutlineOp>(&carried.back());
            QVERIFY(held);
            QCOMPARE(held->outline, piece.pixelRect());
            QVERIFY(pointers.putDown());
            pointers.setCarryByTaps(false);
            QVERIFY(!std::holds_alternative<OutlineOp>(drawn(puzzle).back()));
            piece.setVisible(false);
            for (const Op& op : drawn(puzzle))
                if (const auto* p = std::get_if<PictureOp>(&op))
                    QVERIFY(!(p->picture == piece.picture()));
        }
        // Spel: a square of a completed group is filled with its player's colour.
        {
            Form& spel = registry->form("Spel");
            spel.show();
            spel.shape("Shape1").setFillColor(0x0000FF);
            bool red = false;
            for (const Op& op : drawn(spel))
                if (const auto* fill = std::get_if<FillOp>(&op))
                    red = red ||
                          (fill->colour == Rgb{255, 0, 0} && spel.shape("Shape1").pixelRect().contains(fill->area));
            QVERIFY(red);
        }
        // Tellen1: a counter's digit on its own ground; Sudoku1 and Vormen1 with
        // their lines and pictures; Pietkleden with its background picture,
        // laid on the face by a painter that does so.
        {
            Form& tellen = registry->form("Tellen1");
            tellen.show();
            bool digit = false;
            for (const Op& op : drawn(tellen))
                if (const auto* t = std::get_if<TextOp>(&op))
                    digit = digit || t->text == "0";
            QVERIFY(digit);

            Form& piet = registry->form("Pietkleden");
            piet.show();
            QVERIFY(!piet.background().isEmpty());
            const std::vector<Op> plain = drawn(piet);
            const std::vector<Op> onFace = drawn(piet, true);
            QVERIFY(std::none_of(plain.begin(), plain.end(),
                                 [](const Op& op) { return std::holds_alternative<BackgroundOp>(op); }));
            if (!piet.background().isOpaque())
                QVERIFY(std::any_of(onFace.begin(), onFace.end(),
                                    [](const Op& op) { return std::holds_alternative<BackgroundOp>(op); }));
        }
    }

    // A label hands the painter the core's layout of its caption: the lines
    // that show in its box, where the core puts them; a caption of nothing
    // but spaces draws no text at all.
    void aLabelsTextIsTheCoresLayout()
    {
        Form& f = registry->form("Tellen1");
        f.show();
        Label& label = f.label("Label2");
        std::string caption;
        for (int word = 0; word < 60; ++word)
            caption += "aan ";
        label.setCaption(caption);  // 12 words a line, 16 pixels apart: two of five show in 25 pixels
        const auto textOf = [&](const std::vector<Op>& ops) -> const TextOp* {
            for (const Op& op : ops)
                if (const auto* t = std::get_if<TextOp>(&op); t && t->box == label.pixelRect())
                    return t;
            return nullptr;
        };
        const std::vector<Op> ops = drawn(f);
        const TextOp* text = textOf(ops);
        QVERIFY(text);
        EvenMeasurer even;
        const TextLayout layout = layOutText(label.caption(), label.font(), label.pixelRect(), label.alignment(), even);
        QCOMPARE(layout.lines.size(), size_t(5));
        QCOMPARE(text->lines.size(), size_t(2));
        for (size_t i = 0; i < text->lines.size(); ++i) {
            QCOMPARE(text->lines[i].text, layout.lines[i].text);
            QCOMPARE(text->lines[i].x, layout.lines[i].x);
            QCOMPARE(text->lines[i].baseline, layout.lines[i].baseline);
        }
        QCOMPARE(text->block, layout.block);

        label.setCaption("   ");
        QVERIFY(!textOf(drawn(f)));
    }

    // A part of the form drawn alone touches only what lies in that part.
    void partOfAFormDrawsOnlyWhatLiesThere()
    {
        Form& f = registry->form("Sudoku1");
        f.show();
        const Rect part(100, 100, 50, 40);
        RecordingPainter painter;
        drawForm(f, part, painter, true);
        for (const Op& op : painter.ops)
            if (const auto* fill = std::get_if<FillOp>(&op); fill && fill->colour == toRgb(SystemColor::ButtonFace))
                QVERIFY(part.contains(fill->area));
        QVERIFY(painter.ops.size() < drawn(f).size());
    }
};

QTEST_GUILESS_MAIN(FormDrawingTest)
#include "form_drawing_test.moc"
