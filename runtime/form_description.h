#pragma once
// The declarative initial state of a form: its caption, size, icon, background
// and one row per control. A form is built from its description at every load.
// Rows keep the units they are written in: twips (15 to the pixel) and
// &H00BBGGRR colours. The order of the rows is the drawing and hit order:
// an earlier row lies in front of a later one.
#include "runtime/colors.h"
#include "runtime/fonts.h"

#include <optional>
#include <string>
#include <vector>

namespace tuvrel {

inline constexpr int TwipsPerPixel = 15;

enum class ControlClass { Image, Label, CommandButton, Shape, Line, Menu };

// The properties that take one of a few values, with the numbers the forms
// write them with.
enum class DragMode { Manual = 0, Automatic = 1 };
enum class BackStyle { Transparent = 0, Opaque = 1 };
enum class Alignment { Left = 0, Right = 1, Center = 2 };
enum class ButtonStyle { Standard = 0, Graphical = 1 };
enum class FillStyle { Solid = 0, Transparent = 1 };

// One control row. A property left unset takes its class default when the
// form is built. For a Line, Left/Top/Width/Height hold X1/Y1/X2/Y2.
struct ControlDescription {
    ControlClass controlClass{ControlClass::Image};
    std::string name;
    int left{}, top{}, width{}, height{};

    std::optional<std::string> picture;  // asset name
    std::optional<bool> visible;
    std::optional<DragMode> dragMode;
    std::optional<std::string> toolTipText;
    std::optional<std::string> caption;
    std::optional<BgrColor> foreColor;
    std::optional<BgrColor> backColor;
    std::optional<BackStyle> backStyle;
    std::optional<Alignment> alignment;
    std::optional<FontSpec> font;
    std::optional<int> tabIndex;
    std::optional<ButtonStyle> style;
    std::optional<BgrColor> borderColor;
    std::optional<int> borderWidth;
    std::optional<BgrColor> fillColor;
    std::optional<FillStyle> fillStyle;

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
        d.dragMode = DragMode::Automatic;
        return d;
    }
    ControlDescription withToolTip(std::string text) const
    {
        auto d = *this;
        d.toolTipText = std::move(text);
        return d;
    }
    ControlDescription withCaption(std::string text) const
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
    ControlDescription withBackStyle(BackStyle s) const
    {
        auto d = *this;
        d.backStyle = s;
        return d;
    }
    ControlDescription transparent() const { return withBackStyle(BackStyle::Transparent); }
    ControlDescription opaque() const { return withBackStyle(BackStyle::Opaque); }
    ControlDescription centred() const
    {
        auto d = *this;
        d.alignment = Alignment::Center;
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
        d.style = ButtonStyle::Graphical;
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
    ControlDescription withFillStyle(FillStyle s) const
    {
        auto d = *this;
        d.fillStyle = s;
        return d;
    }
    ControlDescription solidFill(BgrColor c) const { return withFillColor(c).withFillStyle(FillStyle::Solid); }
};

// Row constructors, positions in twips.
ControlDescription imageRow(std::string name, int left, int top, int width, int height);
ControlDescription labelRow(std::string name, int left, int top, int width, int height);
ControlDescription buttonRow(std::string name, int left, int top, int width, int height);
ControlDescription shapeRow(std::string name, int left, int top, int width, int height);
ControlDescription lineRow(std::string name, int x1, int y1, int x2, int y2);
// The single item of a form's menu bar; a form has a menu bar exactly when it has such a row.
ControlDescription menuRow(std::string name, std::string caption);

struct FormDescription {
    std::string name{};     // the form class: "Start", "Puzzel1", ...
    std::string caption{};  // window title, character for character
    int clientWidth{};      // twips
    int clientHeight{};     // twips
    std::string icon = "window_icon";
    std::optional<std::string> background{};  // picture drawn at the top-left corner
    std::vector<ControlDescription> rows{};
};

// The two client sizes of the program's forms.
inline constexpr int ClientWidth = 15315;
inline constexpr int ClientHeight = 10095;
inline constexpr int ClientHeightWithMenu = 9795;

}  // namespace tuvrel
