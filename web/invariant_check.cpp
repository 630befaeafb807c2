// The page's program with its invariants checked, for the browser's random
// run (tests/web/random.test.mjs): the same program as web/page_app.cpp, with
// one more export that tells what is broken, and never part of the site.
// It is built from the page's own unit, so that the checks see the page's
// layers and arbiter as they are, through nothing the shipped program
// carries.
#include "web/page_app.cpp"  // NOLINT(bugprone-suspicious-include): the page's program, checked

#include "tests/support/invariants.h"

#include <algorithm>

// clang-format off
// The page's script finds the check as window.tuvrelBrokenInvariants().
EM_JS(void, tuvrel_js_expose_checks, (), {
    window.tuvrelBrokenInvariants = () => JSON.parse(UTF8ToString(Module._tuvrel_broken_invariants()));
});
// clang-format on

namespace tuvrel::web {

namespace {

std::string jsonText(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out + '"';
}

bool contains(const std::vector<Form*>& forms, const Form* form)
{
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

// What holds on the page between two events, whatever was played: the layers
// are exactly the loaded forms, Start among them while the program runs; one
// pointer at most plays, on a loaded layer, and no other form holds a press
// or drag; every form keeps the rules of every form and its game's
// invariants; an ended program ended by knopStop, not by a runtime failure.
std::vector<std::string> brokenOnPage(Page& page, const std::vector<test::InvariantSet>& sets)
{
    using test::says;
    std::vector<std::string> broken;
    FormRegistry& registry = page.registry();
    const std::vector<Form*> loaded = registry.loadedForms();
    const std::vector<Form*>& layers = page.layers();

    if (registry.ended()) {
        if (registry.exitCode() != 0)
            broken.push_back(says("the program stopped on a runtime failure (exit code ", registry.exitCode(), ")"));
        if (!loaded.empty() || !layers.empty())
            broken.push_back(
                says("the program ended with ", loaded.size(), " forms loaded and ", layers.size(), " layers"));
        return broken;
    }

    for (size_t i = 0; i < layers.size(); ++i) {
        if (!contains(loaded, layers[i]))
            broken.push_back(says("layer ", i, " is a form that is not loaded"));
        else if (std::find(layers.begin(), layers.begin() + std::ptrdiff_t(i), layers[i]) !=
                 layers.begin() + std::ptrdiff_t(i))
            broken.push_back(says(layers[i]->name(), " is a layer twice"));
    }
    for (const Form* f : loaded)
        if (!contains(layers, f))
            broken.push_back(says(f->name(), " is loaded but no layer"));
    if (!page.front())
        broken.push_back("the program runs with no form in front");
    const Form* start = registry.existing("Start");
    if (!start || !start->isLoaded())
        broken.push_back("Start is not loaded while the program runs");

    const PointerArbiter& pointers = registry.pointers();
    const Form* held = pointers.heldForm();
    if (pointers.holds() && held && !contains(loaded, held))
        broken.push_back("the pointer that plays holds a form that is not loaded");
    if (pointers.fingerHolds() && !pointers.holds())
        broken.push_back("a finger holds while no pointer plays");

    int drags = 0;
    for (const Form* f : loaded) {
        drags += f->drag() ? 1 : 0;
        // A picture carried by taps keeps its form's drag with no pointer down.
        const bool pointerHere = (pointers.holds() && held == f) || pointers.carriedForm() == f;
        for (std::string& why : test::brokenFormRules(*f, pointerHere))
            broken.push_back(std::move(why));
        for (const test::InvariantSet& set : sets) {
            try {
                for (std::string& why : test::brokenInvariants(set, *f))
                    broken.push_back(std::move(why));
            } catch (const std::exception& e) {
                broken.push_back(says("an invariant of ", f->name(), " failed to read the form: ", e.what()));
            }
        }
    }
    if (drags > 1)
        broken.push_back(says(drags, " forms are dragging at once"));
    return broken;
}

struct ExposeChecks {
    ExposeChecks() { tuvrel_js_expose_checks(); }
} exposeChecks;

}  // namespace

}  // namespace tuvrel::web

extern "C" {

// JSON: a list of what is broken on the page now, empty when every invariant
// holds.
EMSCRIPTEN_KEEPALIVE const char* tuvrel_broken_invariants()
{
    static const std::vector<test::InvariantSet> sets = test::familyInvariants();
    const std::vector<std::string> broken = brokenOnPage(page(), sets);
    returned = "[";
    for (const std::string& why : broken) {
        if (returned.size() > 1)
            returned += ',';
        returned += jsonText(why);
    }
    returned += ']';
    return returned.c_str();
}

}  // extern "C"
