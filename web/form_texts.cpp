// What the site's build needs to know of the program's forms, as JSON. Built
// with emscripten and run under node by web/make_site.py.
//
// Without arguments: every text the forms show, from their descriptions, a
// list of {"where": "Form.Control", "text": ...} (the form's caption as
// "Form"). The build subsets the bundled fonts to these characters and fails
// when a subset lacks one of them.
//
// With --start: what the page shows first, as the program starts it (Start
// shown in a fresh registry): {"form": name, "width", "height" (its client
// size), "shown" (the pictures the loaded forms show, as the page's
// tuvrel_pictures(0)), "catalog" (every picture, as tuvrel_pictures(1)),
// "strip" (the colour of the strips beside a form, #rrggbb)}. The page
// fetches these pictures while its WebAssembly loads; the build writes the
// strips' colour into the page's files.
#include "menu/form_catalog.h"
#include "runtime/colors.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "web/state_json.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += ch;  // UTF-8 as it is
        }
    }
    return out + "\"";
}

// A colour as CSS writes it: #rrggbb.
std::string cssColour(tuvrel::Rgb colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(colour.red), unsigned(colour.green),
                  unsigned(colour.blue));
    return text;
}

std::string startJson()
{
    tuvrel::FormRegistry registry;
    tuvrel::registerProgramForms(registry);
    registry.show("Start");
    const tuvrel::Form& start = registry.form("Start");
    return "{\"form\":" + quoted(start.name()) + ",\"width\":" + std::to_string(start.clientSize().width) +
           ",\"height\":" + std::to_string(start.clientSize().height) +
           ",\"shown\":" + tuvrel::web::picturesShownJson(registry) + ",\"catalog\":" + tuvrel::web::catalogJson() +
           ",\"strip\":" + quoted(cssColour(tuvrel::colours::Strip)) + "}";
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc > 1 && std::string(argv[1]) == "--start") {
            std::printf("%s\n", startJson().c_str());
            return 0;
        }
        tuvrel::FormRegistry registry;
        tuvrel::registerProgramForms(registry);
        std::string out = "[";
        auto add = [&](const std::string& where, const std::string& text) {
            out += (out.size() > 1 ? ",\n" : "\n") + std::string("{\"where\":") + quoted(where) +
                   ",\"text\":" + quoted(text) + "}";
        };
        for (const std::string& name : registry.formNames()) {
            const tuvrel::FormDescription& form = registry.form(name).description();
            add(name, form.caption);
            for (const tuvrel::ControlDescription& row : form.rows) {
                if (row.caption)
                    add(name + "." + row.name, *row.caption);
                if (row.toolTipText)
                    add(name + "." + row.name + " (tool tip)", *row.toolTipText);
            }
        }
        std::printf("%s\n]\n", out.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "form_texts: %s\n", e.what());
        return 1;
    }
}
