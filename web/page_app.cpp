// The program in a web page: every form is a layer of the one canvas, shown
// as the desktop shows a fullscreen window (scaled uniformly, centred, the
// strips beside it); only the front one is drawn. The page's script
// (web/site/page.js) owns the browser: it calls the functions exported here
// for every pointer, key, menu choice, back action and frame, and these call
// back into it for the title, the menu bar, the history, the message box and
// the end screen. Every input goes through the core's pointer arbiter and
// runEvent, as on the desktop.
#include "assets/picture_catalog.h"
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/pointer_input.h"
#include "runtime/text.h"
#include "web/canvas_painter.h"
#include "web/state_json.h"

#ifdef TUVREL_TEST_HOOKS
#include "tests/support/play_moves.h"

#include <stdexcept>
#endif

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

// clang-format off
EM_JS(void, tuvrel_js_request_frame, (), {
    Module.tuvrelPage.requestFrame();
});

// The front form changed: its caption for the title, its menu-bar item (empty
// when it has none), its name for the address, and whether it is Start.
EM_JS(void, tuvrel_js_front, (const char* caption, const char* menu, const char* name, int isStart), {
    Module.tuvrelPage.frontChanged(UTF8ToString(caption), UTF8ToString(menu), UTF8ToString(name), !!isStart);
});

// The modal box: the handler that asked for it goes on once it is closed.
EM_ASYNC_JS(void, tuvrel_js_message_box, (const char* text, const char* title), {
    await Module.tuvrelPage.messageBox(UTF8ToString(text), UTF8ToString(title));
});

EM_JS(void, tuvrel_js_end, (const char* error), {
    Module.tuvrelPage.ended(UTF8ToString(error));
});

// Reading aloud: the texts (a JSON array) in place of the reading before; an
// empty array only stops it.
EM_JS(void, tuvrel_js_read_aloud, (const char* texts), {
    Module.tuvrelPage.readAloud(JSON.parse(UTF8ToString(texts)));
});
// clang-format on

namespace tuvrel::web {

namespace {

class Page;

// The settings the page read from its address or its memory, for every start
// of the program (the end screen's "again" too).
bool readAloudSetting = false;

// A loaded form's place in the page.
class Layer : public FormView {
public:
    Layer(Page& page, Form& form) : page_(page), form_(form) {}
    ~Layer() override;
    void invalidate(const Rect& pixelArea) override;
    void repaintNow() override;
    void bringToFront() override;

private:
    Page& page_;
    Form& form_;
};

class Page final : public WindowSystem {
public:
    Page() : registry_(std::make_unique<FormRegistry>(this))
    {
        registry_->pointers().setTapSlack(tapSlackFor(std::nullopt));
        registry_->setReadAloud(readAloudSetting);
    }
    ~Page() override { registry_.reset(); }

    FormRegistry& registry() { return *registry_; }

    // Start, and in front of it the named form if the program has one.
    bool start(std::string_view formName)
    {
        try {
            registerProgramForms(*registry_);
            registry_->show("Start");
            if (!formName.empty() && !equalsIgnoringCase(formName, "Start") && registry_->knows(formName))
                registry_->show(formName);
        } catch (const std::exception& e) {
            registry_->fail(e.what());
        }
        settle();
        return !registry_->ended();
    }

    void resize(Size css, double ratio)
    {
        css_ = css;
        ratio_ = ratio;
        invalidateAll();
    }

    double ratio() const { return ratio_; }
    Form* front() const { return layers_.empty() ? nullptr : layers_.front(); }
    const std::vector<Form*>& layers() const { return layers_; }
    FormTransform transformOf(const Form& form) const { return {form.clientSize(), css_}; }
    bool onCanvas(PointF at) const { return at.x >= 0 && at.y >= 0 && at.x < css_.width && at.y < css_.height; }

    // ---- layers ----
    void toFront(Form& form)
    {
        std::erase(layers_, &form);
        layers_.insert(layers_.begin(), &form);
        invalidateAll();
    }
    void remove(Form& form)
    {
        std::erase(layers_, &form);
        invalidateAll();
    }
    void invalidate(const Form& form, const Rect& area)
    {
        if (front() != &form)
            return;
        dirty_ = dirty_.isEmpty() ? area : dirty_.united(area);
        requestFrame();
    }
    void invalidateAll()
    {
        dirtyAll_ = true;
        requestFrame();
    }

