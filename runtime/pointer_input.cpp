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

bool PointerArbiter::press(const PointerId& pointer, Form& form, Point at, PointF screen)
{
    if (registry_.ended())
        return false;
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
    held_ = Held{pointer, &form, generation, at, screen, pointer.wanders()};
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
}

void PointerArbiter::messageBoxOpens()
{
    if (const auto pointer = holder())
        cancel(*pointer);
    held_.reset();
}

}  // namespace tuvrel
