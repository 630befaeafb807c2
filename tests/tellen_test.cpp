// The two counting screens through the real windows: clicking figures to be
// counted (Tellen1) and dragging pictures of 1 to 5 things onto their number (Tellen3).
#include "desktop/picture_pixels.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QPainter>
#include <QTest>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

constexpr QRgb DotBrown = qRgb(192, 64, 0);
constexpr QRgb PanelOrange = qRgb(255, 192, 128);

struct FigureOnCard {
    const char* figure;
    const char* counter;
    const char* dot;
    const char* cardPicture;
    const char* upperPanel;
    const char* lowerPanel;
};
// Pepernoot, parcel, sack, Sint, Piet: the figures of each kind and what belongs to them.
const std::vector<FigureOnCard> Figures{
    {"ImgPepernoot1", "lblTellerPepernoot", "Pe1", "ImagePepernoot", "Shape6", "Shape1"},
    {"ImgPepernoot2", "lblTellerPepernoot", "Pe2", "ImagePepernoot", "Shape6", "Shape1"},
    {"ImgPepernoot3", "lblTellerPepernoot", "Pe3", "ImagePepernoot", "Shape6", "Shape1"},
    {"ImgPepernoot4", "lblTellerPepernoot", "Pe4", "ImagePepernoot", "Shape6", "Shape1"},
    {"ImgPepernoot5", "lblTellerPepernoot", "Pe5", "ImagePepernoot", "Shape6", "Shape1"},
    {"imgPakje1", "lblTellerPakje", "Pa1", "ImagePakje", "Shape7", "Shape2"},
    {"ImgZak1", "lblTellerZak", "Za1", "ImageZak", "Shape8", "Shape3"},
    {"ImgZak2", "lblTellerZak", "Za2", "ImageZak", "Shape8", "Shape3"},
    {"ImgZak3", "lblTellerZak", "Za3", "ImageZak", "Shape8", "Shape3"},
    {"ImgZak4", "lblTellerZak", "Za4", "ImageZak", "Shape8", "Shape3"},
    {"ImgSint1", "lblTellerSint", "S1", "ImageSint", "Shape10", "Shape4"},
    {"ImgSint2", "lblTellerSint", "S2", "ImageSint", "Shape10", "Shape4"},
    {"ImgPiet1", "lblTellerPiet", "P1", "Image4", "Shape9", "Shape5"},
    {"ImgPiet2", "lblTellerPiet", "P2", "Image4", "Shape9", "Shape5"},
    {"ImgPiet3", "lblTellerPiet", "P3", "Image4", "Shape9", "Shape5"},
};
const QStringList Counters{"lblTellerPepernoot", "lblTellerPakje", "lblTellerZak", "lblTellerSint", "lblTellerPiet"};

QStringList captions(const Form& f)
{
    QStringList all;
    for (const QString& c : Counters)
        all << qs(f.label(cs(c)).caption());
    return all;
}

QStringList litDots(const Form& f)
{
    QStringList lit;
    for (const FigureOnCard& k : Figures)
        if (f.shape(k.dot).visible())
            lit << k.dot;
    return lit;
}

// A point well inside a dot's square, from the dot's place in twips.
QPoint dotPixel(int left, int top)
{
    return QPoint(toPixels(left) + 8, toPixels(top) + 8);
}

// ---- Tellen3 ----

int digitOf(const QString& name)
{
    return name.at(name.startsWith(QLatin1String("Image")) ? 5 : 3).digitValue();
}
QStringList slotsOf(int digit)
{
    QStringList all;
    for (char c = 'a'; c < (digit == 2 || digit == 3 ? 'd' : 'c'); ++c)
        all << QStringLiteral("Image%1%2").arg(digit).arg(QLatin1Char(c));
    return all;
}
QStringList picturesOf(int digit)
{
    return slotsOf(digit).replaceInStrings(QStringLiteral("Image"), QStringLiteral("Img"));
}
QStringList allOf(QStringList (*of)(int))
{
    QStringList all;
    for (int d = 1; d <= 5; ++d)
        all << of(d);
    return all;
}
QString hintOf(int digit)
{
    return QStringLiteral("ImageFout%1").arg(digit);
}

// The control's picture is what the window shows in the control's place.
bool showsOwnPicture(const QImage& shown, const Image& image)
{
    const QImage picture = pictureImage(image.picture());
    const QRect r = toQt(image.pixelRect());
    for (QPoint p : {QPoint(50, 50), QPoint(20, 25), QPoint(75, 30), QPoint(30, 75), QPoint(80, 80)})
        if (shown.pixelColor(r.topLeft() + p).rgb() != picture.pixelColor(p).rgb())
            return false;
    return true;
}

