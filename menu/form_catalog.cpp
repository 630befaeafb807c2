#include "menu/form_catalog.h"

#include "games/pietkleden/pietkleden.h"
#include "games/plaatjeindezak/plaatjeindezak.h"
#include "games/puzzel/puzzel.h"
#include "games/spel/spel.h"
#include "games/sudoku/sudoku.h"
#include "games/tellen/tellen.h"
#include "games/vormen/vormen.h"
#include "menu/start_menu.h"

#include <vector>

namespace tuvrel {

namespace {
const std::vector<FormClass>& programForms()
{
    static const std::vector<FormClass> classes = [] {
        std::vector<FormClass> all;
        all.push_back(startMenuClass());
        all.push_back(pietkledenClass());
        for (int level = 1; level <= 2; ++level)
            all.push_back(plaatjeindezakClass(level));
        for (int n = 1; n <= 6; ++n)
            all.push_back(puzzelClass(n));
        all.push_back(spelClass());
        for (int n = 1; n <= 5; ++n)
            all.push_back(sudokuClass(n));
        all.push_back(tellen1Class());
        all.push_back(tellen3Class());
        for (int level = 1; level <= 2; ++level)
            all.push_back(vormenClass(level));
        return all;
    }();
    return classes;
}
}  // namespace

void registerProgramForms(FormRegistry& registry)
{
    for (const FormClass& formClass : programForms())
        registry.addFormClass(formClass);
}

}  // namespace tuvrel