    // Tells the page what is in front now, once an event's work is done.
    void settle()
    {
        const Form* now = front();
        if (now == shownFront_ && (!now || now->generation() == shownGeneration_))
            return;
        shownFront_ = now;
        shownGeneration_ = now ? now->generation() : 0;
        if (!now)
            return;
        const Menu* menu = now->menu();
        tuvrel_js_front(now->description().caption.c_str(), menu ? menu->caption().c_str() : "", now->name().c_str(),
                        equalsIgnoringCase(now->name(), "Start"));
    }

    void paint()
    {
        frameRequested_ = false;
        Form* form = front();
        if (!form) {
            dirty_ = {};
            dirtyAll_ = false;
            return;
        }
        const FormTransform t = transformOf(*form);
        const DeviceMap map(t, ratio_);
        const Rect client({}, form->clientSize());
        const Rect clientOnDevice = map.rect(client);
        Rect area = client;
        if (dirtyAll_) {
            const Rect canvas(0, 0, int(std::lround(css_.width * ratio_)), int(std::lround(css_.height * ratio_)));
            std::vector<Rect> strips;
            appendDifference(canvas, clientOnDevice, strips);
            for (const Rect& strip : strips)
                fillDevice(strip, colours::Strip);
        } else {
            area = dirty_.intersected(client);
        }
        dirty_ = {};
        dirtyAll_ = false;
        if (area.isEmpty())
            return;
        beginClip(map.rect(area).intersected(clientOnDevice));
        CanvasPainter painter(map);
        // The front form is the active one: its focused button shows the
        // dotted line from the start, as on the desktop's active window,
        // whether or not a key was ever used (a tablet's child never presses
        // Tab, and the line says which button Enter would press).
        drawForm(*form, area, painter, true);
        endClip();
    }

    // ---- WindowSystem ----
    std::unique_ptr<FormView> createView(Form& form) override { return std::make_unique<Layer>(*this, form); }
    void messageBox(const std::string& text, const std::string& title) override
    {
        // The box stands over what is in front now (the registry has ended
        // any press or drag under way).
        settle();
        ++suspended_;
        tuvrel_js_message_box(text.c_str(), title.c_str());
        --suspended_;
    }
    // A handler waits in a message box for its OK: the event that ran it has
    // not returned, and the page hands the forms nothing until it has.
    bool handlerSuspended() const { return suspended_ > 0; }
    void quit(int) override
    {
        settle();
        tuvrel_js_end(error_.c_str());
    }
    void reportError(const std::string& message) override { error_ = message; }
    void readAloud(const std::vector<std::string>& texts) override { tuvrel_js_read_aloud(textsJson(texts).c_str()); }

private:
    void requestFrame()
    {
        if (!frameRequested_) {
            frameRequested_ = true;
            tuvrel_js_request_frame();
        }
    }

    // Before the registry, so that the layers outlive the forms' views.
    std::vector<Form*> layers_;  // front first
    std::unique_ptr<FormRegistry> registry_;
    Size css_{1, 1};
    double ratio_ = 1;
    Rect dirty_;
    bool dirtyAll_ = true;
    bool frameRequested_ = false;
    const Form* shownFront_ = nullptr;
    std::uint64_t shownGeneration_ = 0;
    std::string error_;
    int suspended_ = 0;  // handlers waiting in a message box
};

Layer::~Layer()
{
    page_.remove(form_);
}

void Layer::invalidate(const Rect& pixelArea)
{
    page_.invalidate(form_, pixelArea);
}

void Layer::repaintNow()
{
    // The canvas shows what was drawn once the script returns to the browser:
    // the next frame draws it.
    page_.invalidate(form_, Rect({}, form_.clientSize()));
}

void Layer::bringToFront()
{
    page_.toFront(form_);
}

std::unique_ptr<Page> thePage;
std::string returned;  // the last text handed to the page's script

Page& page()
{
    if (!thePage)
        thePage = std::make_unique<Page>();
    return *thePage;
}

enum class Phase { Down = 0, Move = 1, Up = 2, Cancel = 3 };

PointerId pointerOf(int kind, int id)
{
    const auto k = kind == 1 ? PointerId::Kind::Touch : kind == 2 ? PointerId::Kind::Pen : PointerId::Kind::Mouse;
    return {k, 0, id};
}

Key keyOf(int key)
{
    switch (key) {
    case 0: return Key::Tab;
    case 1: return Key::Backtab;
    case 2: return Key::Space;
    case 3: return Key::Enter;
    case 4: return Key::Return;
    default: return Key::Other;
    }
}

}  // namespace

}  // namespace tuvrel::web

using namespace tuvrel;
using namespace tuvrel::web;

