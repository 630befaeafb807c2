// Every text the program's forms show, from their descriptions, as JSON: a
// list of {"where": "Form.Control", "text": ...} (the form's caption as
// "Form"). The site's build subsets the bundled fonts to these characters and
// fails when a subset lacks one of them (web/make_site.py). Built with
// emscripten and run under node.
#include "forms/descriptions.h"
#include "menu/form_catalog.h"
#include "runtime/form_registry.h"

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

}  // namespace

int main()
{
    try {
        tuvrel::FormRegistry registry;
        tuvrel::registerProgramForms(registry);
        std::string out = "[";
        auto add = [&](const std::string& where, const std::string& text) {
            out += (out.size() > 1 ? ",\n" : "\n") + std::string("{\"where\":") + quoted(where) +
                   ",\"text\":" + quoted(text) + "}";
        };
        for (const std::string& name : registry.formNames()) {
            const tuvrel::FormDescription form = tuvrel::forms::describe(name);
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
