#include "forms/navigation_rows.h"

#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace tuvrel {

namespace {
using K = NavigationKind;
}

const std::vector<NavigationButton>& navigationButtons()
{
    static const std::vector<NavigationButton> table{
        {"Pietkleden", K::BackToStart, "knopTerug", 1},

        // The three forms with a menu bar have a client area 300 twips lower; their door sits higher.
        {"Plaatjeindezak1", K::BackToStart, "knopTerug", 1, nullptr, 480, 8520},
        {"Plaatjeindezak1", K::Next, "knopVerder", 2, "Plaatjeindezak2"},
        {"Plaatjeindezak1", K::Restart, "knopOpnieuw", 4, nullptr, 6600, 8760},
        {"Plaatjeindezak2", K::BackToStart, "knopTerug", 1, nullptr, 480, 8520},
        {"Plaatjeindezak2", K::Previous, "Command4", 2, "Plaatjeindezak1"},
        // Like every other "nog een keer" button it restarts its form.
        {"Plaatjeindezak2", K::Restart, "knopOpnieuw", 4, nullptr, 6600, 8760},

        {"Vormen1", K::BackToStart, "knopTerug", 0},
        {"Vormen1", K::Next, "knopVerder", 1, "Vormen2"},
        {"Vormen1", K::Restart, "knopOpnieuw", 4, nullptr, 6600, 9120},
        {"Vormen2", K::BackToStart, "knopTerug", 0},
        {"Vormen2", K::Previous, "Command4", 1, "Vormen1"},
        {"Vormen2", K::Restart, "knopOpnieuw", 4, nullptr, 6600, 9120},

        {"Puzzel1", K::BackToStart, "Command1", 1},
        {"Puzzel1", K::Next, "knopRechts", 0, "Puzzel2"},
        {"Puzzel1", K::Restart, "knopOpnieuw", 2, nullptr, 6360, 9120},
        {"Puzzel2", K::BackToStart, "Command1", 2},
        {"Puzzel2", K::Previous, "Command4", 1, "Puzzel1"},
        {"Puzzel2", K::Next, "knopRechts", 0, "Puzzel3"},
        {"Puzzel2", K::Restart, "knopOpnieuw", 3, nullptr, 6360, 9120},
        {"Puzzel3", K::BackToStart, "Command1", 2},
        {"Puzzel3", K::Previous, "knopLinks", 1, "Puzzel2"},
        {"Puzzel3", K::Next, "knopRechts", 0, "Puzzel4"},
        {"Puzzel3", K::Restart, "knopOpnieuw", 3, nullptr, 6360, 9120},
        {"Puzzel4", K::BackToStart, "knopTerug", 1},
        {"Puzzel4", K::Previous, "knopLinks", 0, "Puzzel3"},
        {"Puzzel4", K::Next, "knopRechts", 2, "Puzzel5"},
        {"Puzzel4", K::Restart, "knopOpnieuw", 3, nullptr, 6360, 9120},
        {"Puzzel5", K::BackToStart, "knopTerug", 1},
        {"Puzzel5", K::Previous, "knopLinks", 0, "Puzzel4"},
        {"Puzzel5", K::Next, "knopRechts", 2, "Puzzel6"},
        {"Puzzel5", K::Restart, "knopOpnieuw", 3, nullptr, 6360, 9120},
        {"Puzzel6", K::BackToStart, "knopTerug", 0},
        {"Puzzel6", K::Previous, "knopVorige", 1, "Puzzel5"},
        {"Puzzel6", K::Restart, "knopOpnieuw", 2, nullptr, 6360, 9120},

        {"Tellen1", K::BackToStart, "knopTerug", 6},
        {"Tellen1", K::Next, "knopVerder", 0, "Tellen3"},
        {"Tellen1", K::Restart, "knopOpnieuw", 9, nullptr, 6600, 9120},
        {"Tellen3", K::BackToStart, "knopTerug", 12},
        {"Tellen3", K::Previous, "knopVorige", 13, "Tellen1"},
        {"Tellen3", K::Restart, "knopOpnieuw", 14, nullptr, 6600, 9120},

        {"Sudoku1", K::BackToStart, "knopTerug", 2},
        {"Sudoku1", K::Next, "knopVerder", 1, "Sudoku2"},
        {"Sudoku1", K::Restart, "knopSmile", 3},
        {"Sudoku2", K::BackToStart, "knopTerug", 6},
        {"Sudoku2", K::Previous, "Command4", 2, "Sudoku1"},
        {"Sudoku2", K::Next, "knopVerder", 1, "Sudoku3"},
        {"Sudoku2", K::Restart, "knopSmile", 3},
        {"Sudoku3", K::BackToStart, "knopTerug", 7},
        {"Sudoku3", K::Previous, "Command4", 2, "Sudoku2"},
        {"Sudoku3", K::Next, "knopVerder", 1, "Sudoku4"},
        {"Sudoku3", K::Restart, "knopSmile", 3},
        {"Sudoku4", K::BackToStart, "knopTerug", 4},
        {"Sudoku4", K::Previous, "knopVorige", 2, "Sudoku3"},
        {"Sudoku4", K::Next, "knopVerder", 1, "Sudoku5"},
        {"Sudoku4", K::Restart, "knopSmile", 3},
        {"Sudoku5", K::BackToStart, "knopTerug", 3},
        {"Sudoku5", K::Previous, "knopVorige", 1, "Sudoku4"},
        {"Sudoku5", K::Restart, "knopSmile", 2},

        {"Spel", K::BackToStart, "knopTerug", 1, nullptr, 480, 8520},
        {"Spel", K::ResetInPlace, "knopOpnieuw", 0, nullptr, 6600, 8520},
    };
    return table;
}

const NavigationButton* findNavigationButton(std::string_view form, std::string_view name)
{
    for (const NavigationButton& b : navigationButtons())
        if (equalsIgnoringCase(form, b.form) && equalsIgnoringCase(name, b.name))
            return &b;
    return nullptr;
}

ControlDescription navigationRow(std::string_view form, std::string_view name)
{
    const NavigationButton* b = findNavigationButton(form, name);
    if (!b)
        throw RuntimeError("form " + std::string(form) + " has no navigation button " + std::string(name));
    const std::string n = std::string(b->name);
    switch (b->kind) {
    case K::BackToStart:
        // The door stands at the bottom left, where the table gives no other place.
        return buttonRow(n, 480, b->top ? b->top : 8880, 1095, 735)
            .graphical()
            .withPicture("door")
            .withTabIndex(b->tabIndex);
    case K::Previous:
        return buttonRow(n, 480, 480, 855, 855).graphical().withPicture("previous_arrow").withTabIndex(b->tabIndex);
    case K::Next:
        return buttonRow(n, 13920, 480, 855, 855).graphical().withPicture("next_arrow").withTabIndex(b->tabIndex);
    case K::Restart:
        if (!b->left)
            break;
        return buttonRow(n, b->left, b->top, 2655, 495)
            .withCaption("nog een keer")
            .withFont(fonts::arial(12))
            .withTabIndex(b->tabIndex);
    case K::ResetInPlace:
        return buttonRow(n, b->left, b->top, 1935, 495)
            .withCaption("opnieuw")
            .withFont(fonts::msSansSerif(13.5))
            .withTabIndex(b->tabIndex);
    }
    throw RuntimeError("the button " + std::string(name) + " of " + std::string(form) +
                       " is described by its own form");
}

}  // namespace tuvrel
