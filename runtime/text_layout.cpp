#include "runtime/text_layout.h"

#include <algorithm>
#include <cmath>

namespace tuvrel {

namespace {

struct BrokenLine {
    std::string_view text;
    RunWidth width;
};

bool isSpace(char c)
{
    return c == ' ';
}

size_t skipSpaces(std::string_view text, size_t from)
{
    while (from < text.size() && isSpace(text[from]))
        ++from;
    return from;
}

size_t skipWord(std::string_view text, size_t from)
{
    while (from < text.size() && !isSpace(text[from]))
        ++from;
    return from;
}

// The lines of a text without line breaks, each taking words while its run
// with the last word's ink fits the width.
void breakParagraph(std::string_view paragraph, const FontSpec& font, double width, TextMeasurer& measurer,
                    std::vector<BrokenLine>& lines)
{
    size_t start = 0;
    for (;;) {
        // The line's first word, whatever its width; spaces before it only
        // where the paragraph begins with them.
        const size_t firstWord = skipSpaces(paragraph, start);
        if (firstWord == paragraph.size()) {
            lines.push_back({paragraph.substr(start, 0), {}});
            return;
        }
        size_t end = skipWord(paragraph, firstWord);
        RunWidth taken = measurer.measure(font, paragraph.substr(start, end - start));
        size_t next = paragraph.size();
        for (;;) {
            const size_t word = skipSpaces(paragraph, end);
            if (word == paragraph.size())
                break;
            const size_t wordEnd = skipWord(paragraph, word);
            const RunWidth longer = measurer.measure(font, paragraph.substr(start, wordEnd - start));
            if (longer.advance + longer.overhang > width) {
                next = word;
                break;
            }
            taken = longer;
            end = wordEnd;
        }
        lines.push_back({paragraph.substr(start, end - start), taken});
        if (next == paragraph.size())
            return;
        start = next;
    }
}

// Where a run of this width starts in a box of that width.
double offsetIn(Alignment alignment, double boxWidth, double width)
{
    switch (alignment) {
    case Alignment::Left: break;
    case Alignment::Right: return boxWidth - width;
    case Alignment::Center: return (boxWidth - width) / 2;
    }
    return 0;
}

}  // namespace

TextLayout layOutText(std::string_view text, const FontSpec& font, const Rect& box, Alignment alignment,
                      TextMeasurer& measurer)
{
    TextLayout layout;
    if (text.empty())
        return layout;
    std::vector<BrokenLine> broken;
    for (size_t from = 0;;) {
        const size_t lineBreak = text.find_first_of("\r\n", from);
        breakParagraph(
            text.substr(from, lineBreak == std::string_view::npos ? std::string_view::npos : lineBreak - from), font,
            box.width(), measurer, broken);
        if (lineBreak == std::string_view::npos)
            break;
        const bool crlf = text[lineBreak] == '\r' && lineBreak + 1 < text.size() && text[lineBreak + 1] == '\n';
        from = lineBreak + (crlf ? 2 : 1);
    }

    const LineMetrics metrics = measurer.lineMetrics(font);
    layout.lineHeight = metrics.ascent + metrics.descent;
    // From one line's bottom the face's leading down, and on to a whole pixel.
    double y = -metrics.leading;
    double blockWidth = 0;
    for (const BrokenLine& line : broken) {
        y += metrics.leading;
        const double top = std::ceil(y);
        y = top + layout.lineHeight;
        layout.lines.push_back({line.text, box.left() + offsetIn(alignment, box.width(), line.width.advance),
                                box.top() + top, box.top() + top + metrics.ascent, line.width.advance});
        blockWidth = std::max(blockWidth, line.width.advance + line.width.overhang);
    }
    layout.block = {box.left() + offsetIn(alignment, box.width(), blockWidth), double(box.top()), blockWidth, y};
    return layout;
}

}  // namespace tuvrel
