#pragma once
// Fonts as the descriptions name them. The program carries its own faces, so
// that every machine shows the same letters: Comic Neue stands in for
// "Comic Sans MS", Liberation Sans for "Arial" and "MS Sans Serif".
#include <algorithm>
#include <cmath>
#include <string>

namespace tuvrel {

enum class BundledFace { ComicNeue, LiberationSans };

struct FontSpec {
    std::string face;  // as written in the description, e.g. "Comic Sans MS"
    double points{};   // 12, 13.5, 63.75, ...

    // The bundled face that draws it.
    BundledFace bundled() const;
    // Sizes in points are laid out for 96 dots per inch: 12 pt is 16 pixels.
    int pixelSize() const { return std::max(1, int(std::lround(points * 96.0 / 72.0))); }

    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

namespace fonts {
inline FontSpec msSansSerif(double points)
{
    return {"MS Sans Serif", points};
}
inline FontSpec comicSans(double points)
{
    return {"Comic Sans MS", points};
}
inline FontSpec arial(double points)
{
    return {"Arial", points};
}
}  // namespace fonts

}  // namespace tuvrel
