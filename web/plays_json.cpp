// What the browser's tests play, as JSON: {"forms": every form of the program
// as the registry knows them, "plays": the plays of tests/support/plays.txt as
// the desktop's tests read them, [{"form", "moves": "click:A;drag:B>C",
// "steps": [{"source", "target"}]}] (the target empty for a click)}. Built with
// emscripten and run under node by the site's test build; a play file the
// parser refuses stops the build with its line.
#include "menu/form_catalog.h"
#include "runtime/form_registry.h"
#include "tests/support/play_moves.h"
#include "web/state_json.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

int main()
{
    using namespace tuvrel;
    try {
        FormRegistry registry;
        registerProgramForms(registry);
        std::string forms;
        for (const std::string& name : registry.formNames())
            forms += (forms.empty() ? "\"" : ",\"") + name + "\"";
        std::string out;
        for (const auto& [form, moves] : test::parsePlays(test::playsText())) {
            std::vector<std::pair<std::string, std::string>> steps;
            std::string text;
            for (const test::Move& m : moves) {
                steps.emplace_back(m.source, m.target);
                text += (text.empty() ? "" : ";") +
                        (m.isClick() ? "click:" + m.source : "drag:" + m.source + ">" + m.target);
            }
            out += std::string(out.empty() ? "" : ",") + "{\"form\":\"" + form + "\",\"moves\":\"" + text +
                   "\",\"steps\":" + web::movesJson(steps) + "}";
        }
        std::puts(("{\"forms\":[" + forms + "],\"plays\":[" + out + "]}").c_str());
        return 0;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "tests/support/plays.txt, %s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plays_json: %s\n", e.what());
        return 1;
    }
}
