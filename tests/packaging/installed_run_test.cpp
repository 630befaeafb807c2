// The Debian package as a user gets it: unpacked into a throwaway root and started from
// there on the offscreen platform, with a clean environment and nothing from the build tree
// on its library path.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kDeb = QStringLiteral(TUVREL_DEB);
// The start screen as the form renderer draws it through the same windows at build time.
const QString kStartReference = QStringLiteral(TUVREL_START_SCREENSHOT);
const QString kProbe = QStringLiteral(TUVREL_GRAB_PROBE);
const QStringList kBuildTrees{QStringLiteral(TUVREL_BINARY_DIR), QStringLiteral(TUVREL_SOURCE_DIR)};

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
        const QString& directory)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(directory);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.err = "did not finish within 60 s: " + process.readAllStandardError();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err += process.readAllStandardError();
    return result;
}

}  // namespace

class InstalledRunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(root_.isValid(), qPrintable(root_.errorString()));
        QVERIFY(home_.isValid());
        QVERIFY2(QFile::exists(kDeb), qPrintable(kDeb + " is missing: the test package_deb makes it"));
        const Run unpack = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), kDeb, root_.path()},
                               QProcessEnvironment::systemEnvironment(), root_.path());
        QVERIFY2(unpack.exitCode == 0, unpack.err.constData());
        program_ = root_.filePath(QStringLiteral("usr/games/tuvrel"));
        QVERIFY2(QFileInfo(program_).isExecutable(), qPrintable(program_));

        environment_.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        environment_.insert(QStringLiteral("HOME"), home_.path());
        environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
        environment_.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    }

    void printsItsVersion()
    {
        const Run version = run(program_, {QStringLiteral("--version")}, environment_, root_.path());
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QByteArray("tuvrel " TUVREL_VERSION "\n"));
        QCOMPARE(version.err, QByteArray());
    }

    // Every library the executable needs resolves, and none from the build or source tree.
    void needsNothingFromTheBuildTree()
    {
        const Run ldd = run(QStringLiteral("ldd"), {program_}, environment_, root_.path());
        QCOMPARE(ldd.exitCode, 0);
        QVERIFY2(!ldd.out.contains("not found"), ldd.out.constData());
        QVERIFY2(ldd.out.contains("libQt6Widgets.so.6"), ldd.out.constData());
        for (const QString& tree : kBuildTrees)
            QVERIFY2(!ldd.out.contains(tree.toUtf8()), ldd.out.constData());
        const Run dynamic = run(QStringLiteral("readelf"), {QStringLiteral("--dynamic"), program_}, environment_,
                                root_.path());
        QCOMPARE(dynamic.exitCode, 0);
        QVERIFY2(!dynamic.out.contains("RPATH") && !dynamic.out.contains("RUNPATH"), dynamic.out.constData());
    }

    // Started with no arguments, the installed program shows Start, painted exactly as the
    // form renderer draws it, and ends cleanly when the probe has taken its picture.
    void showsStartPainted()
    {
        const QString shotFile = home_.filePath(QStringLiteral("shown.png"));
        QProcessEnvironment environment = environment_;
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("LD_PRELOAD"), kProbe);
        environment.insert(QStringLiteral("TUVREL_GRAB_TO"), shotFile);
        const Run shown = run(program_, {}, environment, root_.path());
        QVERIFY2(shown.exitCode == 0, shown.err.constData());

        QImage shot(shotFile);
        QVERIFY2(!shot.isNull(), "the program painted no window");
        QCOMPARE(shot.text(QStringLiteral("Title")), QStringLiteral("Start"));
        const QImage reference(kStartReference);
        QVERIFY2(!reference.isNull(), qPrintable(kStartReference));
        QCOMPARE(shot.size(), reference.size());
        const QImage a = shot.convertToFormat(QImage::Format_RGB32);
        const QImage b = reference.convertToFormat(QImage::Format_RGB32);
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                differing += a.pixel(x, y) != b.pixel(x, y);
        if (differing) {
            const QString kept = QDir::temp().filePath(QStringLiteral("tuvrel-installed-start.png"));
            shot.save(kept);
            QFAIL(qPrintable(QStringLiteral("%1 of %2 pixels differ from %3; the installed program's Start is in %4")
                                 .arg(differing)
                                 .arg(a.width() * a.height())
                                 .arg(kStartReference, kept)));
        }
    }

private:
    QTemporaryDir root_;
    QTemporaryDir home_;
    QString program_;
    QProcessEnvironment environment_;
};

QTEST_GUILESS_MAIN(InstalledRunTest)
#include "installed_run_test.moc"