// The inside of a frame whose picture has gone is the bare form.
bool emptyInside(const QImage& shown, QRect frame)
{
    for (int y = frame.top() + 2; y < frame.bottom() - 1; y += 3)
        for (int x = frame.left() + 2; x < frame.right() - 1; x += 3)
            if (shown.pixelColor(x, y) != toQColor(SystemColor::ButtonFace))
                return false;
    return true;
}

// The form as shown, with its buttons blotted out: which button has the
// keyboard focus depends on the way the child came back.
QImage withoutButtons(Form& f)
{
    QImage shown = render(f);
    QPainter p(&shown);
    for (const auto& c : f.controls())
        if (c->controlClass() == ControlClass::CommandButton)
            p.fillRect(toQt(c->pixelRect()), Qt::black);
    return shown;
}

void verifyInvariants(Program& program)
{
    const QStringList broken = qs(brokenInvariants(tellenInvariants(), program.registry()));
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
}

}  // namespace

class TellenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

    void addFigures()
    {
        QTest::addColumn<int>("k");
        for (int k = 0; k < int(Figures.size()); ++k)
            QTest::newRow(Figures[size_t(k)].figure) << k;
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup()
    {
        // Whatever a test did, the counting screens are in a state a child can reach.
        verifyInvariants(*program);
        program.reset();
    }

    // ---------------- Tellen1 ----------------

    void figureBelongsToItsCard_data() { addFigures(); }
    void figureBelongsToItsCard()
    {
        QFETCH(int, k);
        const FigureOnCard& c = Figures[size_t(k)];
        Form& f = program->show("Tellen1");
        const Rect field = f.shape("Shape11").pixelRect();
        QVERIFY(field.contains(f.image(c.figure).pixelRect()));
        QVERIFY(f.shape(c.upperPanel).pixelRect().contains(f.shape(c.dot).pixelRect()));
        QVERIFY(f.shape(c.lowerPanel).pixelRect().contains(f.label(c.counter).pixelRect()));
        QVERIFY(f.shape(c.lowerPanel).pixelRect().contains(f.image(c.cardPicture).pixelRect()));
        // The card shows the same figure, as a picture object of its own.
        QCOMPARE(assetName(f.image(c.cardPicture).picture()), assetName(f.image(c.figure).picture()));
        QVERIFY(!(f.image(c.cardPicture).picture() == f.image(c.figure).picture()));
    }

    void firstClickCountsOnlyItsFigure_data() { addFigures(); }
    void firstClickCountsOnlyItsFigure()
    {
        QFETCH(int, k);
        const FigureOnCard& c = Figures[size_t(k)];
        Form& f = program->show("Tellen1");
        const QPoint place = centreOf(f, c.figure);
        click(f, c.figure);
        QVERIFY(!f.image(c.figure).visible());
        QStringList expected{"0", "0", "0", "0", "0"};
        expected[Counters.indexOf(c.counter)] = "1";
        QCOMPARE(captions(f), expected);
        QCOMPARE(litDots(f), QStringList{c.dot});
        // Its place takes no further click.
        clickAt(f, place);
        QCOMPARE(captions(f), expected);
        QCOMPARE(litDots(f), QStringList{c.dot});
        const QImage shown = render(f);
        for (const FigureOnCard& other : Figures) {
            const QPoint p = toQt(f.shape(other.dot).pixelRect().center());
            QCOMPARE(shown.pixel(p), other.dot == c.dot ? DotBrown : PanelOrange);
        }
    }

    void pepernootFourLightsTheLowerRightDot()
    {
        Form& f = program->show("Tellen1");
        click(f, "ImgPepernoot4");
        QCOMPARE(f.label("lblTellerPepernoot").caption(), QString("1"));
        const QImage shown = render(f);
        QCOMPARE(shown.pixel(dotPixel(3870, 6510)), DotBrown);
        for (int left : {3510, 3870, 4230})
            QCOMPARE(shown.pixel(dotPixel(left, 6030)), PanelOrange);
        QCOMPARE(shown.pixel(dotPixel(3510, 6510)), PanelOrange);
    }

    void allFifteenFiguresAreCounted()
    {
        Form& f = program->show("Tellen1");
        const QStringList order{"ImgZak3",       "ImgPepernoot2", "ImgPiet1", "imgPakje1",     "ImgSint2",
                                "ImgPepernoot5", "ImgZak1",       "ImgPiet3", "ImgPepernoot1", "ImgZak4",
                                "ImgSint1",      "ImgPepernoot3", "ImgPiet2", "ImgZak2",       "ImgPepernoot4"};
        for (const QString& figure : order) {
            const auto c = std::find_if(Figures.begin(), Figures.end(),
                                        [&](const FigureOnCard& x) { return figure == x.figure; });
            const QString before = qs(f.label(c->counter).caption());
            click(f, cs(figure));
            QCOMPARE(f.label(c->counter).caption(), QString::number(before.toInt() + 1));
            QVERIFY(f.shape(c->dot).visible());
            verifyInvariants(*program);
        }
        QCOMPARE(captions(f), (QStringList{"5", "1", "4", "2", "3"}));
        QCOMPARE(litDots(f).size(), 15);

        // The field is empty; the pepernoot card shows three dots above two.
        QImage shown = render(f);
        QVERIFY(emptyInside(shown, toQt(f.shape("Shape11").pixelRect())));
        for (QPoint p : {dotPixel(3510, 6030), dotPixel(3870, 6030), dotPixel(4230, 6030), dotPixel(3510, 6510),
                         dotPixel(3870, 6510)})
            QCOMPARE(shown.pixel(p), DotBrown);
        QCOMPARE(shown.pixel(dotPixel(4230, 6510)), PanelOrange);

        // Clicking the empty places again counts nothing more.
        for (const FigureOnCard& c : Figures)
            clickAt(f, toQt(f.image(c.figure).pixelRect().center()));
        QCOMPARE(captions(f), (QStringList{"5", "1", "4", "2", "3"}));
        QCOMPARE(render(f), shown);
    }

    void cardsTakeNoClick()
    {
        Form& f = program->show("Tellen1");
        click(f, "ImgPiet2");
        click(f, "ImgZak4");
        const QImage before = render(f);
        QStringList inert{"ImagePepernoot", "ImagePakje", "ImageZak", "ImageSint", "Image4",
                          "Label1",         "Label2",     "Shape1",   "Shape6",    "Shape10"};
        inert << Counters;
        for (const QString& name : inert)
            click(f, cs(name));
        for (const FigureOnCard& c : Figures)  // lit and dark dots alike
            clickAt(f, toQt(f.shape(c.dot).pixelRect().center()));
        QCOMPARE(captions(f), (QStringList{"0", "0", "1", "0", "1"}));
        QCOMPARE(litDots(f), (QStringList{"Za4", "P2"}));
        QCOMPARE(render(f), before);
    }

    // ---------------- Tellen3 ----------------

    void eachCardReadsTheDigitItsSlotTakes_data()
    {
        QTest::addColumn<QString>("slot");
        for (const QString& s : allOf(slotsOf))
            QTest::newRow(qPrintable(s)) << s;
    }
    void eachCardReadsTheDigitItsSlotTakes()
    {
        QFETCH(QString, slot);
        Form& f = program->show("Tellen3");
        const QRect r = toQt(f.image(cs(slot)).pixelRect());
        QCOMPARE(r.size(), QSize(100, 100));
        // The digit label is the one on the red strip just left of the slot.
        const QPoint onStrip(r.left() - 40, r.center().y());
        Control* label = f.hitTest(fromQt(onStrip));
        QVERIFY(label && label->controlClass() == ControlClass::Label);
        QCOMPARE(static_cast<Label*>(label)->caption(), QString::number(digitOf(slot)));
        const QImage shown = render(f);
        QCOMPARE(shown.pixel(r.center()), qRgb(255, 255, 255));          // an empty slot on the white square
        QCOMPARE(shown.pixel(r.left() - 70, r.top()), qRgb(192, 0, 0));  // the red strip above the digit
    }

    void rightPictureFillsAndLocksAnySlotOfItsDigit_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("slot");
        for (int d = 1; d <= 5; ++d)
            for (const QString& p : picturesOf(d))
                for (const QString& s : slotsOf(d))
                    QTest::newRow(qPrintable(p + " on " + s)) << p << s;
    }
    void rightPictureFillsAndLocksAnySlotOfItsDigit()
    {
        QFETCH(QString, picture);
        QFETCH(QString, slot);
        Form& f = program->show("Tellen3");
        const Picture dragged = f.image(cs(picture)).picture();
        drag(f, cs(picture), cs(slot));
        QVERIFY(f.image(cs(slot)).picture() == dragged);
        QVERIFY(!f.image(cs(slot)).enabled());
        QVERIFY(!f.image(cs(picture)).visible());
        const QImage shown = render(f);
        QVERIFY(showsOwnPicture(shown, f.image(cs(slot))));
        QVERIFY(emptyInside(shown, toQt(f.image(cs(picture)).pixelRect())));  // the frame stays, empty
        for (const QString& other : allOf(slotsOf))
            if (other != slot)
                QVERIFY(f.image(cs(other)).picture().isEmpty() && f.image(cs(other)).enabled());
    }

    void wrongPictureShowsTheBalls_data()
    {
        QTest::addColumn<QString>("slot");
        for (const QString& s : allOf(slotsOf))
            QTest::newRow(qPrintable(s)) << s;
    }
    void wrongPictureShowsTheBalls()
    {
        QFETCH(QString, slot);
        const int digit = digitOf(slot);
        Form& f = program->show("Tellen3");
        const Picture balls = f.image(cs(hintOf(digit))).picture();
        // Every picture of another number, one after the other: the balls each time, again and again.
        for (const QString& picture : allOf(picturesOf)) {
            if (digitOf(picture) == digit)
                continue;
            drag(f, cs(picture), cs(slot));
            QVERIFY2(f.image(cs(slot)).picture() == balls, qPrintable(picture));
            QVERIFY(f.image(cs(slot)).enabled());
            QVERIFY(f.image(cs(picture)).visible());
            QVERIFY(!f.image(cs(hintOf(digit))).visible());
        }
        QImage shown = render(f);
        QVERIFY(showsOwnPicture(shown, f.image(cs(slot))));
        QVERIFY(showsOwnPicture(shown, f.image(cs(picturesOf(digit == 1 ? 2 : 1).first()))));  // still below
        // The right picture replaces the balls.
        const QString right = picturesOf(digit).last();
        drag(f, cs(right), cs(slot));
        QVERIFY(f.image(cs(slot)).picture() == f.image(cs(right)).picture());
        QVERIFY(!f.image(cs(slot)).enabled());
        QVERIFY(showsOwnPicture(render(f), f.image(cs(slot))));
    }

    void twoSteamboatsOnAThreeThenThePepernoten()
    {
        Form& f = program->show("Tellen3");
        drag(f, "Img2a", "Image3b");
        QVERIFY(f.image("Image3b").picture() == f.image("ImageFout3").picture());
        QVERIFY(f.image("Img2a").visible());
        drag(f, "Img3b", "Image3b");
        QVERIFY(f.image("Image3b").picture() == f.image("Img3b").picture());
        QVERIFY(!f.image("Img3b").visible());
        // The steamboats still fit a two.
        drag(f, "Img2a", "Image2c");
        QVERIFY(!f.image("Image2c").enabled());
    }

    void filledSlotIgnoresDrops()
    {
        Form& f = program->show("Tellen3");
        drag(f, "Img1b", "Image1a");
        const Picture cap = f.image("Img1b").picture();
        const QImage filled = render(f);
        for (const char* picture : {"Img1a", "Img4a", "Img5b"})
            drag(f, cs(picture), "Image1a");
        QVERIFY(f.image("Image1a").picture() == cap);
        QCOMPARE(render(f), filled);
        // The other picture of one still fits the other slot of one.
        drag(f, "Img1a", "Image1b");
        QVERIFY(!f.image("Image1b").enabled());
        QVERIFY(!f.image("Img1a").visible());
    }

    void dropsBesideTheSlotsDoNothing()
    {
        Form& f = program->show("Tellen3");
        drag(f, "Img5a", "Image5a");  // leaves an empty frame below
        const QImage before = render(f);
        const QRect slot = toQt(f.image("Image2a").pixelRect());
        const QList<QPoint> places{
            centreOf(f, "Label6"),                         // a digit
            QPoint(slot.left() - 60, slot.top() + 2),      // its red strip above the digit
            QPoint(slot.left() - 4, slot.center().y()),    // the white square beside the slot
            QPoint(slot.center().x(), slot.bottom() + 4),  // the white square below it
            centreOf(f, "Img3c"),                          // another picture
            centreOf(f, "Img5a"),                          // the empty frame of a placed one
            centreOf(f, "ImageFout1"),                     // where a hint lies hidden
            QPoint(500, 396),                              // the bare form between the cards and the pictures
            QPoint(60, 300),                               // and left of the cards
            QPoint(1010, 660),
        };
        for (QPoint p : places)
            dragTo(f, "Img2b", p);
        QCOMPARE(render(f), before);
        QVERIFY(f.image("Img2b").visible());
        for (const QString& s : allOf(slotsOf))
            QVERIFY(s == "Image5a" || (f.image(cs(s)).picture().isEmpty() && f.image(cs(s)).enabled()));
    }

    void wholeBoardFilled()
    {
        Form& f = program->show("Tellen3");
        // Each picture first on a wrong card, then on the last free slot of its number.
        for (int d = 1; d <= 5; ++d) {
            const QStringList pictures = picturesOf(d);
            const QStringList places = slotsOf(d);
            for (int i = 0; i < pictures.size(); ++i) {
                drag(f, cs(pictures[i]), cs(slotsOf(d % 5 + 1).first()));
                drag(f, cs(pictures[i]), cs(places[places.size() - 1 - i]));
                verifyInvariants(*program);
            }
        }
        const QImage shown = render(f);
        for (const QString& s : allOf(slotsOf)) {
            QVERIFY(!f.image(cs(s)).enabled());
            QVERIFY(showsOwnPicture(shown, f.image(cs(s))));
        }
        for (const QString& p : allOf(picturesOf)) {
            QVERIFY(!f.image(cs(p)).visible());
            QVERIFY(emptyInside(shown, toQt(f.image(cs(p)).pixelRect())));
        }
    }

    // ---------------- both ----------------

    void restartBringsBackTheLoadState_data()
    {
        QTest::addColumn<QString>("form");
        QTest::newRow("Tellen1") << "Tellen1";
        QTest::newRow("Tellen3") << "Tellen3";
    }
    void restartBringsBackTheLoadState()
    {
        QFETCH(QString, form);
        Form& other = program->show(form == "Tellen1" ? "Tellen3" : "Tellen1");
        if (form == "Tellen1")
            drag(other, "Img4b", "Image4a");
        else
            click(other, "ImgSint1");
        const QImage otherLeft = withoutButtons(other);

        Form& f = program->show(cs(form));
        const QImage fresh = render(f);
        if (form == "Tellen1") {
            for (const char* figure : {"ImgPepernoot4", "imgPakje1", "ImgZak2", "ImgPiet3"})
                click(f, figure);
        } else {
            drag(f, "Img3a", "Image3c");
            drag(f, "Img1a", "Image5b");
        }
        const Picture old = f.image(form == "Tellen1" ? "ImgZak1" : "Img3a").picture();
        QVERIFY(render(f) != fresh);
        click(f, "knopOpnieuw");
        QVERIFY(f.isLoaded());
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        QCOMPARE(render(f), fresh);
        QVERIFY(!(f.image(form == "Tellen1" ? "ImgZak1" : "Img3a").picture() == old));
        if (form == "Tellen1") {
            QCOMPARE(captions(f), (QStringList{"0", "0", "0", "0", "0"}));
            QVERIFY(litDots(f).isEmpty());
            for (const FigureOnCard& c : Figures)
                QVERIFY(f.image(c.figure).visible());
        } else {
            for (const QString& s : allOf(slotsOf))
                QVERIFY(f.image(cs(s)).picture().isEmpty() && f.image(cs(s)).enabled());
            for (const QString& p : allOf(picturesOf))
                QVERIFY(f.image(cs(p)).visible());
        }
        QCOMPARE(withoutButtons(other), otherLeft);  // the other screen is untouched
    }

    void playedFromTheStartScreen()
    {
        Form& start = program->show("Start");
        click(start, "KnopTellen1");
        Form& t1 = program->form("Tellen1");
        QCOMPARE(QApplication::activeWindow(), windowOf(t1));
        click(t1, "ImgPepernoot4");
        click(t1, "ImgSint2");
        const QImage t1Left = withoutButtons(t1);

        click(t1, "knopVerder");
        Form& t3 = program->form("Tellen3");
        QCOMPARE(QApplication::activeWindow(), windowOf(t3));
        QVERIFY(t3.find("knopVerder") == nullptr);  // the last counting screen
        drag(t3, "Img2c", "Image2b");
        drag(t3, "Img4a", "Image1b");
        const QImage t3Left = withoutButtons(t3);

        click(t3, "knopVorige");
        QCOMPARE(QApplication::activeWindow(), windowOf(t1));
        QCOMPARE(withoutButtons(t1), t1Left);
        click(t1, "knopVerder");
        QCOMPARE(withoutButtons(t3), t3Left);
        click(t3, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
        click(start, "KnopTellen1");
        QCOMPARE(QApplication::activeWindow(), windowOf(t1));
        QCOMPARE(withoutButtons(t1), t1Left);
        click(t1, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
    }
};

QTEST_MAIN(TellenTest)
#include "tellen_test.moc"
