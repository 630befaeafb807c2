#include "runtime/pointer_input.h"

#include "runtime/form_registry.h"

#include <cmath>

namespace tuvrel {

double tapSlackFor(std::optional<double> platformDragDistance)
{
    return 2.0 * platformDragDistance.value_or(UsualDragDistance);
}

std::optional<PointerId> PointerArbiter::holder() const
{
    if (held_ && !heldForm())
        return std::nullopt;
    return held_ ? std::optional(held_->pointer) : std::nullopt;
}

bool PointerArbiter::fingerHolds() const
{
    const auto pointer = holder();
    return pointer && pointer->kind != PointerId::Kind::Mouse;
}

Form* PointerArbiter::heldForm() const
{
    if (!held_ || held_->form->generation() != held_->generation || !held_->form->isLoaded())
        return nullptr;
    return held_->form;
}

void PointerArbiter::setCarryByTaps(bool on)
{
    carryByTaps_ = on;
    if (!on)
        putDown();
}

Form* PointerArbiter::carriedForm() const
{
    if (!carried_ || held_)
        return nullptr;
    Form* form = carried_->form;
    if (form->generation() != carried_->generation || !form->isLoaded() || !form->drag())
        return nullptr;
    return form;
}

bool PointerArbiter::putDown()
{
    Form* form = carriedForm();
    carried_.reset();
    if (!form)
        return false;
    form->cancelInput();
    return true;
}

bool PointerArbiter::tappedWithin(const Held& held, PointF screen) const
{
    return std::hypot(screen.x - held.screenAt.x, screen.y - held.screenAt.y) <= tapSlack_;
}

bool PointerArbiter::press(const PointerId& pointer, Form& form, Point at, PointF screen)
{
    if (registry_.ended())
        return false;
    if (Form* carriedFrom = carriedForm()) {
        carried_.reset();
        if (carriedFrom != &form) {
            // A tap on another window: as a drag let go over another window,
            // the picture goes back and nothing is dropped.
            carriedFrom->cancelInput();
            return false;
        }
        // This pointer carries the picture on: the form's drag goes on.
        held_ = Held{pointer, &form, form.generation(), at, screen, pointer.wanders(), true};
        return true;
    }
    carried_.reset();
    if (held_) {
        // The same pointer down again: its release never came (the platform
        // lost it); that press is forgotten, as a form forgets it.
        if (held_->pointer == pointer || !heldForm()) {
            if (Form* before = heldForm())
                before->cancelInput();
            held_.reset();
        } else {
            return false;  // another pointer plays
        }
    }
    const std::uint64_t generation = form.generation();
    held_ = Held{pointer, &form, generation, at, screen, pointer.wanders(), false};
    runEvent(registry_, form, generation, [&] { form.mousePress(at, MouseButton::Left); });
    // A drag follows a finger from its first move; a press that can only
    // click keeps the finger's slack.
    if (held_ && heldForm() && form.drag())
        held_->tapping = false;
    return true;
}

void PointerArbiter::move(const PointerId& pointer, Point at, PointF screen)
{
    if (!held_ || !(held_->pointer == pointer))
        return;
    Form* form = heldForm();
    if (!form)
        return;
    if (held_->tapping) {
        if (std::hypot(screen.x - held_->screenAt.x, screen.y - held_->screenAt.y) <= tapSlack_)
            return;
        held_->tapping = false;
    }
    runEvent(registry_, *form, held_->generation, [&] { form->mouseMove(at); });
}

void PointerArbiter::release(const PointerId& pointer, PointF screen, const Place& place)
{
    if (!held_ || !(held_->pointer == pointer))
        return;
    const Held was = *held_;
    held_.reset();
    Form* form = was.form;
    if (form->generation() != was.generation || !form->isLoaded())
        return;
    // A tap on a picture that can be dragged picks it up: the drag stays,
    // its outline back on the picture, for the next tap to carry on.
    if (carryByTaps_ && !was.placing && form->drag() && tappedWithin(was, screen)) {
        form->restDragOutline();
        carried_ = Carried{form, was.generation};
        return;
    }
    const Landing landing = place(was.tapping ? was.screenAt : screen);
    runEvent(registry_, *form, was.generation,
             [&] { form->mouseRelease(landing.at, MouseButton::Left, landing.overForm); });
}

void PointerArbiter::cancel(const PointerId& pointer)
{
    if (!held_ || !(held_->pointer == pointer))
        return;
    Form* form = heldForm();
    held_.reset();
    if (form)
        form->cancelInput();
}

void PointerArbiter::forget()
{
    held_.reset();
    carried_.reset();
}

void PointerArbiter::messageBoxOpens()
{
    if (const auto pointer = holder())
        cancel(*pointer);
    held_.reset();
    putDown();
}

}  // namespace tuvrel
