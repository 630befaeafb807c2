// The plays' file (tests/support/plays.txt) as the tests read it: comments,
// blank lines and spaces are nothing; a line that is not a play stops the
// tests with its line number, never a play that quietly does less.
#include "tests/support/plays.h"

#include <QTest>

using namespace tuvrel;
using namespace tuvrel::test;

class PlaysTest : public QObject {
    Q_OBJECT

private slots:
    void readsPlays()
    {
        const auto all = parsePlays("# a comment\n"
                                    "\n"
                                    "Puzzel1: drag:img4>Image4;click:Image1\n"
                                    "  Spel :  drag: ImgSint > Image1 ;  click:knop_2  \r\n"
                                    "Tellen3: drag:Img2c>Image2b");
        QCOMPARE(all.size(), size_t(3));
        QCOMPARE(all[0].first, std::string("Puzzel1"));
        QCOMPARE(all[0].second.size(), size_t(2));
        QCOMPARE(all[0].second[0].source, std::string("img4"));
        QCOMPARE(all[0].second[0].target, std::string("Image4"));
        QVERIFY(all[0].second[1].isClick());
        QCOMPARE(all[0].second[1].source, std::string("Image1"));
        QCOMPARE(all[1].first, std::string("Spel"));
        QCOMPARE(all[1].second[0].source, std::string("ImgSint"));
        QCOMPARE(all[1].second[0].target, std::string("Image1"));
        QCOMPARE(all[1].second[1].source, std::string("knop_2"));
        QCOMPARE(all[2].first, std::string("Tellen3"));
    }

    void refusesWhatIsNoPlay_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("no form") << "# plays\n: click:knop"
                                 << "line 2: a play is";
        QTest::newRow("no colon") << "Spel drag:a>b"
                                  << "line 1: a play is";
        QTest::newRow("no moves") << "Spel:"
                                  << "line 1: a move is";
        QTest::newRow("an empty move") << "Spel: click:a;; click:b"
                                       << "line 1: a move is";
        QTest::newRow("a trailing semicolon") << "Spel: click:a;"
                                              << "line 1: a move is";
        QTest::newRow("unknown move") << "Spel: tap:a"
                                      << "line 1: unknown move \"tap\"";
        QTest::newRow("drag without target") << "Spel: drag:a"
                                             << "line 1: a drag is";
        QTest::newRow("drag onto nothing") << "Spel: drag:a>"
                                           << "line 1: no control name after >";
        QTest::newRow("click on nothing") << "Spel: click: "
                                          << "line 1: no control name";
        QTest::newRow("two controls") << "Spel: click:a b"
                                      << "line 1: no control name";
        QTest::newRow("a second play") << "Spel: click:a\n\nSpel: click:b"
                                       << "line 3: a second play of Spel";
    }
    void refusesWhatIsNoPlay()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        try {
            parsePlays(text.toStdString());
            QFAIL("no error");
        } catch (const std::invalid_argument& e) {
            QVERIFY2(QString(e.what()).startsWith(error), e.what());
        }
    }
};

QTEST_GUILESS_MAIN(PlaysTest)
#include "plays_test.moc"