#ifdef TUVREL_TEST_HOOKS
// The moves of a play as the tests write them ("click:Control" and
// "drag:Source>Target", separated by ';'), read by the parser the desktop's
// tests use.
static std::vector<std::pair<std::string, std::string>> movesOf(const char* moves)
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const test::Move& m : test::parseMoves(moves))
        out.emplace_back(m.source, m.target);
    return out;
}
#endif

extern "C" {

// Reading aloud ("voorlezen", from the page's address or its memory): on or
// off for this start of the program and the ones after it.
EMSCRIPTEN_KEEPALIVE void tuvrel_set_read_aloud(int on)
{
    readAloudSetting = on != 0;
    if (thePage)
        thePage->registry().setReadAloud(readAloudSetting);
}

// Start, and the named form in front of it (the page's address); false when
// the program could not start (the error is on the page).
EMSCRIPTEN_KEEPALIVE int tuvrel_start(const char* formName)
{
    return page().start(formName) ? 1 : 0;
}

// The canvas's size in CSS pixels and the device's pixel ratio.
EMSCRIPTEN_KEEPALIVE void tuvrel_resize(int cssWidth, int cssHeight, double ratio)
{
    page().resize({std::max(1, cssWidth), std::max(1, cssHeight)}, ratio > 0 ? ratio : 1);
}

EMSCRIPTEN_KEEPALIVE void tuvrel_paint()
{
    page().paint();
}

EMSCRIPTEN_KEEPALIVE void tuvrel_invalidate()
{
    page().invalidateAll();
}

// A pointer event at a canvas position in CSS pixels. phase: 0 down, 1 move,
// 2 up, 3 cancel; kind: 0 mouse, 1 touch, 2 pen.
EMSCRIPTEN_KEEPALIVE void tuvrel_pointer(int phase, int kind, int id, double x, double y)
{
    Page& p = page();
    PointerArbiter& pointers = p.registry().pointers();
    const PointerId pointer = pointerOf(kind, id);
    const PointF screen{x, y};
    switch (Phase(phase)) {
    case Phase::Down:
        if (Form* front = p.front(); front && p.onCanvas(screen))
            pointers.press(pointer, *front, p.transformOf(*front).toForm(screen), screen);
        break;
    case Phase::Move:
        if (Form* held = pointers.heldForm(); held && pointers.holder() == pointer)
            pointers.move(pointer, p.transformOf(*held).toForm(screen), screen);
        break;
    case Phase::Up: {
        Form* held = pointers.heldForm();
        if (!held || !(pointers.holder() == pointer))
            break;
        // Over the form where it lies on the canvas and is the front layer.
        pointers.release(pointer, screen, [&](PointF at) {
            return PointerArbiter::Landing{p.transformOf(*held).toForm(at), p.front() == held && p.onCanvas(at)};
        });
        break;
    }
    case Phase::Cancel: pointers.cancel(pointer); break;
    }
    p.settle();
}

// Tab 0, Shift+Tab 1, Space 2, Enter on the keypad 3, Enter 4.
EMSCRIPTEN_KEEPALIVE void tuvrel_key(int key)
{
    Page& p = page();
    if (Form* front = p.front())
        runEvent(p.registry(), *front, front->generation(), [&] { front->keyPress(keyOf(key)); });
    p.settle();
}

// Escape, or the back action while a picture is carried by taps: it goes
// back where it came from. Returns whether one was carried (then back leaves
// the game where it is).
EMSCRIPTEN_KEEPALIVE int tuvrel_put_down()
{
    Page& p = page();
    const bool carried = p.registry().pointers().putDown();
    p.settle();
    return carried ? 1 : 0;
}

// Whether a tap on a picture picks it up and the next tap puts it down.
EMSCRIPTEN_KEEPALIVE void tuvrel_carry_by_taps(int on)
{
    Page& p = page();
    p.registry().pointers().setCarryByTaps(on != 0);
    p.settle();
}

// The front form's menu-bar item was chosen (not while a pointer plays; a
// picture carried by taps goes back first).
EMSCRIPTEN_KEEPALIVE void tuvrel_menu()
{
    Page& p = page();
    Form* front = p.front();
    if (front && front->menu() && !p.registry().pointers().holds()) {
        p.registry().pointers().putDown();
        runEvent(p.registry(), *front, front->generation(), [&] { front->chooseMenu(); });
    }
    p.settle();
}

// The browser's back action: the front form closes as its window's close
// button closes it on the desktop; on Start it is the browser's. (A picture
// carried by taps is put down first: tuvrel_put_down.) Returns whether a
// form closed.
EMSCRIPTEN_KEEPALIVE int tuvrel_back()
{
    Page& p = page();
    Form* front = p.front();
    if (!front || equalsIgnoringCase(front->name(), "Start"))
        return 0;
    runEvent(p.registry(), *front, front->generation(), [&] { front->unload(); });
    p.settle();
    return 1;
}

// Whether nothing would be lost if the page loaded again now: Start alone,
// no pointer held, no picture carried, no handler waiting in a message box.
// A new version of the site takes over only then.
EMSCRIPTEN_KEEPALIVE int tuvrel_idle()
{
    Page& p = page();
    const auto& layers = p.layers();
    return layers.size() == 1 && equalsIgnoringCase(layers.front()->name(), "Start") &&
                   !p.registry().pointers().holds() && !p.registry().pointers().carrying() && !p.handlerSuspended() &&
                   !p.registry().ended()
               ? 1
               : 0;
}

// The address named a form after the page had started (a link followed, an
// address typed): that form in front, as at the start. Returns whether it is
// in front now.
EMSCRIPTEN_KEEPALIVE int tuvrel_open(const char* formName)
{
    Page& p = page();
    FormRegistry& registry = p.registry();
    if (registry.ended() || !registry.knows(formName))
        return 0;
    try {
        registry.show(formName);
    } catch (const std::exception& e) {
        registry.fail(e.what());
    }
    p.settle();
    return p.front() && equalsIgnoringCase(p.front()->name(), formName) ? 1 : 0;
}

// The tool tip at a canvas position (CSS pixels), empty where there is none
// or while a finger plays.
EMSCRIPTEN_KEEPALIVE const char* tuvrel_tool_tip(double x, double y)
{
    Page& p = page();
    Form* front = p.front();
    returned.clear();
    if (front && front->isLoaded() && !p.registry().pointers().holds() && p.onCanvas({x, y}))
        returned = front->toolTipAt(p.transformOf(*front).toForm({x, y}));
    return returned.c_str();
}

// Device pixels per form pixel of the front form: which rendering of a
// picture is drawn.
EMSCRIPTEN_KEEPALIVE double tuvrel_device_scale()
{
    Page& p = page();
    const Form* front = p.front();
    return front ? p.transformOf(*front).scale() * p.ratio() : p.ratio();
}

// JSON: every picture of the program (which == 1), or the pictures the loaded
// forms show now (which == 0).
EMSCRIPTEN_KEEPALIVE const char* tuvrel_pictures(int which)
{
    returned = which == 1 ? catalogJson() : picturesShownJson(page().registry());
    return returned.c_str();
}

#ifdef TUVREL_TEST_HOOKS
// What only the browser tests read; the published program has none of it.

// JSON: what the page shows, and whether a handler waits in a message box
// (for the browser tests).
EMSCRIPTEN_KEEPALIVE const char* tuvrel_state()
{
    Page& p = page();
    std::vector<std::string> layerNames;
    for (const Form* f : p.layers())
        layerNames.push_back(f->name());
    FormTransform t;
    if (const Form* front = p.front())
        t = p.transformOf(*front);
    returned = stateJson(p.registry(), layerNames, t, p.handlerSuspended());
    return returned.c_str();
}

// JSON: the state the core alone reaches from `formName` in front of Start
// after the moves, played on the form itself; the browser's play of the same
// moves must end there.
EMSCRIPTEN_KEEPALIVE const char* tuvrel_core_play(const char* formName, const char* moves)
{
    try {
        returned = corePlayJson(formName, *moves ? movesOf(moves) : std::vector<std::pair<std::string, std::string>>{});
    } catch (const std::invalid_argument& e) {
        returned = errorJson(e.what());
    }
    return returned.c_str();
}

// JSON: the front form's labels, their text laid out as the page draws it.
EMSCRIPTEN_KEEPALIVE const char* tuvrel_label_lines()
{
    CanvasMeasurer measurer;
    const Form* front = page().front();
    returned = front ? labelLinesJson(*front, measurer) : "[]";
    return returned.c_str();
}

// JSON: the moves, [{"source", "target"}], or {"error"}.
EMSCRIPTEN_KEEPALIVE const char* tuvrel_moves(const char* moves)
{
    try {
        returned = movesJson(movesOf(moves));
    } catch (const std::invalid_argument& e) {
        returned = errorJson(e.what());
    }
    return returned.c_str();
}

#endif

// The end screen's button: the program starts again.
EMSCRIPTEN_KEEPALIVE int tuvrel_restart()
{
    thePage.reset();
    return page().start("") ? 1 : 0;
}

}  // extern "C"
