// Every form description of the program: it builds, names only pictures the
// program carries, and every image is exactly as large as its picture.
#include "assets/picture_catalog.h"
#include "forms/descriptions.h"
#include "forms/row_order.h"
#include "games/plaatjeindezak/plaatjeindezak.h"
#include "games/sudoku/sudoku.h"
#include "games/vormen/vormen.h"
#include "menu/form_catalog.h"
#include "runtime/runtime_error.h"
#include "tests/support/form_driver.h"

#include <QSet>
#include <QTest>
#include <set>

using namespace tuvrel;
using namespace tuvrel::test;

class DescriptionsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> program;

private slots:
    void init() { program = std::make_unique<Program>(); }
    void cleanup() { program.reset(); }

    // A game with levels or boards binds its handlers for a level it has: any
    // other number is an error, and so is another level's form, whose
    // controls are not the ones the level's handlers name.
    void unknownLevelIsAnError()
    {
        for (int level : {0, 3}) {
            QVERIFY_THROWS_EXCEPTION(RuntimeError, vormenClass(forms::Vormen1(), level));
            QVERIFY_THROWS_EXCEPTION(RuntimeError, plaatjeindezakClass(forms::Plaatjeindezak1(), level));
        }
        for (int board : {0, 6})
            QVERIFY_THROWS_EXCEPTION(RuntimeError, sudokuClass(forms::Sudoku1(), board));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, vormenClass(forms::Vormen1(), 2));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, plaatjeindezakClass(forms::Plaatjeindezak2(), 1));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, sudokuClass(forms::Sudoku2(), 1));
    }

    // Rows put in their table's order: a name the order lacks, a name no row
    // has, or a row built twice is an error, never a form with a row lost.
    void rowOrder_data()
    {
        QTest::addColumn<QStringList>("built");
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<bool>("valid");
        QTest::newRow("in order") << QStringList{"b", "a"} << QStringList{"a", "b"} << true;
        QTest::newRow("a row the order lacks") << QStringList{"a", "b"} << QStringList{"a"} << false;
        QTest::newRow("a name no row has") << QStringList{"a"} << QStringList{"a", "c"} << false;
        QTest::newRow("a row built twice") << QStringList{"a", "a"} << QStringList{"a"} << false;
        QTest::newRow("a name twice in the order") << QStringList{"a"} << QStringList{"a", "a"} << false;
    }
    void rowOrder()
    {
        QFETCH(QStringList, built);
        QFETCH(QStringList, order);
        QFETCH(bool, valid);
        std::vector<ControlDescription> rows;
        for (const QString& name : built)
            rows.push_back(imageRow(cs(name), 0, 0, 15, 15));
        std::vector<std::string> names;
        for (const QString& name : order)
            names.push_back(cs(name));
        if (!valid) {
            QVERIFY_THROWS_EXCEPTION(RuntimeError, forms::inRowOrder(rows, names, "Test"));
            return;
        }
        const std::vector<ControlDescription> ordered = forms::inRowOrder(rows, names, "Test");
        QCOMPARE(int(ordered.size()), int(names.size()));
        for (size_t i = 0; i < names.size(); ++i)
            QCOMPARE(ordered[i].name, names[i]);
    }

    void everyForm_data()
    {
        QTest::addColumn<QString>("form");
        Program p;
        for (const std::string& name : p.registry().formNames())
            QTest::newRow(name.c_str()) << qs(name);
    }

    void everyForm()
    {
        QFETCH(QString, form);
        const FormDescription& d = program->form(cs(form)).description();
        QCOMPARE(d.name, form);
        const bool menu = std::any_of(d.rows.begin(), d.rows.end(),
                                      [](const ControlDescription& r) { return r.controlClass == ControlClass::Menu; });
        QCOMPARE(d.clientWidth, ClientWidth);
        QCOMPARE(d.clientHeight, menu ? ClientHeightWithMenu : ClientHeight);

        auto assetOf = [&](const std::string& name) -> const PictureAsset* {
            const PictureAsset* a = findPictureAsset(name);
            if (!a)
                qWarning("%s: picture %s is not in any manifest", qPrintable(form), name.c_str());
            return a;
        };
        QVERIFY(assetOf(d.icon));
        QCOMPARE(assetOf(d.icon)->format, PictureFormat::Icon);
        if (d.background)
            QVERIFY(assetOf(*d.background));

        QSet<QString> names;
        for (const ControlDescription& row : d.rows) {
            QVERIFY2(!names.contains(qs(row.name).toLower()), qPrintable(form + ": " + qs(row.name) + " twice"));
            names.insert(qs(row.name).toLower());
            if (!row.picture)
                continue;
            const PictureAsset* a = assetOf(*row.picture);
            QVERIFY2(a, qPrintable(form + ": " + qs(row.name)));
            if (row.controlClass == ControlClass::Image) {
                // An image is exactly as large as its picture.
                QVERIFY2(row.width == a->width * TwipsPerPixel && row.height == a->height * TwipsPerPixel,
                         qPrintable(QStringLiteral("%1: %2 is %3 x %4 twips, its picture %5 x %6 pixels")
                                        .arg(form, qs(row.name))
                                        .arg(row.width)
                                        .arg(row.height)
                                        .arg(a->width)
                                        .arg(a->height)));
            }
        }

        // It builds, and comes up in a window of its client size.
        Form& f = program->show(cs(form));
        QCOMPARE(canvasOf(f)->size(), f.clientSize());
        QCOMPARE(windowOf(f)->windowTitle(), d.caption);
        QCOMPARE(int(f.controls().size()), int(d.rows.size()));
    }

    void picturesOfOneArtworkAreSeparateObjects()
    {
        // Every control described with a picture holds an object of its own, even where
        // several show the same artwork.
        for (const std::string& name : program->registry().formNames()) {
            Form& f = program->show(name);
            std::set<std::uint64_t> seen;
            for (const auto& c : f.controls()) {
                Picture p;
                if (auto* img = dynamic_cast<Image*>(c.get()))
                    p = img->picture();
                else if (auto* b = dynamic_cast<CommandButton*>(c.get()))
                    p = b->picture();
                if (p.isEmpty())
                    continue;
                QVERIFY2(!seen.contains(p.identity()), (name + ": " + c->name()).c_str());
                seen.insert(p.identity());
            }
            f.unload();
        }
    }
};

QTEST_MAIN(DescriptionsTest)
#include "descriptions_test.moc"
