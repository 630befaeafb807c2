#pragma once
// Paints a loaded form onto a painter in form pixels: the background colour and
// picture, then every visible control from the back to the front (command
// buttons last, in the platform's button style), then a drag outline.
#include <QRect>

class QPainter;
class QStyle;

namespace tuvrel {

class Form;

void paintForm(QPainter& painter, const Form& form, const QRect& area, QStyle* style, bool showFocus);

}  // namespace tuvrel
