#include "web/state_json.h"

#include "assets/picture_catalog.h"
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/pointer_input.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace tuvrel::web {

namespace {

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

const char* extensionOf(PictureFormat format)
{
    switch (format) {
    case PictureFormat::Gif: return "gif";
    case PictureFormat::Jpeg: return "jpg";
    case PictureFormat::Icon: return "ico";
    }
    return "gif";
}

// Every picture a loaded form holds: background, icon and every control's.
template <class F>
void forEachPicture(const Form& form, F&& f)
{
    f(form.background());
    for (const auto& c : form.controls()) {
        if (c->controlClass() == ControlClass::Image)
            f(static_cast<const Image&>(*c).picture());
        else if (c->controlClass() == ControlClass::CommandButton)
            f(static_cast<const CommandButton&>(*c).picture());
    }
}

class PictureNames {
public:
    std::string name(const Picture& p)
    {
        if (p.isEmpty())
            return "";
        auto [it, added] = numbers_.try_emplace(p.identity(), int(numbers_.size()) + 1);
        return std::string(p.assetName()) + "#" + std::to_string(it->second);
    }

private:
    std::map<std::uint64_t, int> numbers_;
};

// Built by appending, not with a string stream: iostreams would bring the
// locale machinery into the page's program (about 50 KB of WebAssembly).
std::string controlJson(const Control& c, PictureNames& pictures)
{
    const auto flag = [](bool on) { return on ? "true" : "false"; };
    const Rect r = c.pixelRect();
    std::string out = "{\"name\":" + quoted(c.name()) + ",\"visible\":" + flag(c.visible()) +
                      ",\"enabled\":" + flag(c.enabled()) + ",\"x\":" + std::to_string(r.left()) +
                      ",\"y\":" + std::to_string(r.top()) + ",\"w\":" + std::to_string(r.width()) +
                      ",\"h\":" + std::to_string(r.height());
    switch (c.controlClass()) {
    case ControlClass::Image:
        out += ",\"class\":\"Image\",\"picture\":" + quoted(pictures.name(static_cast<const Image&>(c).picture()));
        break;
    case ControlClass::Label:
        out += ",\"class\":\"Label\",\"caption\":" + quoted(static_cast<const Label&>(c).caption());
        break;
    case ControlClass::CommandButton: {
        const auto& b = static_cast<const CommandButton&>(c);
        out += ",\"class\":\"CommandButton\",\"caption\":" + quoted(b.caption()) +
               ",\"picture\":" + quoted(pictures.name(b.picture()));
        break;
    }
    case ControlClass::Shape:
        out += ",\"class\":\"Shape\",\"fill\":" + std::to_string(static_cast<const Shape&>(c).fillColor());
        break;
    case ControlClass::Line: out += ",\"class\":\"Line\""; break;
    case ControlClass::Menu: out += ",\"class\":\"Menu\""; break;
    }
    return out + "}";
}

std::string formsJson(const FormRegistry& registry)
{
    PictureNames pictures;
    std::string out = "[";
    bool firstForm = true;
    for (const Form* f : registry.loadedForms()) {
        if (!firstForm)
            out += ",";
        firstForm = false;
        out += "{\"name\":" + quoted(f->name()) + ",\"caption\":" + quoted(f->description().caption) +
               ",\"width\":" + std::to_string(f->clientSize().width) +
               ",\"height\":" + std::to_string(f->clientSize().height) +
               ",\"dragging\":" + (f->drag() ? "true" : "false") +
               ",\"pressed\":" + quoted(f->pressedButton() ? f->pressedButton()->name() : "") +
               ",\"background\":" + quoted(pictures.name(f->background())) + ",\"controls\":[";
        bool first = true;
        for (const auto& c : f->controls()) {
            if (!first)
                out += ",";
            first = false;
            out += controlJson(*c, pictures);
        }
        out += "]}";
    }
    return out + "]";
}

Point centreOf(const Form& form, const std::string& name)
{
    const Control* c = form.find(name);
    if (!c)
        throw RuntimeError("the play names no control " + name + " of " + form.name());
    return c->pixelRect().center();
}

// How far each rendering of a picture reaches (renderingReach), its own
// pixels first: [[width, height], ...] in device pixels. The page draws a
// target from the first rendering that reaches it, as the core chooses.
std::string reachJson(const PictureAsset& a)
{
    std::string out = "[[" + std::to_string(renderingReach(a.width, 1)) + "," +
                      std::to_string(renderingReach(a.height, 1)) + "]";
    for (const int k : pictureScales())
        out += ",[" + std::to_string(renderingReach(a.width, k)) + "," + std::to_string(renderingReach(a.height, k)) +
               "]";
    return out + "]";
}

}  // namespace

std::string catalogJson()
{
    std::string out = "{\"scales\":[";
    bool first = true;
    for (const int k : pictureScales()) {
        out += (first ? "" : ",") + std::to_string(k);
        first = false;
    }
    out += "],\"pictures\":[";
    first = true;
    for (const PictureAsset& a : pictureCatalog()) {
        out += first ? "" : ",";
        first = false;
        out += "{\"name\":" + quoted(a.name) + ",\"w\":" + std::to_string(a.width) +
               ",\"h\":" + std::to_string(a.height) + ",\"e\":\"" + extensionOf(a.format) + "\",\"k\":\"" +
               (a.format == PictureFormat::Jpeg ? "jpg" : "png") + "\",\"r\":" + reachJson(a) + "}";
    }
    return out + "]}";
}

std::string picturesShownJson(const FormRegistry& registry)
{
    std::set<std::string_view> names;
    for (const Form* f : registry.loadedForms())
        forEachPicture(*f, [&](const Picture& p) {
            if (!p.isEmpty())
                names.insert(p.assetName());
        });
    std::string out = "[";
    for (const std::string_view name : names)
        out += (out.size() > 1 ? "," : "") + quoted(name);
    return out + "]";
}

std::string stateJson(const FormRegistry& registry, const std::vector<std::string>& layers, const FormTransform& front,
                      bool busy)
{
    std::string out = "{\"ended\":" + std::string(registry.ended() ? "true" : "false") +
                      ",\"holds\":" + (registry.pointers().holds() ? "true" : "false") +
                      ",\"carrying\":" + (registry.pointers().carrying() ? "true" : "false") +
                      ",\"busy\":" + (busy ? "true" : "false") + ",\"layers\":[";
    for (size_t i = 0; i < layers.size(); ++i)
        out += (i ? "," : "") + quoted(layers[i]);
    out += "],\"transform\":{\"scale\":" + std::to_string(front.scale()) +
           ",\"x\":" + std::to_string(front.offset().x) + ",\"y\":" + std::to_string(front.offset().y) + "}";
    return out + ",\"forms\":" + formsJson(registry) + "}";
}

std::string corePlayJson(const std::string& formName, const std::vector<std::pair<std::string, std::string>>& moves)
{
    try {
        FormRegistry registry;
        registerProgramForms(registry);
        registry.show("Start");
        if (formName != "Start")
            registry.show(formName);
        Form& form = registry.form(formName);
        for (const auto& [source, target] : moves) {
            if (!form.isLoaded())
                break;
            const Point from = centreOf(form, source);
            const Point to = target.empty() ? from : centreOf(form, target);
            form.mousePress(from, MouseButton::Left);
            if (!target.empty())
                form.mouseMove(to);
            form.mouseRelease(to, MouseButton::Left);
            registry.eventDone();
        }
        return "{\"ended\":" + std::string(registry.ended() ? "true" : "false") + ",\"forms\":" + formsJson(registry) +
               "}";
    } catch (const std::exception& e) {
        return "{\"error\":" + quoted(e.what()) + "}";
    }
}

std::string textsJson(const std::vector<std::string>& texts)
{
    std::string out = "[";
    for (const std::string& text : texts)
        out += (out.size() > 1 ? "," : "") + quoted(text);
    return out + "]";
}

std::string labelLinesJson(const Form& form, TextMeasurer& measurer)
{
    // As many digits as tell a double exactly.
    const auto number = [](double v) {
        char digits[32];
        std::snprintf(digits, sizeof digits, "%.17g", v);
        return std::string(digits);
    };
    std::string out = "[";
    for (const auto& c : form.controls()) {
        if (c->controlClass() != ControlClass::Label)
            continue;
        const auto& label = static_cast<const Label&>(*c);
        const TextLayout layout = layOutText(label.caption(), label.font(), label.pixelRect(), label.alignment(),
                                             measurer);
        out += (out.size() > 1 ? ",{\"name\":" : "{\"name\":") + quoted(label.name()) + ",\"lines\":[";
        for (size_t i = 0; i < layout.lines.size(); ++i) {
            const TextLine& line = layout.lines[i];
            out += (i ? ",{\"text\":" : "{\"text\":") + quoted(line.text) + ",\"x\":" + number(line.x) +
                   ",\"top\":" + number(line.top) + ",\"baseline\":" + number(line.baseline) + "}";
        }
        out += "]}";
    }
    return out + "]";
}

std::string errorJson(const std::string& what)
{
    return "{\"error\":" + quoted(what) + "}";
}

std::string movesJson(const std::vector<std::pair<std::string, std::string>>& moves)
{
    std::string out = "[";
    for (const auto& [source, target] : moves)
        out += std::string(out.size() > 1 ? "," : "") + "{\"source\":" + quoted(source) +
               ",\"target\":" + quoted(target) + "}";
    return out + "]";
}

}  // namespace tuvrel::web
