#include "forms/descriptions.h"

#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <array>
#include <string>
#include <utility>

namespace tuvrel::forms {

FormDescription describe(std::string_view formName)
{
    using Describe = FormDescription (*)();
    static constexpr std::array<std::pair<std::string_view, Describe>, 20> all{{
        {"Start", Start},
        {"Pietkleden", Pietkleden},
        {"Plaatjeindezak1", Plaatjeindezak1},
        {"Plaatjeindezak2", Plaatjeindezak2},
        {"Vormen1", Vormen1},
        {"Vormen2", Vormen2},
        {"Puzzel1", Puzzel1},
        {"Puzzel2", Puzzel2},
        {"Puzzel3", Puzzel3},
        {"Puzzel4", Puzzel4},
        {"Puzzel5", Puzzel5},
        {"Puzzel6", Puzzel6},
        {"Tellen1", Tellen1},
        {"Tellen3", Tellen3},
        {"Sudoku1", Sudoku1},
        {"Sudoku2", Sudoku2},
        {"Sudoku3", Sudoku3},
        {"Sudoku4", Sudoku4},
        {"Sudoku5", Sudoku5},
        {"Spel", Spel},
    }};
    for (const auto& [name, describeForm] : all)
        if (equalsIgnoringCase(name, formName))
            return describeForm();
    throw RuntimeError("there is no form " + std::string(formName));
}

}  // namespace tuvrel::forms
