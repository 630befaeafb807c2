#include "runtime/form_description.h"

namespace tuvrel {

namespace {
ControlDescription row(ControlClass c, std::string name, int a, int b, int w, int h)
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

ControlDescription imageRow(std::string name, int left, int top, int width, int height)
{
    return row(ControlClass::Image, std::move(name), left, top, width, height);
}
ControlDescription labelRow(std::string name, int left, int top, int width, int height)
{
    return row(ControlClass::Label, std::move(name), left, top, width, height);
}
ControlDescription buttonRow(std::string name, int left, int top, int width, int height)
{
    return row(ControlClass::CommandButton, std::move(name), left, top, width, height);
}
ControlDescription shapeRow(std::string name, int left, int top, int width, int height)
{
    return row(ControlClass::Shape, std::move(name), left, top, width, height);
}
ControlDescription lineRow(std::string name, int x1, int y1, int x2, int y2)
{
    return row(ControlClass::Line, std::move(name), x1, y1, x2, y2);
}

ControlDescription menuRow(std::string name, std::string caption)
{
    return row(ControlClass::Menu, std::move(name), 0, 0, 0, 0).withCaption(std::move(caption));
}

}  // namespace tuvrel
