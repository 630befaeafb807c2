// Renders forms to PNG as the child sees them, through the real windows on the
// offscreen platform: render_forms <output dir> [form ...] (all forms by default).
#include "desktop/bundled_fonts.h"
#include "desktop/form_window.h"
#include "menu/form_catalog.h"
#include "runtime/form_registry.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform notes every window it cannot raise; that is not news here.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support")))
                previous ? previous(type, context, message) : void(std::fprintf(stderr, "%s\n", qPrintable(message)));
        });
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_forms <output dir> [form ...]\n");
        return 2;
    }
    tuvrel::registerBundledFonts();
    tuvrel::QtWindowSystem windows(false);
    tuvrel::FormRegistry registry(&windows);
    tuvrel::registerProgramForms(registry);

    std::vector<std::string> names(argv + 2, argv + argc);
    if (names.empty())
        names = registry.formNames();
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    int failures = 0;
    for (const std::string& name : names) {
        if (!registry.knows(name)) {
            std::fprintf(stderr, "render_forms: no form %s\n", name.c_str());
            ++failures;
            continue;
        }
        try {
            tuvrel::Form& form = registry.form(name);
            form.show();
            QApplication::processEvents();
            tuvrel::FormWindow* window = tuvrel::QtWindowSystem::windowOf(form);
            const QString file = out.filePath(QString::fromStdString(name) + ".png");
            if (!window || !window->grab().save(file)) {
                std::fprintf(stderr, "render_forms: cannot write %s\n", qPrintable(file));
                ++failures;
                continue;
            }
            std::printf("%s\n", qPrintable(file));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "render_forms: %s: %s\n", name.c_str(), e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
