// Reading aloud on the desktop, through Qt's text-to-speech. An engine of
// this test (a static plugin) stands for the machine's: with a Dutch voice,
// with only voices of another language, or none at all. What the core reads
// and when is read_aloud_test's; here: the Dutch voice chosen and nothing
// else ever, each reading stopping the one before, and the silent path with
// its one line on the command line.
#include "app/program_start.h"
#include "desktop/form_window.h"
#include "desktop/speech.h"
#include "menu/form_catalog.h"
#include "runtime/form_registry.h"
#include "tests/support/core_qt.h"

#include <QTest>
#include <cstdio>

#ifdef TUVREL_HAS_SPEECH
#include <QTextToSpeechEngine>
#include <QTextToSpeechPlugin>
#include <QVoice>
#include <QtPlugin>
#endif

using namespace tuvrel;

namespace {

// What the engine was asked to do, and the languages it has.
QStringList& engineLog()
{
    static QStringList log;
    return log;
}
QList<QLocale>& engineLocales()
{
    static QList<QLocale> locales;
    return locales;
}

// What a program started with --voorlezen wrote on the command line.
QString written(std::FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    QByteArray bytes;
    char buffer[512];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, file))
        bytes.append(buffer, qsizetype(n));
    return QString::fromLocal8Bit(bytes);
}

}  // namespace

#ifdef TUVREL_HAS_SPEECH

class StubEngine : public QTextToSpeechEngine {
    Q_OBJECT
public:
    explicit StubEngine(QObject* parent) : QTextToSpeechEngine(parent)
    {
        if (!engineLocales().isEmpty())
            locale_ = engineLocales().constFirst();
    }
    QList<QLocale> availableLocales() const override { return engineLocales(); }
    QList<QVoice> availableVoices() const override
    {
        return {createVoice(QStringLiteral("stem ") + locale_.name(), locale_, QVoice::Female, QVoice::Adult, {})};
    }
    void say(const QString& text) override
    {
        engineLog() << QStringLiteral("say %1 (%2): %3").arg(locale_.name(), voice_.name(), text);
        setState(QTextToSpeech::Speaking);
    }
    void stop(QTextToSpeech::BoundaryHint) override
    {
        if (state_ == QTextToSpeech::Speaking)
            engineLog() << QStringLiteral("stop");
        setState(QTextToSpeech::Ready);
    }
    void pause(QTextToSpeech::BoundaryHint) override {}
    void resume() override {}
    double rate() const override { return 0; }
    bool setRate(double) override { return true; }
    double pitch() const override { return 0; }
    bool setPitch(double) override { return true; }
    QLocale locale() const override { return locale_; }
    bool setLocale(const QLocale& locale) override
    {
        if (!engineLocales().contains(locale))
            return false;
        locale_ = locale;
        voice_ = availableVoices().constFirst();
        return true;
    }
    double volume() const override { return 1; }
    bool setVolume(double) override { return true; }
    QVoice voice() const override { return voice_; }
    bool setVoice(const QVoice& voice) override
    {
        voice_ = voice;
        return true;
    }
    QTextToSpeech::State state() const override { return state_; }
    QTextToSpeech::ErrorReason errorReason() const override { return QTextToSpeech::ErrorReason::NoError; }
    QString errorString() const override { return {}; }

private:
    void setState(QTextToSpeech::State state)
    {
        if (state_ != state) {
            state_ = state;
            emit stateChanged(state);
        }
    }
    QLocale locale_;
    QVoice voice_;
    QTextToSpeech::State state_ = QTextToSpeech::Ready;
};

class StubSpeechPlugin : public QObject, public QTextToSpeechPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.qt.speech.tts.plugin/6.0" FILE "speech/stub_engine.json")
    Q_INTERFACES(QTextToSpeechPlugin)
public:
    QTextToSpeechEngine* createTextToSpeechEngine(const QVariantMap&, QObject* parent, QString*) const override
    {
        return new StubEngine(parent);
    }
};

Q_IMPORT_PLUGIN(StubSpeechPlugin)

#endif

class SpeechTest : public QObject {
    Q_OBJECT

