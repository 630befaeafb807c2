#pragma once
// Where a label's text breaks into lines and where each line stands, decided
// once for every front end. A front end only measures: how wide a run of text
// is in one of the program's faces, and how far its lines lie apart. The core
// lays the text out in form pixels with those measures, so that a label
// breaks at the same words at every scale it is shown at, and every front end
// draws the lines where they are put.
#include "runtime/fonts.h"
#include "runtime/form_description.h"
#include "runtime/geometry.h"

#include <string_view>
#include <vector>

namespace tuvrel {

// A face's lines at its size, in form pixels.
struct LineMetrics {
    double ascent = 0;   // from a line's top down to its baseline
    double descent = 0;  // from the baseline down to the line's bottom
    double leading = 0;  // the face's gap between one line's bottom and the next one's top
};

// How wide a run of text is, in form pixels.
struct RunWidth {
    double advance = 0;   // from the run's start to where a character after it would start
    double overhang = 0;  // how far its last character's ink reaches past the advance; never negative
};

// Measures text in the program's faces at a font's pixel size, in form
// pixels; each front end measures with its own fonts.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;

    virtual LineMetrics lineMetrics(const FontSpec& font) = 0;
    // A run that holds no line break.
    virtual RunWidth measure(const FontSpec& font, std::string_view run) = 0;
};

// One line of a laid out text, in form pixels.
struct TextLine {
    std::string_view text;  // its characters, without the spaces it breaks at or ends in
    double x = 0;           // where its first character starts
    double top = 0;
    double baseline = 0;  // the line's top plus the face's ascent
    double advance = 0;   // its width from x
};

struct TextLayout {
    std::vector<TextLine> lines;  // every line, also those below the box
    double lineHeight = 0;        // each line's: the face's ascent plus descent
    // The block the lines take: as wide as the widest line with its last
    // character's ink, aligned in the box as the lines are, from the box's
    // top to the last line's bottom. Empty for no text.
    RectF block;
};

// A label's text laid out in its box: from the box's top, each line aligned
// in the box's width. A line takes words, and the spaces between them, while
// its run with the last word's ink fits the width; it breaks at the spaces
// before the word that does not fit, and those spaces, like spaces that end
// the text, take no room. A word wider than the box stands on a line of its
// own, aligned as the others and cut off by the box. Spaces that begin the
// text or a line of it are kept. A line break in the text ("\n", "\r\n" or
// "\r") begins a new line. The lines lie the face's ascent, descent and
// leading apart, each top on a whole pixel.
TextLayout layOutText(std::string_view text, const FontSpec& font, const Rect& box, Alignment alignment,
                      TextMeasurer& measurer);

}  // namespace tuvrel
