#pragma once
// The random player: a child pressing everything, in every order. One sequence
// is a fresh program, started at its first form, played with real mouse, key
// and window-close events, or fingers on a touch screen, chosen from a seed
// until the program ends or the sequence is long enough. After every event it checks the invariants of every
// game family on every loaded form, and its own rules of the runtime: windows
// exactly for the loaded forms, nothing pressed or dragged once the button is
// up and no finger holds, one pointer at a time (a second finger and the mouse
// during a finger's press are nothing), a form that received nothing unchanged, a rebuilt form as fresh as its
// description, Show bringing its form to the front. The same seed plays the
// same events, so a failure is replayed from its seed.
#include "tests/support/form_driver.h"
#include "tests/support/invariants.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tuvrel::monkey {

struct MonkeyOptions {
    std::vector<test::InvariantSet> invariantSets;
    // A fresh program for each sequence; by default every form of Tuvrel.
    std::function<std::unique_ptr<test::Program>()> makeProgram;
    // The form each sequence starts at. Empty: drawn for each sequence, three
    // quarters of them evenly over the games (with the program's first form
    // shown behind), so that the last form of a family gets its share of the
    // events, the rest at the program's first form.
    std::string firstForm;
    // The button that ends the program (form, control); pressing it must end it.
    std::pair<std::string, std::string> endButton{"Start", "knopStop"};
    // Forms that have no state of their own: they always look as described.
    std::vector<std::string> unchangingForms{"Start"};
    int length = 2000;   // events of one sequence at most
    bool trace = false;  // print every event as it is sent
    // The share of the sequences played on a touch screen: taps and finger
    // drags where a finger can reach the window, a second finger now and
    // then, the system taking the touches away, the mouse meanwhile.
    double touchShare = 0.3;
};

struct Failure {
    std::uint64_t seed = 0;
    int event = 0;  // 1 for the first event of the sequence; 0 for the start
    QString message;
    QStringList events;     // the events sent up to and including the failing one
    std::string firstForm;  // the form the sequence was told to start at; empty when drawn from its seed
};

struct SequenceResult {
    std::uint64_t seed = 0;
    int events = 0;
    QString ending;  // how the sequence ended
    std::optional<Failure> failure;
    QStringList log;                     // every event sent, as replayed
    int handled = 0;                     // events that ran a handler: clicks, drops, menu items
    std::map<std::string, int> perForm;  // events received, by form
    std::string firstForm;               // the form the sequence started at
    bool byTouch = false;                // played on the touch screen
};

class Monkey {
public:
    explicit Monkey(MonkeyOptions options);
    ~Monkey();
    Monkey(const Monkey&) = delete;
    Monkey& operator=(const Monkey&) = delete;

    SequenceResult play(std::uint64_t seed);
    // firstForm, when given, is where the sequence starts instead of the
    // options' form or one drawn from its own seed; a replay must give it again.
    SequenceResult play(std::uint64_t seed, int length, std::string_view firstForm = {});

    struct Fresh;  // every form as freshly built from its description

private:
    MonkeyOptions options_;
    std::unique_ptr<Fresh> fresh_;
};

// The invariant sets of every game family of the program.
using test::familyInvariants;

// On a crash, an abort or a sanitizer report, print its seed and the event
// being played and the command that replays them, before the process dies.
void reportSeedOnCrash(const char* program);

// A failure as printed: its seed, the event, what broke, the last events and
// the command that replays it.
QString report(const Failure& failure, const QString& program, int lastEvents = 40);

}  // namespace tuvrel::monkey
