#pragma once
// One play of each game family: a few moves that change what its form shows,
// played by either hand, the mouse or a finger, so that what one play leaves
// behind can be compared across window sizes and hands. The moves are the
// data file tests/support/plays.txt, which the browser's tests play too.
#include "tests/support/form_driver.h"
#include "tests/support/play_moves.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tuvrel::test {

// How a child clicks and drags: with the mouse or with one finger.
struct Hand {
    const char* name;
    void (*click)(Form& form, std::string_view control);
    void (*drag)(Form& form, std::string_view source, std::string_view target);
};
extern const Hand mouseHand;
extern const Hand fingerHand;
// The same moves made on the form itself, in its own pixels, with no window
// in between: what a play does, whatever the screen, the window or the hand.
extern const Hand formHand;

struct Play {
    const char* form;
    std::function<void(Form&, const Hand&)> moves;
};

// The plays of tests/support/plays.txt, as built into the tests.
const std::vector<Play>& plays();
const Play& play(std::string_view form);

}  // namespace tuvrel::test
