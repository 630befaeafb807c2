#include "runtime/form.h"

#include "runtime/form_registry.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

#include <algorithm>
#include <unordered_map>

namespace tuvrel {

struct Form::Loaded {
    std::vector<std::unique_ptr<Control>> controls;
    std::unordered_map<std::string, Control*> byName;  // key: lower-case name
    std::vector<Control*> paintOrder;
    std::vector<Control*> hitOrder;  // front first; images, labels and buttons only
    Menu* menu = nullptr;
    Picture icon;
    Picture background;

    std::optional<DragState> drag;
    Control* pressed = nullptr;  // image or button under the press, awaiting the release
    bool pressedOver = false;    // the pointer is still over it
    CommandButton* focus = nullptr;
};

Form::Form(FormRegistry& registry, const FormClass& formClass) : registry_(registry), class_(formClass) {}

Form::~Form() = default;

Size Form::clientSize() const
{
    return {toPixels(description().clientWidth), toPixels(description().clientHeight)};
}

// ---------------------------------------------------------------- lifecycle

void Form::load()
{
    auto state = std::make_unique<Loaded>();
    const FormDescription& d = description();
    state->icon = Picture::load(d.icon);
    if (d.background)
        state->background = Picture::load(*d.background);

    int index = 0;
    for (const ControlDescription& row : d.rows) {
        std::unique_ptr<Control> control;
        switch (row.controlClass) {
        case ControlClass::Image: control = std::make_unique<Image>(*this, row, index); break;
        case ControlClass::Label: control = std::make_unique<Label>(*this, row, index); break;
        case ControlClass::CommandButton: control = std::make_unique<CommandButton>(*this, row, index); break;
        case ControlClass::Shape: control = std::make_unique<Shape>(*this, row, index); break;
        case ControlClass::Line: control = std::make_unique<Line>(*this, row, index); break;
        case ControlClass::Menu: control = std::make_unique<Menu>(*this, row, index); break;
        }
        std::string key = asciiLower(row.name);
        if (state->byName.contains(key))
            throw RuntimeError("form " + name() + " describes " + row.name + " twice");
        if (row.controlClass == ControlClass::Menu) {
            if (state->menu)
                throw RuntimeError("form " + name() + " has more than one menu item");
            state->menu = static_cast<Menu*>(control.get());
        }
        state->byName.emplace(std::move(key), control.get());
        state->controls.push_back(std::move(control));
        ++index;
    }

    // Earlier rows lie in front of later ones; command buttons lie in front of everything else.
    std::vector<Control*> front;
    for (const auto& c : state->controls)
        if (c->controlClass() == ControlClass::CommandButton)
            front.push_back(c.get());
    for (const auto& c : state->controls)
        if (c->controlClass() != ControlClass::CommandButton && c->controlClass() != ControlClass::Menu)
            front.push_back(c.get());
    state->paintOrder.assign(front.rbegin(), front.rend());
    for (Control* c : front) {
        const ControlClass k = c->controlClass();
        if (k == ControlClass::Image || k == ControlClass::Label || k == ControlClass::CommandButton)
            state->hitOrder.push_back(c);
    }

    loaded_ = std::move(state);
    ++generation_;
    const auto order = focusOrder();
    loaded_->focus = order.empty() ? nullptr : order.front();
}

void Form::show()
{
    if (registry_.ended())
        return;
    if (!loaded_)
        load();
    if (!view_ && registry_.windowSystem())
        view_ = registry_.windowSystem()->createView(*this);
    if (view_)
        view_->bringToFront();
    registry_.formShown(*this);
}

void Form::unload()
{
    if (!loaded_)
        return;
    ++generation_;
    // The window goes first, so that nothing paints controls being destroyed.
    view_.reset();
    loaded_.reset();
}

void Form::refresh()
{
    if (view_)
        view_->repaintNow();
}

// ---------------------------------------------------------------- controls

Form::Loaded& Form::loaded() const
{
    if (!loaded_)
        throw RuntimeError("form " + name() + " is not loaded");
    return *loaded_;
}

const std::vector<std::unique_ptr<Control>>& Form::controls() const
{
    return loaded().controls;
}

Control* Form::find(std::string_view controlName) const
{
    const auto& byName = loaded().byName;
    auto it = byName.find(asciiLower(controlName));
    return it == byName.end() ? nullptr : it->second;
}

template <class T>
T& Form::typed(std::string_view controlName, ControlClass cls) const
{
    Control* c = find(controlName);
    if (!c || c->controlClass() != cls)
        throw RuntimeError("form " + name() + " has no control " + std::string(controlName) +
                           " of the class asked for");
    return static_cast<T&>(*c);
}

Image& Form::image(std::string_view n) const
{
    return typed<Image>(n, ControlClass::Image);
}
Label& Form::label(std::string_view n) const
{
    return typed<Label>(n, ControlClass::Label);
}
CommandButton& Form::button(std::string_view n) const
{
    return typed<CommandButton>(n, ControlClass::CommandButton);
}
Shape& Form::shape(std::string_view n) const
{
    return typed<Shape>(n, ControlClass::Shape);
}
Line& Form::line(std::string_view n) const
{
    return typed<Line>(n, ControlClass::Line);
}
Menu* Form::menu() const
{
    return loaded().menu;
}
const Picture& Form::icon() const
{
    return loaded().icon;
}
const Picture& Form::background() const
{
    return loaded().background;
}
const std::vector<Control*>& Form::paintOrder() const
{
    return loaded().paintOrder;
}

void Form::invalidate(const Rect& pixelArea) const
{
    if (view_)
        view_->invalidate(pixelArea);
}

// ---------------------------------------------------------------- events

void Form::raiseClick(Control& control)
{
    const ControlHandlers* h = class_.handlersFor(control.name());
    if (h && h->click)
        h->click(*this);
}

void Form::raiseChange(Label& label)
{
    const ControlHandlers* h = class_.handlersFor(label.name());
    if (h && h->change)
        h->change(*this);
}

Control* Form::hitTest(Point point) const
{
    if (!loaded_)
        return nullptr;
    for (Control* c : loaded_->hitOrder)
        if (c->visible() && c->pixelRect().contains(point))
            return c;
    return nullptr;
}

void Form::mousePress(Point point, MouseButton button)
{
    if (!loaded_ || button != MouseButton::Left)
        return;
    // A press whose release never came (the pointer was taken away) is forgotten.
    cancelInput();
    Control* hit = hitTest(point);
    // A disabled control in front swallows the press: the form gets it, and the form has no handlers.
    if (!hit || !hit->enabled())
        return;
    if (hit->controlClass() == ControlClass::Label)
        registry_.labelTapped(*hit);
    if (hit->controlClass() == ControlClass::Image) {
        auto* image = static_cast<Image*>(hit);
        if (image->dragAutomatic()) {
            const Rect r = image->pixelRect();
            loaded_->drag = DragState{image, point - r.topLeft(), r};
            invalidate(r);
            return;
        }
    }
    if (hit->controlClass() == ControlClass::Image || hit->controlClass() == ControlClass::CommandButton) {
        loaded_->pressed = hit;
        loaded_->pressedOver = true;
        if (hit->controlClass() == ControlClass::CommandButton)
            setFocus(static_cast<CommandButton*>(hit));
        invalidate(hit->pixelRect());
    }
}

void Form::mouseMove(Point point)
{
    if (!loaded_)
        return;
    if (auto& drag = loaded_->drag) {
        const Rect old = drag->outline;
        drag->outline.moveTopLeft(point - drag->grabOffset);
        if (drag->outline != old) {
            invalidate(old);
            invalidate(drag->outline);
        }
        return;
    }
    if (Control* pressed = loaded_->pressed) {
        const bool over = hitTest(point) == pressed;
        if (over != loaded_->pressedOver) {
            loaded_->pressedOver = over;
            invalidate(pressed->pixelRect());
        }
    }
}

void Form::mouseRelease(Point point, MouseButton button, bool overThisForm)
{
    if (!loaded_ || button != MouseButton::Left)
        return;
    if (loaded_->drag) {
        const DragState drag = *loaded_->drag;
        loaded_->drag.reset();
        invalidate(drag.outline);
        Control* target = overThisForm ? hitTest(point) : nullptr;
        if (!target || target == drag.source || !target->enabled())
            return;
        const ControlHandlers* h = class_.handlersFor(target->name());
        if (h && h->dragDrop)
            h->dragDrop(*this, *drag.source);
        return;
    }
    if (Control* pressed = loaded_->pressed) {
        loaded_->pressed = nullptr;
        invalidate(pressed->pixelRect());
        if (overThisForm && hitTest(point) == pressed && pressed->enabled())
            raiseClick(*pressed);
    }
}

void Form::cancelInput()
{
    if (!loaded_)
        return;
    if (loaded_->drag)
        invalidate(loaded_->drag->outline);
    if (loaded_->pressed)
        invalidate(loaded_->pressed->pixelRect());
    loaded_->drag.reset();
    loaded_->pressed = nullptr;
}

void Form::restDragOutline()
{
    if (!loaded_ || !loaded_->drag)
        return;
    DragState& drag = *loaded_->drag;
    const Rect home = drag.source->pixelRect();
    if (drag.outline == home)
        return;
    invalidate(drag.outline);
    drag.outline = home;
    invalidate(home);
}

void Form::chooseMenu()
{
    if (!loaded_ || !loaded_->menu || loaded_->drag || loaded_->pressed)
        return;
    raiseClick(*loaded_->menu);
}

std::string Form::toolTipAt(Point point) const
{
    Control* hit = hitTest(point);
    if (!hit)
        return {};
    if (hit->controlClass() == ControlClass::Image)
        return static_cast<Image*>(hit)->toolTipText();
    if (hit->controlClass() == ControlClass::CommandButton)
        return static_cast<CommandButton*>(hit)->toolTipText();
    return {};
}

const std::optional<DragState>& Form::drag() const
{
    static const std::optional<DragState> none;
    return loaded_ ? loaded_->drag : none;
}

CommandButton* Form::pressedButton() const
{
    if (!loaded_ || !loaded_->pressed || !loaded_->pressedOver ||
        loaded_->pressed->controlClass() != ControlClass::CommandButton)
        return nullptr;
    return static_cast<CommandButton*>(loaded_->pressed);
}

// ---------------------------------------------------------------- keyboard focus

std::vector<CommandButton*> Form::focusOrder() const
{
    std::vector<CommandButton*> order;
    for (const auto& c : loaded_->controls)
        if (c->controlClass() == ControlClass::CommandButton && c->visible())
            order.push_back(static_cast<CommandButton*>(c.get()));
    std::stable_sort(order.begin(), order.end(),
                     [](const CommandButton* a, const CommandButton* b) { return a->tabIndex() < b->tabIndex(); });
    return order;
}

CommandButton* Form::focusedButton() const
{
    return loaded_ ? loaded_->focus : nullptr;
}

void Form::setFocus(CommandButton* button)
{
    if (loaded_->focus == button)
        return;
    if (loaded_->focus)
        invalidate(loaded_->focus->pixelRect());
    loaded_->focus = button;
    if (button)
        invalidate(button->pixelRect());
}

void Form::moveFocus(int step)
{
    const auto order = focusOrder();
    if (order.empty()) {
        setFocus(nullptr);
        return;
    }
    CommandButton* current = loaded_->focus;
    // A hidden focused button keeps its place in the order until the focus moves on.
    int tab = current ? current->tabIndex() : -1;
    auto it = std::find(order.begin(), order.end(), current);
    int pos;
    if (it != order.end()) {
        pos = int(it - order.begin()) + step;
    } else if (step > 0) {
        pos = int(std::upper_bound(order.begin(), order.end(), tab,
                                   [](int t, const CommandButton* b) { return t < b->tabIndex(); }) -
                  order.begin());
    } else {
        pos = int(std::lower_bound(order.begin(), order.end(), tab,
                                   [](const CommandButton* b, int t) { return b->tabIndex() < t; }) -
                  order.begin()) -
              1;
    }
    const int n = int(order.size());
    setFocus(order[size_t(((pos % n) + n) % n)]);
}

void Form::controlVisibilityChanged(Control& control)
{
    if (!loaded_)
        return;
    if (&control == loaded_->focus && !control.visible())
        moveFocus(+1);
    else if (!loaded_->focus && control.visible() && control.controlClass() == ControlClass::CommandButton)
        setFocus(static_cast<CommandButton*>(&control));
    if (loaded_->drag && loaded_->drag->source == &control && !control.visible())
        cancelInput();
}

void Form::keyPress(Key key)
{
    if (!loaded_ || loaded_->drag || loaded_->pressed)
        return;
    switch (key) {
    case Key::Tab: moveFocus(+1); break;
    case Key::Backtab: moveFocus(-1); break;
    case Key::Space:
    case Key::Enter:
    case Key::Return:
        // As with the pointer, a disabled button takes no click.
        if (CommandButton* b = loaded_->focus; b && b->visible() && b->enabled())
            raiseClick(*b);
        break;
    case Key::Other: break;
    }
}

}  // namespace tuvrel
