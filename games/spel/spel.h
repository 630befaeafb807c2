#pragma once
// Rows or groups of four: two children drag Sint's mitre and Piet's head onto
// the cells of a 4 x 4 board, eight tokens each. Every row, column, diagonal
// or 2 x 2 square that fills with one player's tokens lights up in that
// player's colour.
#include "runtime/colors.h"
#include "runtime/form_class.h"

#include <array>

namespace tuvrel {

namespace spel {

// Cells are numbered 1 to 16 row by row from the top left.
using Group = std::array<int, 4>;

inline constexpr std::array<Group, 19> Groups{{
    // rows
    {1, 2, 3, 4},
    {5, 6, 7, 8},
    {9, 10, 11, 12},
    {13, 14, 15, 16},
    // columns
    {1, 5, 9, 13},
    {2, 6, 10, 14},
    {3, 7, 11, 15},
    {4, 8, 12, 16},
    // falling and rising diagonal
    {1, 6, 11, 16},
    {4, 7, 10, 13},
    // 2 x 2 squares
    {1, 2, 5, 6},
    {2, 3, 6, 7},
    {3, 4, 7, 8},
    {5, 6, 9, 10},
    {6, 7, 10, 11},
    {7, 8, 11, 12},
    {9, 10, 13, 14},
    {10, 11, 14, 15},
    {11, 12, 15, 16},
}};

// The groups through one cell, as indexes into Groups; a centre cell lies in seven.
struct CellGroups {
    std::array<int, 7> group{};
    int count = 0;
    const int* begin() const { return group.data(); }
    const int* end() const { return group.data() + count; }
};

constexpr std::array<CellGroups, 16> deriveGroupsThrough()
{
    std::array<CellGroups, 16> through{};
    for (int g = 0; g < int(Groups.size()); ++g)
        for (int cell : Groups[size_t(g)]) {
            CellGroups& c = through[size_t(cell - 1)];
            c.group[size_t(c.count++)] = g;
        }
    return through;
}

// GroupsThrough[n - 1]: the groups that contain cell n.
inline constexpr std::array<CellGroups, 16> GroupsThrough = deriveGroupsThrough();

inline constexpr BgrColor White = 0x00FFFFFF;
inline constexpr BgrColor SintColour = 0x0080C0FF;  // light orange
inline constexpr BgrColor PietColour = 0x0080FFFF;  // light yellow

}  // namespace spel

// The form Spel with its handlers, bound onto its description: a drop on a free cell places the token and
// counts it, the counters stop a player at eight, "opnieuw" clears the board
// in place, Help explains the game and the door leads back to the start.
FormClass spelClass(FormDescription description);

}  // namespace tuvrel
