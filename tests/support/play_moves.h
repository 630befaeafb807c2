#pragma once
// The moves of a play, as tests/support/plays.txt writes them: "Form: move;
// move" lines, a move being click:Control or drag:Source>Target. One parser
// in standard C++ on no toolkit, for the desktop's tests and for the page's
// test build (the browser's tests ask it through the page and through
// plays_json under node).
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tuvrel::test {

// One move of a play: a click on a control (target empty) or a drag from a
// source onto a target.
struct Move {
    std::string source;
    std::string target;
    bool isClick() const { return target.empty(); }
    bool operator==(const Move&) const = default;
};

// "click:A; drag:B>C" as moves; what is not such a list is an error
// (std::invalid_argument) naming the move.
std::vector<Move> parseMoves(std::string_view moves);

// A play file's text as plays: "Form: click:Control; drag:Source>Target"
// lines, # comments and blank lines. What is not such a line is an error
// naming its line (std::invalid_argument).
std::vector<std::pair<std::string, std::vector<Move>>> parsePlays(std::string_view text);

// The text of tests/support/plays.txt, as built in.
std::string_view playsText();

}  // namespace tuvrel::test
