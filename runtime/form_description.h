#pragma once
// The declarative initial state of a form: its caption, size, icon, background
// and one row per control. A form is built from its description at every load.
// Rows keep the units they are written in: twips (15 to the pixel) and
// &H00BBGGRR colours. The order of the rows is the drawing and hit order:
// an earlier row lies in front of a later one.
#include "runtime/colors.h"
#include "runtime/fonts.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace tuvrel {

inline constexpr int TwipsPerPixel = 15;

enum class ControlClass { Image, Label, CommandButton, Shape, Line, Menu };

// One control row. A property left unset takes its class default when the
// form is built. For a Line, Left/Top/Width/Height hold X1/Y1/X2/Y2.
struct ControlDescription {
    ControlClass controlClass{ControlClass::Image};
    QString name;
    int left{}, top{}, width{}, height{};

    std::optional<std::string> picture;  // asset name
    std::optional<bool> visible;
    std::optional<int> dragMode;
    std::optional<QString> toolTipText;
    std::optional<QString> caption;
    std::optional<BgrColor> foreColor;
    std::optional<BgrColor> backColor;
    std::optional<int> backStyle;
    std::optional<int> alignment;
    std::optional<FontSpec> font;
    std::optional<int> tabIndex;
    std::optional<int> style;
    std::optional<BgrColor> borderColor;
    std::optional<int> borderWidth;
    std::optional<BgrColor> fillColor;
    std::optional<int> fillStyle;

    // Chained setters, so that a row reads as one line of its table.
    ControlDescription withPicture(std::string asset) const
    {
        auto d = *this;
        d.picture = std::move(asset);
        return d;
    }
    ControlDescription hidden() const
    {
        auto d = *this;
        d.visible = false;
        return d;
    }
    ControlDescription draggable() const
    {
        auto d = *this;
        d.dragMode = 1;
        return d;
    }
    ControlDescription withToolTip(QString text) const
    {
        auto d = *this;
        d.toolTipText = std::move(text);
        return d;
    }
    ControlDescription withCaption(QString text) const
    {
        auto d = *this;
        d.caption = std::move(text);
        return d;
    }
    ControlDescription withForeColor(BgrColor c) const
    {
        auto d = *this;
        d.foreColor = c;
        return d;
    }
    ControlDescription withBackColor(BgrColor c) const
    {
        auto d = *this;
        d.backColor = c;
        return d;
    }
    ControlDescription withBackStyle(int s) const
    {
        auto d = *this;
        d.backStyle = s;
        return d;
    }
    ControlDescription transparent() const { return withBackStyle(0); }
    ControlDescription opaque() const { return withBackStyle(1); }
    ControlDescription centred() const
    {
        auto d = *this;
        d.alignment = 2;
        return d;
    }
    ControlDescription withFont(FontSpec f) const
    {
        auto d = *this;
        d.font = std::move(f);
        return d;
    }
    ControlDescription withTabIndex(int i) const
    {
        auto d = *this;
        d.tabIndex = i;
        return d;
    }
    ControlDescription graphical() const
    {
        auto d = *this;
        d.style = 1;
        return d;
    }
    ControlDescription withBorderColor(BgrColor c) const
    {
        auto d = *this;
        d.borderColor = c;
        return d;
    }
    ControlDescription withBorderWidth(int w) const
    {
        auto d = *this;
        d.borderWidth = w;
        return d;
    }
    ControlDescription withFillColor(BgrColor c) const
    {
        auto d = *this;
        d.fillColor = c;
        return d;
    }
    ControlDescription withFillStyle(int s) const
    {
        auto d = *this;
        d.fillStyle = s;
        return d;
    }
    ControlDescription solidFill(BgrColor c) const { return withFillColor(c).withFillStyle(0); }
};

// Row constructors, positions in twips.
ControlDescription imageRow(QString name, int left, int top, int width, int height);
ControlDescription labelRow(QString name, int left, int top, int width, int height);
ControlDescription buttonRow(QString name, int left, int top, int width, int height);
ControlDescription shapeRow(QString name, int left, int top, int width, int height);
ControlDescription lineRow(QString name, int x1, int y1, int x2, int y2);
// The single item of a form's menu bar; a form has a menu bar exactly when it has such a row.
ControlDescription menuRow(QString name, QString caption);

struct FormDescription {
    QString name{};      // the form class: "Start", "Puzzel1", ...
    QString caption{};   // window title, character for character
    int clientWidth{};   // twips
    int clientHeight{};  // twips
    std::string icon = "window_icon";
    std::optional<std::string> background{};  // picture drawn at the top-left corner
    std::vector<ControlDescription> rows{};
};

// The two client sizes of the program's forms.
inline constexpr int ClientWidth = 15315;
inline constexpr int ClientHeight = 10095;
inline constexpr int ClientHeightWithMenu = 9795;

}  // namespace tuvrel
