// "één plaatje in de zak", levels 1 and 2, through the real windows: the odd
// picture of each row into its sack, wrong pictures, the sad face, the Tip.
#include "desktop/picture_pixels.h"
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

using namespace tuvrel;
using namespace tuvrel::test;

namespace {

// The rows of both levels as the child sees them, written out here on their
// own so that a wrong name or a wrong odd picture in the game shows up.
struct Row {
    std::string form;
    std::vector<std::string> pictures;  // left to right
    int odd;
    std::string sack, right, wrong;
};

const std::vector<Row>& rows()
{
    static const std::vector<Row> all{
        {"Plaatjeindezak1",
         {"ImageMijter", "ImageKaars", "ImageBoek", "ImageStaf"},
         1,
         "ImageZak1",
         "ImageGoed1",
         "ImageFout1"},
        {"Plaatjeindezak1",
         {"ImageMuts", "ImageZak", "ImageParaplu", "ImageRoe"},
         2,
         "ImageZak2",
         "ImageGoed2",
         "ImageFout2"},
        {"Plaatjeindezak1",
         {"ImageSkeeler", "ImageSchoen", "ImageSlof", "ImageKlomp"},
         0,
         "ImageZak3",
         "ImageGoed3",
         "ImageFout3"},
        {"Plaatjeindezak2",
         {"ImageBoot", "ImagePiet", "ImageSint", "ImageTractor"},
         3,
         "ImageZak1",
         "ImageGoed1",
         "ImageFout1"},
        {"Plaatjeindezak2",
         {"ImageSpeculaas", "ImageIJs", "ImageLetter", "ImagePepernoten"},
         1,
         "ImageZak4",
         "ImageGoed4",
         "ImageFout4"},
        {"Plaatjeindezak2",
         {"ImagePaard", "ImageSchoorst", "ImageNest", "ImagePak"},
         2,
         "ImageZak3",
         "ImageGoed3",
         "ImageFout3"},
    };
    return all;
}

std::string oddOf(const Row& r)
{
    return r.pictures.at(size_t(r.odd));
}
// A picture of the row that is not its odd one.
std::string notOddOf(const Row& r)
{
    return r.pictures.at(r.odd == 0 ? 1 : 0);
}

// The three rows of a form, top to bottom.
std::vector<const Row*> rowsOf(std::string_view form)
{
    std::vector<const Row*> level;
    for (const Row& r : rows())
        if (form == r.form)
            level.push_back(&r);
    return level;
}

// A row of the same form below (or, for the last, above) this one.
const Row& neighbourOf(int i)
{
    return rows().at(size_t(i % 3 == 2 ? i - 1 : i + 1));
}

void addRows()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(rows().size()); ++i)
        QTest::newRow((rows()[size_t(i)].form + " " + rows()[size_t(i)].sack).c_str()) << i;
}

// The share of a picture's opaque pixels that the window shows at the image's place.
double shownShare(Form& f, std::string_view control)
{
    const Image& img = f.image(control);
    const QImage shown = render(f);
    const QImage own = pictureImage(img.picture());
    int opaque = 0, same = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x) {
            const QColor c = own.pixelColor(x, y);
            if (c.alpha() < 255)
                continue;
            ++opaque;
            same += shown.pixelColor(toQt(img.pixelRect().topLeft()) + QPoint(x, y)).rgb() == c.rgb();
        }
    return opaque ? double(same) / opaque : 0.0;
}

// A point of the sack that no mark covers.
QPoint freePointOfSack(Form& f, const Row& r)
{
    return toQt(f.image(r.sack).pixelRect().topLeft()) + QPoint(8, 8);
}

// A point of the sad face that the smiling face does not cover, if there is one.
std::optional<QPoint> pointOfWrongMarkBesideSmile(Form& f, const Row& r)
{
    const QRect wrong = toQt(f.image(r.wrong).pixelRect());
    const QRect right = toQt(f.image(r.right).pixelRect());
    for (QPoint p : {QPoint(wrong.center().x(), wrong.bottom()), QPoint(wrong.right(), wrong.center().y()),
                     QPoint(wrong.left(), wrong.center().y())})
        if (!right.contains(p))
            return p;
    return std::nullopt;
}

// The title and the rows as drawn, without the buttons: their focus frames
// follow the window's activation and the last button clicked.
QImage playField(Form& f)
{
    return render(f).copy(QRect(100, 0, 820, 560));
}

QString toolTipShownAt(Form& f, QPoint at)
{
    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, at, canvasOf(f)->mapToGlobal(at));
    QApplication::sendEvent(canvasOf(f), &help);
    const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return text;
}

}  // namespace

class PlaatjeindezakTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

    Form& showRow(const Row& r) { return program->show(r.form); }

    // The row's pictures: which are visible and which can still be dragged.
    static void verifyPictures(Form& f, const Row& r, const QList<bool>& visible, const QList<bool>& enabled)
    {
        for (int i = 0; i < 4; ++i) {
            const std::string& name = r.pictures.at(size_t(i));
            const Image& p = f.image(name);
            QVERIFY2(p.visible() == visible.at(i), (name + " visible").c_str());
            QVERIFY2(p.enabled() == enabled.at(i), (name + " enabled").c_str());
        }
    }

    static void verifyOpen(Form& f, const Row& r)
    {
        verifyPictures(f, r, {true, true, true, true}, {true, true, true, true});
        QVERIFY(!f.image(r.right).visible());
        QVERIFY(!f.image(r.wrong).visible());
    }

    static void verifyNoDragFrom(Form& f, const std::string& picture)
    {
        pressAt(f, centreOf(f, picture));
        QVERIFY2(!f.drag(), (picture + " can still be dragged").c_str());
        releaseAt(f, centreOf(f, picture));
    }

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup()
    {
        // Whatever a test did, every row is in a state a child can reach.
        const QStringList broken = qs(brokenInvariants(plaatjeindezakInvariants(), program->registry()));
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
        program.reset();
    }

    void oddPictureSolvesTheRow_data() { addRows(); }
    void oddPictureSolvesTheRow()
    {
        QFETCH(int, row);
        const Row& r = rows().at(size_t(row));
        Form& f = showRow(r);
        verifyOpen(f, r);
        QCOMPARE(shownShare(f, oddOf(r)), 1.0);

        drag(f, oddOf(r), r.sack);
        QVERIFY(f.image(r.right).visible());
        QVERIFY(!f.image(r.wrong).visible());
        QList<bool> others{true, true, true, true};
        others[r.odd] = false;
        QList<bool> onlyOdd{false, false, false, false};
        onlyOdd[r.odd] = true;  // hidden, so it cannot be dragged all the same
        verifyPictures(f, r, others, onlyOdd);
        // The smiling face shows on the sack; the odd picture is gone from its place.
        QCOMPARE(shownShare(f, r.right), 1.0);
        QVERIFY(shownShare(f, oddOf(r)) < 0.5);
        QVERIFY(shownShare(f, r.sack) > 0.5);
        // The other three stay, but cannot be dragged any more.
        for (int i = 0; i < 4; ++i)
            if (i != r.odd)
                verifyNoDragFrom(f, r.pictures.at(size_t(i)));
        // The other rows of the form are untouched.
        for (const Row& other : rows())
            if (other.form == r.form && other.sack != r.sack)
                verifyOpen(f, other);
    }

    void otherPictureBlocksTheRowUntilTheSadFace_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("picture");
        for (int i = 0; i < int(rows().size()); ++i) {
            const Row& r = rows()[size_t(i)];
            for (int p = 0; p < 4; ++p)
                if (p != r.odd)
                    QTest::newRow((r.form + " " + r.pictures.at(size_t(p))).c_str()) << i << p;
        }
    }
    void otherPictureBlocksTheRowUntilTheSadFace()
    {
        QFETCH(int, row);
        QFETCH(int, picture);
        const Row& r = rows().at(size_t(row));
        Form& f = showRow(r);
        QCOMPARE(toolTipShownAt(f, centreOf(f, r.wrong)), QString());  // hidden: the sack has no tip

        drag(f, r.pictures.at(size_t(picture)), r.sack);
        QList<bool> visible{true, true, true, true};
        visible[picture] = false;
        verifyPictures(f, r, visible, {false, false, false, false});
        QVERIFY(f.image(r.wrong).visible());
        QVERIFY(!f.image(r.right).visible());
        QCOMPARE(shownShare(f, r.wrong), 1.0);
        QVERIFY(shownShare(f, r.pictures.at(size_t(picture))) < 0.5);
        QCOMPARE(toolTipShownAt(f, centreOf(f, r.wrong)), QString("nog een keer"));
        // Blocked: not even the odd picture can be dragged.
        for (const std::string& p : r.pictures)
            if (f.image(p).visible())
                verifyNoDragFrom(f, p);

        click(f, r.wrong);
        verifyOpen(f, r);
        QCOMPARE(shownShare(f, r.pictures.at(size_t(picture))), 1.0);
        // Another try, and this time the right one.
        drag(f, oddOf(r), r.sack);
        QVERIFY(f.image(r.right).visible());
        QVERIFY(!f.image(oddOf(r)).visible());
    }

    void pictureOfAnotherRowBlocksTheSacksRowOnly_data() { addRows(); }
    void pictureOfAnotherRowBlocksTheSacksRowOnly()
    {
        QFETCH(int, row);
        const Row& r = rows().at(size_t(row));
        const Row& home = neighbourOf(row);
        const std::string stranger = oddOf(home);  // the worst one to lose: its own row's answer
        Form& f = showRow(r);

        drag(f, stranger, r.sack);
        QVERIFY(!f.image(stranger).visible());
        verifyPictures(f, r, {true, true, true, true}, {false, false, false, false});
        QVERIFY(f.image(r.wrong).visible());
        // Its own row is not blocked, just one picture short.
        QList<bool> homeVisible{true, true, true, true};
        homeVisible[home.odd] = false;
        verifyPictures(f, home, homeVisible, {true, true, true, true});
        QVERIFY(!f.image(home.wrong).visible());

        // The sack's sad face brings back the sack's own four, not the stranger.
        click(f, r.wrong);
        verifyOpen(f, r);
        QVERIFY(!f.image(stranger).visible());

        // Only the sad face of the stranger's own row brings it back.
        drag(f, notOddOf(home), home.sack);
        QVERIFY(!f.image(stranger).visible());
        click(f, home.wrong);
        verifyOpen(f, home);
        drag(f, stranger, home.sack);
        QVERIFY(f.image(home.right).visible());
        drag(f, oddOf(r), r.sack);
        QVERIFY(f.image(r.right).visible());
    }

    void wrongDropOnSolvedRowShowsSadFaceBehindSmile_data() { addRows(); }
    void wrongDropOnSolvedRowShowsSadFaceBehindSmile()
    {
        QFETCH(int, row);
        const Row& r = rows().at(size_t(row));
        const Row& other = neighbourOf(row);
        Form& f = showRow(r);
        drag(f, oddOf(r), r.sack);

        const std::string stranger = other.pictures.at(0);
        dragTo(f, stranger, freePointOfSack(f, r));
        QVERIFY(!f.image(stranger).visible());
        QVERIFY(f.image(r.right).visible());
        QVERIFY(f.image(r.wrong).visible());
        QList<bool> shown{true, true, true, true};
        shown[r.odd] = false;
        verifyPictures(f, r, shown, {false, false, false, false});
        // The smiling face lies in front of the sad one.
        QCOMPARE(shownShare(f, r.right), 1.0);

        const std::optional<QPoint> beside = pointOfWrongMarkBesideSmile(f, r);
        if (!beside) {
            // The smile is as large as the sad face and hides it whole: a click there
            // reaches the smile, and the row stays solved.
            QCOMPARE(f.image(r.right).pixelRect(), f.image(r.wrong).pixelRect());
            QCOMPARE(toolTipShownAt(f, centreOf(f, r.wrong)), QString());
            click(f, r.wrong);
            QVERIFY(f.image(r.wrong).visible());
            verifyPictures(f, r, shown, {false, false, false, false});
            return;
        }
        QCOMPARE(toolTipShownAt(f, *beside), QString("nog een keer"));
        clickAt(f, *beside);
        verifyPictures(f, r, {true, true, true, true}, {true, true, true, true});
        QVERIFY(f.image(r.right).visible());  // the smile stays
        QVERIFY(!f.image(r.wrong).visible());
        // The odd picture is back and solves the row again, dropped where the smile leaves the sack free.
        dragTo(f, oddOf(r), freePointOfSack(f, r));
        QVERIFY(!f.image(oddOf(r)).visible());
        QVERIFY(!f.image(r.wrong).visible());
    }

    void dropsBesideTheSacksDoNothing_data()
    {
        QTest::addColumn<QString>("form");
        QTest::newRow("level 1") << "Plaatjeindezak1";
        QTest::newRow("level 2") << "Plaatjeindezak2";
    }
    void dropsBesideTheSacksDoNothing()
    {
        QFETCH(QString, form);
        Form& f = program->show(cs(form));
        const std::vector<const Row*> level = rowsOf(cs(form));
        const Row& first = *level.at(0);
        const Row& second = *level.at(1);
        const Row& third = *level.at(2);
        // Show a smiling face on the first sack and a sad face on the second.
        drag(f, oddOf(first), first.sack);
        drag(f, notOddOf(second), second.sack);
        const QImage before = render(f);
        auto stateOf = [&] {
            QList<bool> s;
            for (const Row* r : level) {
                for (const std::string& p : r->pictures)
                    s << f.image(p).visible() << f.image(p).enabled();
                s << f.image(r->right).visible() << f.image(r->wrong).visible();
            }
            return s;
        };
        const QList<bool> state = stateOf();

        const std::string source = third.pictures.at(1);
        for (const std::string& target : {third.pictures.at(0), first.pictures.at(0), first.right, second.wrong,
                                          std::string("Label1"), std::string("Label2"), std::string("knopOpnieuw")})
            drag(f, source, target);
        // The frames: inside a picture frame between two pictures, and inside a sack frame beside the sack.
        const QRect sack = toQt(f.image(third.sack).pixelRect());
        dragTo(f, source, toQt(f.shape("Shape8").pixelRect().topLeft()) + QPoint(3, 3));
        dragTo(f, source, QPoint(sack.left() - 20, sack.center().y()));
        dragTo(f, source, QPoint(sack.center().x(), sack.bottom() + 3));
        dragTo(f, source, QPoint(1000, 640));    // the bare field
        dragTo(f, source, centreOf(f, source));  // back onto itself

        QCOMPARE(stateOf(), state);
        QCOMPARE(render(f), before);
        QVERIFY(f.image(source).visible());
        QVERIFY(f.image(source).enabled());
    }

    void tipExplainsTheSadFace_data()
    {
        QTest::addColumn<QString>("form");
        QTest::newRow("level 1") << "Plaatjeindezak1";
        QTest::newRow("level 2") << "Plaatjeindezak2";
    }
    void tipExplainsTheSadFace()
    {
        QFETCH(QString, form);
        Form& f = program->show(cs(form));
        QCOMPARE(f.menu()->caption(), QString("Tip"));
        const QImage before = playField(f);
        const auto seen = answerNextMessageBox();
        chooseMenu(f);
        QVERIFY(seen->shown);
        QCOMPARE(seen->text, QString("Klik op het foutsymbool om het opnieuw te proberen."));
        QCOMPARE(seen->title, QString("Verbeteren"));
        QVERIFY(seen->exclamation);
        QCOMPARE(seen->buttons, 1);
        QCOMPARE(playField(f), before);
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
    }

    void bothLevelsPlayedFromTheStartScreen()
    {
        Form& start = program->show("Start");
        click(start, "knopZak");
        Form& one = program->form("Plaatjeindezak1");
        QCOMPARE(QApplication::activeWindow(), windowOf(one));
        for (const Row* r : rowsOf("Plaatjeindezak1"))
            drag(one, oddOf(*r), r->sack);
        const QImage solvedOne = playField(one);

        click(one, "knopVerder");
        Form& two = program->form("Plaatjeindezak2");
        QCOMPARE(QApplication::activeWindow(), windowOf(two));
        drag(two, "ImageBoot", "ImageZak1");  // a wrong one first
        click(two, "ImageFout1");
        for (const Row* r : rowsOf("Plaatjeindezak2"))
            drag(two, oddOf(*r), r->sack);
        for (const char* right : {"ImageGoed1", "ImageGoed4", "ImageGoed3"})
            QCOMPARE(shownShare(two, right), 1.0);
        const QImage solvedTwo = playField(two);

        // Back to level 1, to the start screen and in again: both as they were left.
        click(two, "Command4");
        QCOMPARE(QApplication::activeWindow(), windowOf(one));
        QCOMPARE(playField(one), solvedOne);
        click(one, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
        click(start, "knopZak");
        QCOMPARE(QApplication::activeWindow(), windowOf(one));
        click(one, "knopVerder");
        QCOMPARE(playField(two), solvedTwo);
        click(two, "knopTerug");
        QCOMPARE(QApplication::activeWindow(), windowOf(start));
    }

    void nogEenKeerStartsTheLevelAfresh_data()
    {
        QTest::addColumn<QString>("form");
        QTest::newRow("level 1") << "Plaatjeindezak1";
        QTest::newRow("level 2") << "Plaatjeindezak2";
    }
    void nogEenKeerStartsTheLevelAfresh()
    {
        QFETCH(QString, form);
        const std::string otherForm = form == QLatin1String("Plaatjeindezak1") ? "Plaatjeindezak2" : "Plaatjeindezak1";
        Form& other = program->show(otherForm);
        const Row& otherFirst = *rowsOf(otherForm).at(0);
        drag(other, oddOf(otherFirst), otherFirst.sack);
        const QImage otherBefore = playField(other);
        Form& f = program->show(cs(form));
        const QImage fresh = render(f);
        const std::vector<const Row*> level = rowsOf(cs(form));
        drag(f, oddOf(*level[0]), level[0]->sack);
        drag(f, notOddOf(*level[1]), level[1]->sack);
        drag(f, level[0]->pictures.at(0), level[2]->sack);
        const Picture oldOdd = f.image(oddOf(*level[2])).picture();

        click(f, "knopOpnieuw");
        QVERIFY(f.isLoaded());
        QCOMPARE(QApplication::activeWindow(), windowOf(f));
        for (const Row* r : level)
            verifyOpen(f, *r);
        QCOMPARE(render(f), fresh);
        QVERIFY(!(f.image(oddOf(*level[2])).picture() == oldOdd));
        QCOMPARE(playField(other), otherBefore);  // the other level is untouched
    }
};

QTEST_MAIN(PlaatjeindezakTest)
#include "plaatjeindezak_test.moc"
