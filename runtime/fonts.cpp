#include "runtime/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>
#include <cmath>

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
    done = true;
    // Registered from their data: a face registered by its resource path is
    // read from the resource again when it is first drawn with, and both
    // copies are kept. The registered family names are read back, so a face
    // that reports another name than expected is still found.
    auto add = [](const QString& path, QString& family) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            family = families.first();
    };
    add(QStringLiteral(":/fonts/ComicNeue-Regular.otf"), comicFamily);
    add(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"), sansFamily);
}

QString bundledFamily(const QString& face)
{
    return face.compare(QLatin1String("Comic Sans MS"), Qt::CaseInsensitive) == 0 ? comicFamily : sansFamily;
}

QFont toQFont(const FontSpec& fontSpec)
{
    QFont font(bundledFamily(fontSpec.face));
    // Sizes in points are laid out for 96 dots per inch: 12 pt is 16 pixels.
    font.setPixelSize(std::max(1, int(std::lround(fontSpec.points * 96.0 / 72.0))));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace tuvrel
