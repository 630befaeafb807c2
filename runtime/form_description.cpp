#include "runtime/form_description.h"

namespace tuvrel {

namespace {
ControlDescription row(ControlClass c, QString name, int a, int b, int w, int h)
{
    ControlDescription d;
    d.controlClass = c;
    d.name = std::move(name);
    d.left = a;
    d.top = b;
    d.width = w;
    d.height = h;
    return d;
}
}  // namespace

ControlDescription imageRow(QString name, int left, int top, int width, int height)
{
    return row(ControlClass::Image, std::move(name), left, top, width, height);
}
ControlDescription labelRow(QString name, int left, int top, int width, int height)
{
    return row(ControlClass::Label, std::move(name), left, top, width, height);
}
ControlDescription buttonRow(QString name, int left, int top, int width, int height)
{
    return row(ControlClass::CommandButton, std::move(name), left, top, width, height);
}
ControlDescription shapeRow(QString name, int left, int top, int width, int height)
{
    return row(ControlClass::Shape, std::move(name), left, top, width, height);
}
ControlDescription lineRow(QString name, int x1, int y1, int x2, int y2)
{
    return row(ControlClass::Line, std::move(name), x1, y1, x2, y2);
}

ControlDescription menuRow(QString name, QString caption)
{
    return row(ControlClass::Menu, std::move(name), 0, 0, 0, 0).withCaption(std::move(caption));
}

}  // namespace tuvrel