    // The program as main() starts it with --voorlezen, on these engines.
    struct Program {
        QtWindowSystem windows{false};
        FormRegistry registry{&windows};
        std::FILE* messages = std::tmpfile();
        explicit Program(const QStringList& engines)
        {
            startReadingAloud(registry, windows, engines, messages);
            startProgram(registry, registerProgramForms);
        }
        ~Program()
        {
            registry.end();
            std::fclose(messages);
        }
        Program(const Program&) = delete;
        Program& operator=(const Program&) = delete;
    };

private slots:
    void init() { engineLog().clear(); }

#ifdef TUVREL_HAS_SPEECH
    // The Dutch voice (the Netherlands' where there is one), whatever else
    // the engine has: Start read as it opens, a game's front in place of it,
    // a form with nothing to read only stopping the reading.
    void readsWithTheDutchVoice_data()
    {
        QTest::addColumn<QList<QLocale>>("locales");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("English first, Flemish, Dutch")
            << QList<QLocale>{QLocale(QLocale::English, QLocale::UnitedKingdom),
                              QLocale(QLocale::Dutch, QLocale::Belgium), QLocale(QLocale::Dutch, QLocale::Netherlands)}
            << "nl_NL";
        QTest::newRow("Flemish only") << QList<QLocale>{QLocale(QLocale::Dutch, QLocale::Belgium)} << "nl_BE";
    }
    void readsWithTheDutchVoice()
    {
        QFETCH(QList<QLocale>, locales);
        QFETCH(QString, chosen);
        engineLocales() = locales;
        {
            Program program({QStringLiteral("tuvrel-stub")});
            QCOMPARE(written(program.messages), QString());
            QVERIFY(program.registry.readsAloud());
            const QString voice = QStringLiteral("say %1 (stem %1): ").arg(chosen);
            QCOMPARE(engineLog(), QStringList{voice + "sinterklaas. voor groep 1 en 2."});
            program.registry.show("Tellen1");
            program.registry.show("Puzzel1");
            QCOMPARE(engineLog(), (QStringList{
                                      voice + "sinterklaas. voor groep 1 en 2.",
                                      "stop",
                                      voice + "tellen. Klik alleen de figuurtjes aan. Ze worden vanzelf geteld.",
                                      "stop",
                                  }));
        }
    }
#endif

    // No Dutch voice: one line on the command line, in Dutch, and not a
    // word read in another language.
    void silentWithoutADutchVoice_data()
    {
        QTest::addColumn<QStringList>("engines");
        QTest::addColumn<QList<QLocale>>("locales");
        QTest::addColumn<QString>("why");
#ifdef TUVREL_HAS_SPEECH
        QTest::newRow("English and German only")
            << QStringList{"tuvrel-stub"}
            << QList<QLocale>{QLocale(QLocale::English, QLocale::UnitedStates),
                              QLocale(QLocale::German, QLocale::Germany)}
            << "er is geen Nederlandse stem op deze computer (tuvrel-stub heeft geen Nederlandse stem";
        QTest::newRow("no engine") << QStringList{} << QList<QLocale>{}
                                   << "er is geen spraakprogramma op deze computer";
#else
        QTest::newRow("built without speech")
            << QStringList{"speechd"} << QList<QLocale>{} << "deze Tuvrel is gebouwd zonder spraak";
#endif
    }
    void silentWithoutADutchVoice()
    {
        QFETCH(QStringList, engines);
        QFETCH(QList<QLocale>, locales);
        QFETCH(QString, why);
        engineLocales() = locales;
        Program program(engines);
        program.registry.show("Tellen1");
        program.registry.show("Sudoku1");
        const QString line = written(program.messages);
        QVERIFY2(line.startsWith("tuvrel: voorlezen kan niet: " + why), qPrintable(line));
        QVERIFY2(line.endsWith(". Tuvrel speelt zonder voorlezen.\n") && line.count(QLatin1Char('\n')) == 1,
                 qPrintable(line));
        QVERIFY(!program.registry.readsAloud());
        QVERIFY(!program.windows.speaks());
        QCOMPARE(engineLog(), QStringList{});
    }
};

QTEST_MAIN(SpeechTest)
#include "speech_test.moc"
