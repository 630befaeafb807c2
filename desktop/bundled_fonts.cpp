#include "desktop/bundled_fonts.h"

#include "runtime/runtime_error.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace tuvrel {

namespace {
QString comicFamily = QStringLiteral("Comic Neue");
QString sansFamily = QStringLiteral("Liberation Sans");
}  // namespace

void registerBundledFonts()
{
    static bool done = false;
    if (done)
        return;
    // Registered from their data: a face registered by its resource path is
    // read from the resource again when it is first drawn with, and both
    // copies are kept. The registered family names are read back, so a face
    // that reports another name than expected is still found.
    auto add = [](const QString& path, QString& family) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw RuntimeError("the bundled font " + path.toStdString() + " cannot be read");
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (id < 0 || families.isEmpty())
            throw RuntimeError("the bundled font " + path.toStdString() + " cannot be loaded");
        family = families.first();
    };
    add(QStringLiteral(":/fonts/ComicNeue-Regular.otf"), comicFamily);
    add(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"), sansFamily);
    done = true;
}

QString bundledFamily(const FontSpec& fontSpec)
{
    return fontSpec.bundled() == BundledFace::ComicNeue ? comicFamily : sansFamily;
}

QFont toQFont(const FontSpec& fontSpec)
{
    QFont font(bundledFamily(fontSpec));
    font.setPixelSize(fontSpec.pixelSize());
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace tuvrel
