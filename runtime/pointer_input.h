#pragma once
// One pointer plays at a time in the whole program, as with one mouse: the
// left mouse button held on a form, or the finger (or pen) that touched a
// form while nothing else was held. Every other finger, on any window, and
// the mouse while a finger holds, are nothing to the forms; a finger that
// touches while another holds does nothing even when the first lifts. A
// finger may wander a little from where it touched and still tap. Every front
// end feeds its platform's pointer events through one arbiter, in form pixels
// of the form under the pointer, so that these rules are written once.
//
// For a child who cannot yet hold a drag, a picture may also be carried by
// taps (setCarryByTaps): a tap on a picture that can be dragged picks it up
// (the form keeps its drag, outline and all), and the next tap drops it where
// that tap lands, as if it had been dragged there and let go.
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/geometry.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>

namespace tuvrel {

class FormRegistry;

// Runs one input event's work on a form as every front end must: nothing once
// the program has ended or the form was rebuilt since the event's window was
// made (`generation`); a failure inside a handler stops the program in order
// (FormRegistry::fail); afterwards the program ends if no form is loaded any
// more. The handler may unload the form: nothing of it is touched after.
template <class Action>
void runEvent(FormRegistry& registry, Form& form, std::uint64_t generation, Action&& action);

// Which pointer: the mouse, or one finger or pen of a touch device, known by
// its device and the number the platform gives it while it is down.
struct PointerId {
    enum class Kind { Mouse, Touch, Pen };
    Kind kind = Kind::Mouse;
    std::uintptr_t device = 0;  // compared, never used
    int id = 0;

    // A finger or pen may wander by the tap slack and still tap; the mouse not.
    bool wanders() const { return kind != Kind::Mouse; }
    friend bool operator==(const PointerId&, const PointerId&) = default;
};

// How far a finger may wander from where it touched and still tap: twice the
// distance at which the platform starts a drag, in the pixels the front end
// gives screen positions in. A platform that gives none (a web page, in CSS
// pixels) gets twice the usual desktop distance of 10 pixels.
inline constexpr double UsualDragDistance = 10;
double tapSlackFor(std::optional<double> platformDragDistance);

class PointerArbiter {
public:
    explicit PointerArbiter(FormRegistry& registry) : registry_(registry) {}

    // How far a finger may wander from where it touched and still tap
    // (tapSlackFor), in the pixels the front end gives screen positions in.
    void setTapSlack(double slack) { tapSlack_ = slack; }
    double tapSlack() const { return tapSlack_; }

    // A pointer went down on a form at a form point; `screen` is where on the
    // screen or page, for the tap slack. The first pointer down while nothing
    // holds plays and presses the form; any other does nothing. Returns
    // whether this pointer plays now.
    bool press(const PointerId& pointer, Form& form, Point at, PointF screen);
    // The pointer moved; `at` is in the pixels of the form it holds
    // (heldForm()). Only the pointer that plays moves anything.
    void move(const PointerId& pointer, Point at, PointF screen);
    // Where a pointer comes up on the held form, as the front end sees a
    // point of the screen now: the form pixel there, and whether the form is
    // what lies there (not outside its window, not under another window on
    // top of it: a drop there drops nothing).
    struct Landing {
        Point at;
        bool overForm = true;
    };
    using Place = std::function<Landing(PointF screen)>;
    // The pointer came up at `screen`. A tap that wandered within the slack
    // comes up where it went down on the screen, wherever the form lies there now.
    void release(const PointerId& pointer, PointF screen, const Place& place);
    // The system took the pointer away (a gesture of the desktop, a cancelled
    // touch): its press or drag ends with nothing dropped or clicked.
    void cancel(const PointerId& pointer);
    // The held form's window went (or was hidden): the pointer holds nothing
    // any more, and its later events are nothing.
    void forget();
    // A message box opens over the forms: a press or drag under way ends
    // with nothing dropped or clicked, and the pointer holds nothing any
    // more, so that its moves and its lift after the box are nothing and the
    // next pointer down plays. (A box may take the pointer's lift for its
    // own: a hold kept through it could stay held for good.)
    void messageBoxOpens();

    // Carrying by taps: while on, a tap (a press and a release within the
    // tap slack, the mouse's click too) on a picture that can be dragged
    // picks it up instead of dropping it on itself. The next pointer down
    // carries it from there: lifted within the slack it drops where it went
    // down; moved further it drags the picture as a drag does. A tap on the
    // picture itself puts it back. Dragging plays as always.
    void setCarryByTaps(bool on);
    bool carryByTaps() const { return carryByTaps_; }
    // The form whose picture is carried by taps, while it is (no pointer
    // down, the form as it was built, its drag still under way).
    Form* carriedForm() const;
    bool carrying() const { return carriedForm() != nullptr; }
    // Puts a carried picture back where it came from, nothing dropped (the
    // Escape key, the back action, the menu). Returns whether one was carried.
    bool putDown();

    // The pointer that plays, if one does.
    std::optional<PointerId> holder() const;
    bool holds() const { return holder().has_value(); }
    bool fingerHolds() const;
    // The form the playing pointer went down on, while it is still that
    // form as it was built (not unloaded, not rebuilt).
    Form* heldForm() const;

private:
    struct Held {
        PointerId pointer;
        Form* form;
        std::uint64_t generation;
        Point pressedAt;  // form pixels
        PointF screenAt;  // where it went down
        bool tapping;     // a wandering pointer still within the slack
        bool placing;     // the press that carries a picture picked up by a tap
    };
    struct Carried {
        Form* form;
        std::uint64_t generation;
    };

    bool tappedWithin(const Held& held, PointF screen) const;

    FormRegistry& registry_;
    double tapSlack_ = 0;
    std::optional<Held> held_;
    bool carryByTaps_ = false;
    std::optional<Carried> carried_;
};

template <class Action>
void runEvent(FormRegistry& registry, Form& form, std::uint64_t generation, Action&& action)
{
    if (registry.ended() || form.generation() != generation)
        return;
    try {
        action();
    } catch (const std::exception& e) {
        registry.fail(e.what());
        return;
    }
    registry.eventDone();
}

}  // namespace tuvrel
