#pragma once
// Paints a loaded form onto a painter in form pixels: the background colour and
// picture, then every visible control from the back to the front (command
// buttons last, in the platform's button style), then a drag outline.
#include "runtime/text_layout.h"

#include <QFontMetricsF>
#include <QRect>
#include <QtGlobal>
#include <utility>
#include <vector>

class QPainter;
class QStyle;

namespace tuvrel {

// How the bundled faces measure with Qt, in form pixels: a label's text is
// laid out at the form's own size, so that it breaks at the same words at
// every scale it is drawn at.
class QtTextMeasurer : public TextMeasurer {
public:
    LineMetrics lineMetrics(const FontSpec& font) override;
    RunWidth measure(const FontSpec& font, std::string_view run) override;

private:
    // The few fonts of a paint, each looked up once.
    QFontMetricsF metricsOf(const FontSpec& font);

    std::vector<std::pair<FontSpec, QFontMetricsF>> fonts_;
};

class Form;

// How the scale a window paints at has changed: a paint soon after a change
// draws what is at hand and leaves the exact drawing for once it settles.
// Kept by the window's canvas; a paint without one is always exact.
struct PaintScale {
    double scale = 0;       // at the last paint; 0 before the first
    qint64 changedAt = -1;  // when it last changed, in ms of the painter's clock
};

// Whether the scale has stopped changing for long enough that paints are exact again.
bool paintScaleSettled(const PaintScale& paintScale);

void paintForm(QPainter& painter, const Form& form, const QRect& area, QStyle* style, bool showFocus,
               PaintScale* paintScale = nullptr);

}  // namespace tuvrel
