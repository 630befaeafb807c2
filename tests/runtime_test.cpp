// The forms runtime through real windows: pictures and their identity, the
// builder's defaults, drawing and hit order, clicks, automatic drag, keyboard
// focus, Change nesting, counters, the life of forms and the message box.
#include "desktop/bundled_fonts.h"
#include "desktop/form_painter.h"
#include "desktop/picture_pixels.h"
#include "runtime/counter.h"
#include "runtime/device_map.h"
#include "runtime/runtime_error.h"
#include "runtime/text_layout.h"
#include "tests/support/form_driver.h"

#include <QApplication>
#include <QFontInfo>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <functional>
#include <set>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

// What the handlers of the test forms did, in order.
QStringList& events()
{
    static QStringList log;
    return log;
}

FormClass makeAlpha()
{
    FormClass c(FormDescription{
        .name = "Alpha",
        .caption = " alpha  form ",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeightWithMenu,
        .rows{
            buttonRow("knopA", px(10), px(10), px(80), px(30))
                .withCaption("A")
                .withFont(fonts::arial(12))
                .withTabIndex(1),
            buttonRow("knopB", px(100), px(10), px(80), px(30))
                .withCaption("B")
                .withFont(fonts::arial(12))
                .withTabIndex(0),
            imageRow("front", px(100), px(100), px(32), px(32)).withPicture("smiley"),
            imageRow("back", px(100), px(100), px(62), px(62)).withPicture("white_square"),
            imageRow("piece", px(300), px(100), px(43), px(44)).withPicture("door").draggable(),
            imageRow("piece2", px(400), px(100), px(43), px(44)).withPicture("door").draggable(),
            imageRow("hiddenImg", px(500), px(100), px(43), px(44)).withPicture("door").hidden(),
            imageRow("under", px(500), px(100), px(50), px(50)),
            imageRow("target", px(700), px(100), px(50), px(50)),
            shapeRow("shapeOver", px(600), px(100), px(60), px(60)).withBorderWidth(3),
            imageRow("underShape", px(610), px(110), px(40), px(40)),
            lineRow("lineOver", px(300), px(300), px(400), px(300)).withBorderWidth(4),
            imageRow("noHandler", px(300), px(250), px(84), px(105)).withPicture("sack"),
            labelRow("lbl", px(100), px(300), px(120), px(40))
                .withCaption("word word word")
                .withFont(fonts::msSansSerif(12))
                .withTabIndex(5),
            labelRow("counter", px(100), px(350), px(60), px(30))
                .withCaption("0")
                .withFont(fonts::msSansSerif(12))
                .withTabIndex(6),
            shapeRow("whiteShape", px(800), px(300), px(40), px(40)).opaque(),
            labelRow("faceLabel", px(800), px(400), px(40), px(20)).withFont(fonts::msSansSerif(12)).withTabIndex(7),
            buttonRow("knopRestart", px(10), px(500), px(100), px(30))
                .withCaption("nog een keer")
                .withFont(fonts::arial(12))
                .withTabIndex(3),
            buttonRow("knopOther", px(120), px(500), px(100), px(30))
                .withCaption("verder")
                .withFont(fonts::arial(12))
                .withTabIndex(4),
            buttonRow("knopHidden", px(230), px(500), px(100), px(30))
                .withCaption("weg")
                .withFont(fonts::arial(12))
                .withTabIndex(2)
                .hidden(),
            buttonRow("knopEnd", px(340), px(500), px(100), px(30))
                .withCaption("stop")
                .withFont(fonts::arial(12))
                .withTabIndex(8),
            menuRow("Help", "Help"),
        },
    });
    for (const char* name :
         {"knopA", "knopB", "back", "front", "piece", "under", "target", "underShape", "knopHidden"}) {
        const QString n = QString::fromLatin1(name);
        c.onClick(name, [n](Form&) { events() << "click " + n; });
    }
    for (const char* name : {"back", "under", "target", "underShape", "piece", "piece2", "knopA"}) {
        const QString n = QString::fromLatin1(name);
        c.onDragDrop(name, [n](Form&, Image& source) { events() << "drop " + qs(source.name()) + " on " + n; });
    }
    c.onChange("lbl", [](Form& f) {
        events() << "change lbl=" + qs(f.label("lbl").caption());
        // A Change handler may write another label; that one's Change runs inside this one.
        f.label("counter").setCaption("from lbl");
        events() << "change lbl done";
    });
    c.onChange("counter", [](Form& f) { events() << "change counter=" + qs(f.label("counter").caption()); });
    c.onClick("knopRestart", [](Form& f) {
        f.unload();
        events() << "after unload loaded=" + QString::number(f.isLoaded());
        f.show();
        f.refresh();
        events() << "restarted";
    });
    c.onClick("knopOther", [](Form& f) { f.registry().show("Beta"); });
    c.onClick("knopEnd", [](Form& f) { f.registry().end(); });
    c.onClick("Help", [](Form& f) {
        f.registry().messageBox("Hulp tekst", "");
        events() << "message box closed";
    });
    return c;
}

FormClass makeBeta()
{
    FormClass c(FormDescription{
        .name = "Beta",
        .caption = "beta",
        .clientWidth = ClientWidth,
        .clientHeight = ClientHeight,
        .background = "sack",
        .rows{
            imageRow("piece", px(300), px(300), px(43), px(44)).withPicture("door").draggable(),
            imageRow("slot", px(400), px(300), px(100), px(100)),
        },
    });
    c.onDragDrop("slot", [](Form& f, Image& source) {
        f.image("slot").setPicture(source.picture());
        events() << "beta drop";
    });
    return c;
}

