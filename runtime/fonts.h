#pragma once
// Fonts as the descriptions name them. The program carries its own faces, so
// that every machine shows the same letters: Comic Neue stands in for
// "Comic Sans MS", Liberation Sans for "Arial" and "MS Sans Serif".
#include <QFont>
#include <QString>

namespace tuvrel {

struct FontSpec {
    QString face;     // as written in the description, e.g. "Comic Sans MS"
    double points{};  // 12, 13.5, 63.75, ...

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

namespace fonts {
inline FontSpec msSansSerif(double points)
{
    return {QStringLiteral("MS Sans Serif"), points};
}
inline FontSpec comicSans(double points)
{
    return {QStringLiteral("Comic Sans MS"), points};
}
inline FontSpec arial(double points)
{
    return {QStringLiteral("Arial"), points};
}
}  // namespace fonts

// Registers the bundled faces with Qt; call once after the application object exists.
void registerBundledFonts();
// The bundled family that draws a description face.
QString bundledFamily(const QString& face);
// The font to draw with: regular weight, sized in pixels as at 96 dots per inch.
QFont toQFont(const FontSpec& fontSpec);

}  // namespace tuvrel