const FormClass& alpha()
{
    static const FormClass c = makeAlpha();
    return c;
}
const FormClass& beta()
{
    static const FormClass c = makeBeta();
    return c;
}

// Views that only note which form pixels they were asked to repaint, for the
// model and the painter without windows.
class RecordingViews : public WindowSystem {
public:
    std::vector<Rect> invalidated;

    std::unique_ptr<FormView> createView(Form&) override { return std::make_unique<View>(invalidated); }
    void messageBox(const std::string&, const std::string&) override {}
    void quit(int) override {}
    void reportError(const std::string&) override {}

private:
    class View : public FormView {
    public:
        explicit View(std::vector<Rect>& log) : log_(log) {}
        void invalidate(const Rect& area) override { log_.push_back(area); }
        void repaintNow() override {}
        void bringToFront() override {}

    private:
        std::vector<Rect>& log_;
    };
};

// The whole form painted at 1:1, as a window shows it.
QImage paintedForm(const Form& form)
{
    QImage image(toQt(form.clientSize()), QImage::Format_RGB32);
    QPainter p(&image);
    paintForm(p, form, image.rect(), QApplication::style(), false);
    return image;
}

}  // namespace

class RuntimeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;
    Form* a = nullptr;

private slots:
    void init()
    {
        events().clear();
        program = std::make_unique<Program>(std::vector<const FormClass*>{&alpha(), &beta()});
        a = &program->show("Alpha");
    }
    void cleanup() { program.reset(); }

    // ------------------------------------------------------------ pictures

    void picturesHaveIdentityNotContent()
    {
        Image& p1 = a->image("piece");
        Image& p2 = a->image("piece2");
        Image& hidden = a->image("hiddenImg");
        QCOMPARE(pictureImage(p1.picture()), pictureImage(p2.picture()));  // byte-identical artwork
        QVERIFY(!(p1.picture() == p2.picture()));
        QVERIFY(!(p1.picture() == hidden.picture()));
        QVERIFY(p1.picture().identity() != 0);

        Image& under = a->image("under");
        Image& t = a->image("target");
        QVERIFY(under.picture().isEmpty());
        QVERIFY(under.picture() == t.picture());  // every empty picture is the same
        QCOMPARE(under.picture().identity(), std::uint64_t(0));
        QVERIFY(!(under.picture() == p1.picture()));

        under.setPicture(p2.picture());
        QVERIFY(under.picture() == p2.picture());
        QVERIFY(!p2.picture().isEmpty());  // the source keeps its picture
    }

    void reloadGivesNewPictureObjects()
    {
        // Every picture of the form as it was, kept alive and by identity alone.
        std::vector<Picture> kept;
        std::set<std::uint64_t> before;
        for (const auto& c : a->controls())
            if (c->controlClass() == ControlClass::Image && !static_cast<Image&>(*c).picture().isEmpty()) {
                kept.push_back(static_cast<Image&>(*c).picture());
                before.insert(kept.back().identity());
            }
        QCOMPARE(before.size(), kept.size());  // no two images of a built form share a picture
        a->unload();
        a->show();
        for (const auto& c : a->controls()) {
            if (c->controlClass() != ControlClass::Image)
                continue;
            const Picture& now = static_cast<Image&>(*c).picture();
            QVERIFY2(now.isEmpty() || !before.contains(now.identity()), c->name().c_str());
            for (const Picture& old : kept)
                QVERIFY2(!(now == old) || now.isEmpty(), c->name().c_str());
        }
        // Two images built from one row of pictures never share picture objects either.
        QVERIFY(!(a->image("piece").picture() == a->image("piece2").picture()));
    }

    // A picture that is gone leaves its identity unused: a new picture, even
    // one made where the old object lay in memory, never compares equal to
    // what a snapshot remembered of the old one.
    void identityOfAPictureThatIsGoneIsNeverReused()
    {
        std::set<std::uint64_t> gone;
        for (int round = 0; round < 50; ++round) {
            gone.insert(Picture::load("door").identity());  // made and destroyed at once
            const Picture fresh = Picture::load("door");
            QVERIFY(!gone.contains(fresh.identity()));
        }
        QCOMPARE(gone.size(), size_t(50));
    }

    void unknownPictureIsAnError() { QVERIFY_THROWS_EXCEPTION(RuntimeError, Picture::load("no_such_picture")); }

    void imageTakesThePictureSize()
    {
        Image& under = a->image("under");
        QCOMPARE(under.pixelRect(), QRect(500, 100, 50, 50));
        under.setPicture(a->image("piece").picture());  // 43 x 44
        QCOMPARE(under.width(), 43 * 15);
        QCOMPARE(under.height(), 44 * 15);
        QCOMPARE(under.left(), px(500));
        under.setPicture(Picture());  // the empty picture leaves the size alone
        QCOMPARE(under.pixelRect(), QRect(500, 100, 43, 44));
        // The hit area follows: a point of the old 50 x 50 area outside 43 x 44 misses it now.
        QVERIFY(a->hitTest(Point{548, 120}) != &under);
        QVERIFY(a->hitTest(Point{540, 120}) == &under);
    }

    // ------------------------------------------------------------ builder

    void builderDefaults()
    {
        const Image& img = a->image("under");
        QVERIFY(img.visible());
        QVERIFY(img.enabled());
        QCOMPARE(img.dragMode(), DragMode::Manual);
        QVERIFY(img.toolTipText().empty());

        const Label& l = a->label("faceLabel");
        QCOMPARE(l.foreColor(), SystemColor::ButtonText);
        QCOMPARE(l.backColor(), SystemColor::ButtonFace);
        QCOMPARE(l.backStyle(), BackStyle::Opaque);
        QCOMPARE(l.alignment(), Alignment::Left);
        QVERIFY(l.caption().empty());

        const Shape& s = a->shape("shapeOver");
        QCOMPARE(s.backColor(), SystemColor::Window);
        QCOMPARE(s.backStyle(), BackStyle::Transparent);
        QCOMPARE(s.borderColor(), BgrColor(0));
        QCOMPARE(s.fillColor(), BgrColor(0));
        QCOMPARE(s.fillStyle(), FillStyle::Transparent);
        QCOMPARE(a->shape("whiteShape").borderWidth(), 1);

        const CommandButton& b = a->button("knopA");
        QCOMPARE(b.style(), ButtonStyle::Standard);
        QVERIFY(b.picture().isEmpty());
        QVERIFY(b.visible());
        QCOMPARE(a->line("lineOver").borderWidth(), 4);

        for (const auto& c : a->controls())
            QVERIFY2(c->enabled(), c->name().c_str());
        QVERIFY(a->find("KNOPA") == &a->button("knopA"));  // names in any letter case
        QVERIFY(a->find("nothing") == nullptr);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, a->image("knopA"));
    }

    // A handle names its control once; a name the description lacks, or a
    // control of another class, fails when the handle is made.
    void controlHandles()
    {
        const ImageHandle piece = alpha().image("PIECE");
        QVERIFY(&(*a)[piece] == &a->image("piece"));
        QVERIFY(&(*a)[alpha().button("knopA")] == &a->button("knopA"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, alpha().image("nothing"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, alpha().label("piece"));
        // A handle of another form's class is not this form's.
        Form& b = program->show("Beta");
        QVERIFY_THROWS_EXCEPTION(RuntimeError, b[piece]);
        // It holds across loads: the rebuilt form's control.
        a->unload();
        a->show();
        QVERIFY(&(*a)[piece] == &a->image("piece"));
    }

    void windowCaptionSizeIconAndMenu()
    {
        FormWindow* w = windowOf(*a);
        QCOMPARE(w->windowTitle(), QString(" alpha  form "));
        QCOMPARE(canvasOf(*a)->size(), QSize(1021, 653));
        QVERIFY(!w->windowIcon().isNull());
        QVERIFY(w->menuBar());
        QCOMPARE(w->menuBar()->actions().size(), 1);
        QCOMPARE(w->menuBar()->actions().first()->text(), QString("Help"));
        // The menu bar lies outside the client area.
        QVERIFY(canvasOf(*a)->geometry().top() >= w->menuBar()->geometry().bottom());

        Form& b = program->show("Beta");
        QCOMPARE(canvasOf(b)->size(), QSize(1021, 673));
        QVERIFY(windowOf(b)->menuBar() == nullptr);
    }

    void paintsDefaultsBackgroundAndShapes()
    {
        const QImage img = render(*a);
        // An opaque shape without a back colour is white inside; its border is black.
        QCOMPARE(img.pixelColor(820, 320), QColor(Qt::white));
        QCOMPARE(img.pixelColor(800, 300), QColor(Qt::black));
        // A label without BackStyle paints the face colour.
        QCOMPARE(img.pixelColor(805, 405), toQColor(SystemColor::ButtonFace));
        // A 4-pixel line centred on its row.
        QCOMPARE(img.pixelColor(390, 299), QColor(Qt::black));
        QCOMPARE(img.pixelColor(390, 302), QColor(Qt::black));
        QCOMPARE(img.pixelColor(390, 304), toQColor(SystemColor::ButtonFace));
        QCOMPARE(img.pixelColor(390, 297), toQColor(SystemColor::ButtonFace));
        // Earlier rows in front: the smiley lies over the white square.
        QVERIFY(img.pixelColor(116, 116) != QColor(Qt::white));
        QCOMPARE(img.pixelColor(150, 150), QColor(Qt::white));

        Form& b = program->show("Beta");
        const QImage bimg = render(b);
        // A background smaller than the client area: face colour to the right and below.
        QCOMPARE(bimg.pixelColor(500, 600), toQColor(SystemColor::ButtonFace));
        QVERIFY(bimg.pixelColor(42, 52) != toQColor(SystemColor::ButtonFace));
    }

    // Whatever a handler changes, the window repaints every pixel that changes:
    // nothing of what was drawn before is left behind on the screen.
    void everyChangeRepaintsWhatItChanges_data()
    {
        QTest::addColumn<std::function<void(Form&)>>("before");
        QTest::addColumn<std::function<void(Form&)>>("change");
        const auto nothing = [](Form&) {};
        QTest::newRow("a line four pixels wide hidden")
            << std::function<void(Form&)>(nothing)
            << std::function<void(Form&)>([](Form& f) { f.line("lineOver").setVisible(false); });
        QTest::newRow("a line four pixels wide shown")
            << std::function<void(Form&)>([](Form& f) { f.line("lineOver").setVisible(false); })
            << std::function<void(Form&)>([](Form& f) { f.line("lineOver").setVisible(true); });
        QTest::newRow("a picture hidden")
            << std::function<void(Form&)>(nothing)
            << std::function<void(Form&)>([](Form& f) { f.image("front").setVisible(false); });
        QTest::newRow("a larger picture replaced by a smaller one")
            << std::function<void(Form&)>([](Form& f) { f.image("target").setPicture(f.image("back").picture()); })
            << std::function<void(Form&)>([](Form& f) { f.image("target").setPicture(f.image("front").picture()); });
        QTest::newRow("a picture larger than its box taken away") << std::function<void(Form&)>([](Form& f) {
            f.image("target").setPicture(f.image("back").picture());
            f.image("target").setPicture(Picture());
            f.image("target").setPicture(f.image("noHandler").picture());
        }) << std::function<void(Form&)>([](Form& f) { f.image("target").setPicture(Picture()); });
        QTest::newRow("a shape filled") << std::function<void(Form&)>([](Form& f) {
            f.shape("shapeOver").setFillColor(0x0000FF);
        }) << std::function<void(Form&)>([](Form& f) { f.shape("shapeOver").setVisible(false); });
        QTest::newRow("a caption written")
            << std::function<void(Form&)>(nothing)
            << std::function<void(Form&)>([](Form& f) { f.label("lbl").setCaption("x"); });
    }
    void everyChangeRepaintsWhatItChanges()
    {
        QFETCH(std::function<void(Form&)>, before);
        QFETCH(std::function<void(Form&)>, change);
        RecordingViews views;
        FormRegistry registry(&views);
        registry.addFormClass(alpha());
        Form& f = registry.form("Alpha");
        f.show();
        before(f);
        const QImage was = paintedForm(f);
        views.invalidated.clear();
        change(f);
        const QImage now = paintedForm(f);
        int changed = 0;
        for (int y = 0; y < was.height(); ++y)
            for (int x = 0; x < was.width(); ++x) {
                if (was.pixel(x, y) == now.pixel(x, y))
                    continue;
                ++changed;
                const bool repainted = std::any_of(views.invalidated.begin(), views.invalidated.end(),
                                                   [&](const Rect& r) {
                                                       return r.contains(Point{x, y});
                                                   });
                QVERIFY2(repainted,
                         qPrintable(QStringLiteral("pixel %1,%2 changed but is not repainted").arg(x).arg(y)));
            }
        QVERIFY(changed > 0);  // the change shows
    }

    void hiddenAndDisabledLookAndHit()
    {
        const QImage before = render(*a);
        a->image("back").setEnabled(false);
        QCOMPARE(render(*a), before);  // a disabled control looks the same
        a->image("front").setVisible(false);
        QVERIFY(render(*a) != before);  // a hidden one is not drawn
        a->image("front").setVisible(true);
        QCOMPARE(render(*a), before);
    }

    // ------------------------------------------------------------ hit test and clicks

    void hitOrder_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QString>("expected");
        QTest::newRow("earlier row in front") << QPoint(110, 110) << "front";
        QTest::newRow("later row where the front one ends") << QPoint(150, 150) << "back";
        QTest::newRow("hidden image lets the one beneath be hit") << QPoint(510, 110) << "under";
        QTest::newRow("a shape is never hit") << QPoint(615, 115) << "underShape";
        QTest::newRow("a shape's border is never hit") << QPoint(601, 130) << "";
        QTest::newRow("a line is never hit") << QPoint(350, 300) << "noHandler";
        QTest::newRow("a label is hit") << QPoint(110, 310) << "lbl";
        QTest::newRow("bare form") << QPoint(950, 600) << "";
        QTest::newRow("button") << QPoint(20, 20) << "knopA";
    }
    void hitOrder()
    {
        QFETCH(QPoint, point);
        QFETCH(QString, expected);
        Control* hit = a->hitTest(fromQt(point));
        QCOMPARE(hit ? qs(hit->name()) : QString(), expected);
    }

    void buttonsLieInFrontOfEverything()
    {
        FormClass c(FormDescription{
            .name = "Gamma",
            .caption = "g",
            .clientWidth = ClientWidth,
            .clientHeight = ClientHeight,
            .rows{imageRow("img", px(10), px(10), px(62), px(62)).withPicture("white_square"),
                  buttonRow("knop", px(20), px(20), px(40), px(40))
                      .withCaption("k")
                      .withFont(fonts::arial(12))
                      .withTabIndex(0)},
        });
        Program p({&c});
        Form& g = p.show("Gamma");
        QCOMPARE(g.hitTest(Point{30, 30})->name(), QString("knop"));
        QCOMPARE(g.paintOrder().back()->name(), QString("knop"));
    }

    void clicks_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("image") << QPoint(150, 150) << QPoint(150, 150) << QStringList{"click back"};
        QTest::newRow("front image without handler swallows it")
            << QPoint(110, 110) << QPoint(110, 110) << QStringList{"click front"};
        QTest::newRow("release on another control") << QPoint(150, 150) << QPoint(520, 120) << QStringList{};
        QTest::newRow("release on the bare form") << QPoint(150, 150) << QPoint(950, 600) << QStringList{};
        QTest::newRow("empty image over its whole rectangle")
            << QPoint(548, 148) << QPoint(548, 148) << QStringList{"click under"};
        QTest::newRow("through a shape") << QPoint(615, 115) << QPoint(615, 115) << QStringList{"click underShape"};
        QTest::newRow("button") << QPoint(20, 20) << QPoint(20, 20) << QStringList{"click knopA"};
        QTest::newRow("draggable image never clicks") << QPoint(310, 110) << QPoint(310, 110) << QStringList{};
        QTest::newRow("moved off and back on") << QPoint(20, 20) << QPoint(21, 21) << QStringList{"click knopA"};
    }
    void clicks()
    {
        QFETCH(QPoint, press);
        QFETCH(QPoint, release);
        QFETCH(QStringList, expected);
        pressAt(*a, press);
        moveTo(*a, QPoint(950, 600));
        moveTo(*a, release);
        releaseAt(*a, release);
        QCOMPARE(events(), expected);
    }

    void disabledOrHiddenControlsTakeNoClick()
    {
        a->image("back").setEnabled(false);
        clickAt(*a, QPoint(150, 150));
        a->image("under").setVisible(false);  // nothing beneath it
        clickAt(*a, QPoint(540, 140));
        a->button("knopHidden").setVisible(false);
        clickAt(*a, centreOf(*a, "knopHidden"));
        QCOMPARE(events(), QStringList{});
        QVERIFY(program->registry().ended() == false);
    }

    void rightButtonAndDoubleClick()
    {
        clickAt(*a, QPoint(150, 150), Qt::RightButton);
        dragTo(*a, "piece", centreOf(*a, "target"));  // sanity: the left button drags
        QCOMPARE(events(), QStringList{"drop piece on target"});
        events().clear();
        pressAt(*a, centreOf(*a, "piece"), Qt::RightButton);
        moveTo(*a, centreOf(*a, "target"));
        releaseAt(*a, centreOf(*a, "target"), Qt::RightButton);
        QVERIFY(!a->drag());
        // A double click arrives as press, release, double-click press, release.
        clickAt(*a, QPoint(150, 150));
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(150, 150), canvasOf(*a)->mapToGlobal(QPointF(150, 150)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvasOf(*a), &dbl);
        releaseAt(*a, QPoint(150, 150));
        QCOMPARE(events(), (QStringList{"click back", "click back"}));
        // A press whose release was lost does not block the next click.
        events().clear();
        pressAt(*a, QPoint(150, 150));
        clickAt(*a, QPoint(20, 20));
        QCOMPARE(events(), QStringList{"click knopA"});
    }

    // ------------------------------------------------------------ drag and drop

    void dragOutlineFollowsThePointer()
    {
        const QImage before = render(*a);
        const QPoint start = centreOf(*a, "piece");
        pressAt(*a, start);
        QVERIFY(a->drag());
        QCOMPARE(a->drag()->source, &a->image("piece"));
        moveTo(*a, start + QPoint(200, 150));
        QCOMPARE(a->drag()->outline, a->image("piece").pixelRect().translated(200, 150));
        // The image itself does not move; only the outline is drawn.
        QCOMPARE(a->image("piece").pixelRect(), QRect(300, 100, 43, 44));
        QVERIFY(render(*a) != before);
        releaseAt(*a, start + QPoint(200, 150) + QPoint(500, 400));
        QVERIFY(!a->drag());
        QCOMPARE(render(*a), before);
    }

    void drops_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QPoint>("target");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("on a target") << "piece" << QPoint(720, 120) << QStringList{"drop piece on target"};
        QTest::newRow("on an empty image") << "piece2" << QPoint(540, 140) << QStringList{"drop piece2 on under"};
        QTest::newRow("through a shape") << "piece" << QPoint(615, 115) << QStringList{"drop piece on underShape"};
        QTest::newRow("on a shape with nothing beneath") << "piece" << QPoint(601, 155) << QStringList{};
        QTest::newRow("on the bare form") << "piece" << QPoint(950, 600) << QStringList{};
        QTest::newRow("on itself") << "piece" << QPoint(310, 110) << QStringList{};
        QTest::newRow("on an image without handler") << "piece" << QPoint(320, 300) << QStringList{};
        QTest::newRow("on a label") << "piece" << QPoint(110, 310) << QStringList{};
        QTest::newRow("on a button with a drop handler")
            << "piece" << QPoint(20, 20) << QStringList{"drop piece on knopA"};
        QTest::newRow("outside the window") << "piece" << QPoint(1500, 900) << QStringList{};
        QTest::newRow("negative coordinates") << "piece" << QPoint(-40, -40) << QStringList{};
    }
    void drops()
    {
        QFETCH(QString, source);
        QFETCH(QPoint, target);
        QFETCH(QStringList, expected);
        const Rect where = a->image(cs(source)).pixelRect();
        dragTo(*a, cs(source), target);
        QCOMPARE(events(), expected);
        QVERIFY(a->image(cs(source)).pixelRect() == where);
        QVERIFY(!a->drag());
    }

    void dropsOnDisabledOrHiddenTargets()
    {
        a->image("target").setEnabled(false);
        dragTo(*a, "piece", QPoint(720, 120));
        a->image("under").setVisible(false);
        dragTo(*a, "piece", QPoint(540, 140));
        QCOMPARE(events(), QStringList{});
        // A hidden image over a target lets the drop reach it.
        dragTo(*a, "piece", QPoint(510, 110));
        QCOMPARE(events(), QStringList{});  // "under" is hidden too now
        a->image("under").setVisible(true);
        dragTo(*a, "piece", QPoint(510, 110));
        QCOMPARE(events(), QStringList{"drop piece on under"});
    }

    void disabledOrHiddenImageStartsNoDrag()
    {
        a->image("piece").setEnabled(false);
        pressAt(*a, centreOf(*a, "piece"));
        QVERIFY(!a->drag());
        releaseAt(*a, QPoint(720, 120));
        a->image("piece").setEnabled(true);
        a->image("piece").setVisible(false);
        pressAt(*a, QPoint(310, 110));
        QVERIFY(!a->drag());
        releaseAt(*a, QPoint(720, 120));
        QCOMPARE(events(), QStringList{});
    }

    void keysAndMenuDuringADragDoNothing()
    {
        pressAt(*a, centreOf(*a, "piece"));
        moveTo(*a, QPoint(720, 120));
        key(*a, Qt::Key_Space);
        key(*a, Qt::Key_Tab);
        key(*a, Qt::Key_Return);
        QVERIFY(a->drag());
        releaseAt(*a, QPoint(720, 120));
        QCOMPARE(events(), QStringList{"drop piece on target"});
    }

    void dropOverAnotherWindowDoesNothing()
    {
        Form& b = program->show("Beta");
        // Beta lies over Alpha; a release on Alpha's canvas where Beta covers it is Beta's place.
        QVERIFY(windowOf(b)->frameGeometry().intersects(windowOf(*a)->frameGeometry()));
        const QPoint target = centreOf(*a, "target");
        pressAt(*a, centreOf(*a, "piece"));
        moveTo(*a, target);
        releaseAt(*a, target);
        QCOMPARE(events(), QStringList{});
        // Once Alpha is in front again the same drop lands.
        a->show();
        dragTo(*a, "piece", target);
        QCOMPARE(events(), QStringList{"drop piece on target"});
    }

    void closingTheWindowDuringADrag()
    {
        pressAt(*a, centreOf(*a, "piece"));
        moveTo(*a, QPoint(720, 120));
        QPointer<FormCanvas> canvas = canvasOf(*a);
        Form& b = program->show("Beta");
        closeWindow(*a);
        QVERIFY(!a->isLoaded());
        QVERIFY(!program->registry().ended());  // Beta is still open
        // The button comes up after the window has gone: on the closed
        // window while it still exists, and on the window now in front.
        if (canvas)
            QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(720, 120));
        QTest::mouseRelease(canvasOf(b), Qt::LeftButton, Qt::NoModifier, onCanvas(b, QPoint(100, 100)));
        settle();
        QCOMPARE(events(), QStringList{});
        a->show();
        QVERIFY(!a->drag());
        QVERIFY(!a->image("piece").picture().isEmpty());
        QCOMPARE(events(), QStringList{});
    }

    // ------------------------------------------------------------ keyboard focus

    // The painter draws the focus line where the core puts it (buttonMarks):
    // dots along its top and left edges as wide as the line, none just
    // outside them.
    void theFocusLineLiesWhereTheCoreSays_data()
    {
        QTest::addColumn<double>("scale");
        QTest::newRow("1") << 1.0;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
    }
    void theFocusLineLiesWhereTheCoreSays()
    {
        QFETCH(double, scale);
        const CommandButton& knop = a->button("knopB");
        QCOMPARE(a->focusedButton(), &knop);
        QImage image((QSizeF(toQt(a->clientSize())) * scale).toSize(), QImage::Format_RGB32);
        {
            QPainter p(&image);
            p.scale(scale, scale);
            paintForm(p, *a, QRect(QPoint(0, 0), toQt(a->clientSize())), QApplication::style(), true);
        }
        const ButtonMarks marks = buttonMarks(DeviceMap(scale, {}, 1), knop.pixelRect(), knop.font().pixelSize());
        const Rect& f = marks.focus;
        const auto dots = [&](int x0, int y0, int dx, int dy, int n) {
            int black = 0;
            for (int i = 0; i < n; ++i)
                black += image.pixelColor(x0 + i * dx, y0 + i * dy) == Qt::black ? 1 : 0;
            return black;
        };
        for (int i = 0; i < marks.focusLine; ++i) {
            QVERIFY(dots(f.left(), f.top() + i, 1, 0, f.width()) > f.width() / 6);
            QVERIFY(dots(f.left() + i, f.top(), 0, 1, f.height()) > f.height() / 6);
        }
        QCOMPARE(dots(f.left(), f.top() - 1, 1, 0, f.width()), 0);
        QCOMPARE(dots(f.left() - 1, f.top(), 0, 1, f.height()), 0);
    }

    void focusFollowsTabIndex()
    {
        // Lowest TabIndex first; the hidden button is skipped.
        QCOMPARE(a->focusedButton()->name(), QString("knopB"));
        const QStringList order{"knopA", "knopRestart", "knopOther", "knopEnd", "knopB"};
        for (const QString& expected : order) {
            key(*a, Qt::Key_Tab);
            QCOMPARE(a->focusedButton()->name(), expected);
        }
        key(*a, Qt::Key_Backtab);
        QCOMPARE(a->focusedButton()->name(), QString("knopEnd"));
        a->button("knopHidden").setVisible(true);
        key(*a, Qt::Key_Tab);  // back to knopB, lowest
        key(*a, Qt::Key_Tab);
        QCOMPARE(a->focusedButton()->name(), QString("knopA"));
        key(*a, Qt::Key_Tab);
        QCOMPARE(a->focusedButton()->name(), QString("knopHidden"));
        // Hiding the focused button passes the focus on.
        a->button("knopHidden").setVisible(false);
        QCOMPARE(a->focusedButton()->name(), QString("knopRestart"));
    }

    void spaceAndEnterClickTheFocusedButton()
    {
        key(*a, Qt::Key_Space);
        key(*a, Qt::Key_Tab);
        key(*a, Qt::Key_Return);
        key(*a, Qt::Key_Enter);
        key(*a, Qt::Key_A);
        QCOMPARE(events(), (QStringList{"click knopB", "click knopA", "click knopA"}));
    }

    // A disabled button is never clicked, whatever plays it.
    void disabledButtonTakesNoClickFromAnyInput_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<bool>("enabled");
        for (const char* input : {"mouse", "finger", "space", "enter", "return"})
            for (const bool enabled : {true, false})
                QTest::addRow("%s, %s", input, enabled ? "enabled" : "disabled") << QString(input) << enabled;
    }
    void disabledButtonTakesNoClickFromAnyInput()
    {
        QFETCH(QString, input);
        QFETCH(bool, enabled);
        key(*a, Qt::Key_Tab);  // from knopB to knopA
        QCOMPARE(a->focusedButton()->name(), QString("knopA"));
        a->button("knopA").setEnabled(enabled);
        if (input == "mouse")
            click(*a, "knopA");
        else if (input == "finger")
            tap(*a, "knopA");
        else
            key(*a, input == "space" ? Qt::Key_Space : input == "enter" ? Qt::Key_Enter : Qt::Key_Return);
        QCOMPARE(events(), enabled ? QStringList{"click knopA"} : QStringList{});
    }

    void pressingAButtonFocusesItAndFocusSurvivesLeaving()
    {
        pressAt(*a, centreOf(*a, "knopOther"));
        QCOMPARE(a->focusedButton()->name(), QString("knopOther"));
        releaseAt(*a, centreOf(*a, "knopOther"));  // shows Beta
        QVERIFY(program->registry().form("Beta").isLoaded());
        a->show();
        QCOMPARE(a->focusedButton()->name(), QString("knopOther"));
    }

    // ------------------------------------------------------------ Change and counters

    void changeRunsInsideTheCaptionWrite()
    {
        a->label("lbl").setCaption("nieuw");
        events() << "write returned";
        QCOMPARE(events(),
                 (QStringList{"change lbl=nieuw", "change counter=from lbl", "change lbl done", "write returned"}));
        events().clear();
        a->label("counter").setCaption("from lbl");  // unchanged text raises Change as well
        QCOMPARE(events(), QStringList{"change counter=from lbl"});
    }

    void counters_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<long>("value");
        QTest::addColumn<QString>("after");
        QTest::newRow("zero") << "0" << 0L << "1";
        QTest::newRow("seven") << "7" << 7L << "8";
        QTest::newRow("nine to ten") << "9" << 9L << "10";
        QTest::newRow("empty") << "" << 0L << "1";
        QTest::newRow("blanks and digits") << "  12" << 12L << "13";
        QTest::newRow("trailing text") << "3 keer" << 3L << "4";
        QTest::newRow("negative") << "-2" << -2L << "-1";
        QTest::newRow("not a number") << "x" << 0L << "1";
        QTest::newRow("far too long") << "99999999999999999999999" << 999999999999999999L << "1000000000000000000";
    }
    void counters()
    {
        QFETCH(QString, caption);
        QFETCH(long, value);
        QFETCH(QString, after);
        Label& c = a->label("counter");
        c.setCaption(cs(caption));
        QCOMPARE(captionValue(c), value);
        events().clear();
        countUp(c);
        QCOMPARE(c.caption(), after);
        QCOMPARE(events(), QStringList{"change counter=" + after});
    }

    // A label's text is drawn where the core lays its lines out with the
    // desktop's measures: the window shows exactly those lines, which are
    // where Qt's own word wrap puts them too; the lines below the label are
    // cut off, and nothing is drawn outside it.
    void labelTextIsDrawnAsTheCoreLaysItOut()
    {
        if (canvasOf(*a)->transform().scale() != 1 || canvasOf(*a)->devicePixelRatioF() != 1)
            QSKIP("the form is shown scaled");
        Label& l = a->label("lbl");
        l.setCaption("");
        const QImage blank = render(*a);
        const QString caption = QStringLiteral("kort kort kort kort kort kort kort kort kort kort kort kort");
        l.setCaption(cs(caption));
        const QImage shown = render(*a);

        QtTextMeasurer measures;
        const TextLayout layout = layOutText(l.caption(), l.font(), l.pixelRect(), l.alignment(), measures);
        QVERIFY(layout.lines.size() > 2);  // more than the label's 40 pixels show
        const QRect r = toQt(l.pixelRect());
        const auto drawn = [&](const std::function<void(QPainter&)>& draw) {
            QImage image = blank.copy();
            QPainter p(&image);
            p.translate(onCanvas(*a, QPoint(0, 0)));
            p.setClipRect(r);
            p.setFont(toQFont(l.font()));
            p.setPen(toQColor(l.foreColor()));
            draw(p);
            return image;
        };
        const QImage laidOut = drawn([&](QPainter& p) {
            for (const TextLine& line : layout.lines)
                p.drawText(QPointF(line.x, line.baseline), qs(line.text));
        });
        QVERIFY(laidOut != blank);
        QCOMPARE(shown, laidOut);
        const QImage wrapped = drawn(
            [&](QPainter& p) { p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, caption); });
        QCOMPARE(laidOut, wrapped);
    }

    // ------------------------------------------------------------ lifecycle

    void showOfAnOpenFormKeepsItsState()
    {
        a->image("under").setPicture(a->image("piece").picture());
        const Picture held = a->image("under").picture();
        program->show("Beta");
        a->show();
        settle();
        QVERIFY(a->image("under").picture() == held);
        QCOMPARE(QApplication::activeWindow(), windowOf(*a));
    }

    // Events that reach the window of a form after the form was rebuilt (the
    // old window is hidden at once but lives until the event loop deletes it)
    // are the old window's: they never reach the new form.
    void eventsForTheOldWindowOfARebuiltFormDoNothing()
    {
        QPointer<FormCanvas> old = canvasOf(*a);
        const QPoint knop = onCanvas(*a, centreOf(*a, "knopA"));
        const QPoint restart = onCanvas(*a, centreOf(*a, "knopRestart"));
        QTest::mousePress(old, Qt::LeftButton, Qt::NoModifier, restart);
        QTest::mouseRelease(old, Qt::LeftButton, Qt::NoModifier, restart);  // rebuilt, not yet deleted
        QVERIFY(old);
        QVERIFY(canvasOf(*a) != old);
        QTest::mousePress(old, Qt::LeftButton, Qt::NoModifier, knop);
        QTest::mouseRelease(old, Qt::LeftButton, Qt::NoModifier, knop);
        QTest::keyClick(old, Qt::Key_Space);
        settle();
        QCOMPARE(events(), (QStringList{"after unload loaded=0", "restarted"}));
        // The new window plays.
        click(*a, "knopA");
        QCOMPARE(events().last(), QString("click knopA"));
    }

    void unloadInsideItsOwnHandlerIsSafe()
    {
        a->image("target").setPicture(a->image("piece").picture());
        a->image("back").setEnabled(false);
        FormCanvas* before = canvasOf(*a);
        QPointer<FormCanvas> watch(before);
        click(*a, "knopRestart");
        QCOMPARE(events(), (QStringList{"after unload loaded=0", "restarted"}));
        QVERIFY(a->isLoaded());
        QVERIFY(watch.isNull());  // the old window is gone
        QVERIFY(a->image("target").picture().isEmpty());
        QVERIFY(a->image("back").enabled());
        QVERIFY(!program->registry().ended());
    }

    void closingWindowsAndTheEnd()
    {
        Form& b = program->show("Beta");
        closeWindow(*a);  // only that form
        QVERIFY(!a->isLoaded());
        QVERIFY(b.isLoaded());
        QVERIFY(!program->registry().ended());
        QVERIFY(program->registry().existing("Alpha") == a);  // the slot stays
        closeWindow(b);                                       // the last one: the program ends
        QVERIFY(program->registry().ended());
    }

    void endClosesEveryForm()
    {
        program->show("Beta");
        a->show();
        click(*a, "knopEnd");
        QVERIFY(program->registry().ended());
        QCOMPARE(program->registry().loadedCount(), 0);
        // Nothing is shown or handled after the end.
        a->show();
        QVERIFY(!a->isLoaded());
    }

    void rebuiltWindowOpensWhereItWas()
    {
        windowOf(*a)->move(123, 77);
        const QPoint pos = windowOf(*a)->pos();
        click(*a, "knopRestart");
        QCOMPARE(windowOf(*a)->pos(), pos);
    }

    // ------------------------------------------------------------ message box

    void messageBoxIsModalWithExclamationAndEmptyTitle()
    {
        auto seen = answerNextMessageBox();
        chooseMenu(*a);
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QString("Hulp tekst"));
        QCOMPARE(seen->title, QString());
        QCOMPARE(seen->windowTitle, QString(" "));  // so that Qt does not put the program's name there
        QVERIFY(seen->exclamation);
        QCOMPARE(seen->buttons, 1);
        QVERIFY(seen->applicationModal);
        QCOMPARE(events(), QStringList{"message box closed"});
        settle();
        QCOMPARE(QApplication::activeWindow(), windowOf(*a));  // the form takes the input again
    }

    // ------------------------------------------------------------ fonts

    void bundledFontsAreUsed()
    {
        QCOMPARE(QFontInfo(toQFont(fonts::comicSans(18))).family(), QString("Comic Neue"));
        QCOMPARE(QFontInfo(toQFont(fonts::arial(12))).family(), QString("Liberation Sans"));
        QCOMPARE(QFontInfo(toQFont(fonts::msSansSerif(13.5))).family(), QString("Liberation Sans"));
        QCOMPARE(toQFont(fonts::comicSans(63.75)).pixelSize(), 85);
        QCOMPARE(toQFont(fonts::msSansSerif(12)).pixelSize(), 16);
    }

    // ------------------------------------------------------------ registry

    void registryKeepsOneInstancePerForm()
    {
        QVERIFY(&program->registry().form("alpha") == a);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, program->registry().form("Nowhere"));
        QVERIFY(program->registry().existing("Beta") == nullptr);  // created on first use only
        program->registry().form("Beta");
        QVERIFY(program->registry().existing("Beta") != nullptr);
        QVERIFY(!program->registry().form("Beta").isLoaded());
    }
};

QTEST_MAIN(RuntimeTest)
#include "runtime_test.moc"
