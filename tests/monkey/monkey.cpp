#include "tests/monkey/monkey.h"

#include "desktop/form_window.h"
#include "games/common/navigation.h"
#include "tests/monkey/form_state.h"
#include "tests/monkey/rng.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <QTouchEvent>
#include <QWindow>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <deque>
#include <map>
#include <set>
#include <unistd.h>
#include <unordered_map>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace tuvrel::monkey {

using test::InvariantSet;
using test::Program;
using test::qs;

// ------------------------------------------------------------------ fresh forms

// Each form as its description builds it, to compare a newly shown or rebuilt
// form with. Built once per form class, without windows.
struct Monkey::Fresh {
    std::unordered_map<const FormClass*, FormState> states;

    const FormState& of(const FormClass& formClass)
    {
        auto it = states.find(&formClass);
        if (it != states.end())
            return it->second;
        FormRegistry registry;
        registry.addFormClass(formClass);
        Form& form = registry.form(formClass.name());
        form.show();
        return states.emplace(&formClass, stateOf(form)).first->second;
    }
};

namespace {

// How far a finger may wander and still tap: twice the distance at which this
// desktop starts a mouse drag, as the README says (not the program's own
// figure, which is what is checked).
double tapSlack()
{
    return 2.0 * QGuiApplication::styleHints()->startDragDistance();
}

// ------------------------------------------------------------------ Qt messages

// A warning from Qt during play is a fault of the program (a painter on a dead
// device, a widget used after its window went); only the platform's notes
// about what the offscreen screen cannot do are expected.
QStringList* warningsSeen = nullptr;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool platformNote = (context.category && QByteArray(context.category).startsWith("qt.qpa")) ||
                              message.startsWith(QLatin1String("This plugin does not support")) ||
                              message.startsWith(QLatin1String("QStandardPaths:"));
    if (warningsSeen && type != QtDebugMsg && type != QtInfoMsg && !platformNote)
        warningsSeen->append(message);
    if (previousHandler && !platformNote)
        previousHandler(type, context, message);
}

// ------------------------------------------------------------------ crash report

// What is being played, for the crash report: plain words, readable from a signal handler.
volatile std::uint64_t playingSeed = 0;
volatile int playingEvent = -1;  // -1: no sequence is being played
const char* crashProgram = "monkey";
char playingFirstForm[64] = "";  // the form the sequence was told to start at, if it was

void writeHex(char*& out, std::uint64_t v)
{
    for (int shift = 60; shift >= 0; shift -= 4)
        *out++ = "0123456789abcdef"[(v >> shift) & 0xF];
}

void writeDecimal(char*& out, int v)
{
    char digits[12];
    int n = 0;
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v > 0 && n < 12);
    while (n > 0)
        *out++ = digits[--n];
}

void writeText(char*& out, const char* text, const char* end)
{
    while (*text && out < end)
        *out++ = *text++;
}

void printCrashReport()
{
    if (playingEvent < 0)
        return;
    char buffer[512];
    char* out = buffer;
    const char* end = buffer + sizeof buffer - 40;
    writeText(out, "\nmonkey: died at event ", end);
    writeDecimal(out, playingEvent);
    writeText(out, " of the sequence with seed 0x", end);
    writeHex(out, playingSeed);
    writeText(out, "\nreplay: ", end);
    writeText(out, crashProgram, end);
    writeText(out, " --replay 0x", end);
    writeHex(out, playingSeed);
    writeText(out, " --length ", end);
    writeDecimal(out, playingEvent);
    if (playingFirstForm[0]) {
        writeText(out, " --first ", end);
        writeText(out, playingFirstForm, end);
    }
    writeText(out, " --trace\n", end);
    [[maybe_unused]] const auto written = ::write(2, buffer, size_t(out - buffer));
}

void onFatalSignal(int signal)
{
    printCrashReport();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// ------------------------------------------------------------------ events

enum class Act { Press, Move, Release, DoubleClick, Key, Menu, Close, Activate, Minimise, Resize, Maximise, Cancel };

struct Step {
    Step(Act a, std::string f, QPoint p = {}, Qt::MouseButton b = Qt::LeftButton, Qt::Key k = Qt::Key_Tab)
        : act(a), form(std::move(f)), at(p), button(b), key(k)
    {
    }
    Act act;
    std::string form;  // the form whose window receives it; moves and releases go to the window holding the button
    QPoint at;         // form pixels (for a resize: the window's new size)
    Qt::MouseButton button;
    Qt::Key key;
    // A finger on the touch screen (0 or 1) instead of the mouse: it touches,
    // moves and lifts on the window it touched; a Menu step is a tap.
    int finger = -1;
};

Step byFinger(Step step, int finger)
{
    step.finger = finger;
    return step;
}

// A finger on the touch screen, as this player follows it.
struct FingerDown {
    int id = 0;                   // its touch point
    QPointer<FormWindow> window;  // the window it touched, which has it until it lifts
    std::string form;
    QPointF global;       // where it is on the screen
    QPointF pressGlobal;  // where it touched
    bool tapping = true;  // the finger the program follows, still within the tap slack
};

// Touch ids are never used twice in the process, as a touch screen gives them.
int nextTouchId = 1;

// What an event may change, as the runtime's rules have it.
struct Effect {
    enum Kind { Nothing, Handler, Close };
    Effect() = default;
    Effect(Kind k, std::string f, std::string c = {}) : kind(k), form(std::move(f)), control(std::move(c)) {}
    Kind kind = Nothing;
    std::string form;     // whose handler may run, or which window is closed
    std::string control;  // the clicked control, when known
};

// The press the runtime should be holding, as this player understands the rules.
struct PressHeld {
    std::string form;
    std::uint64_t generation = 0;
    std::string control;
    bool drag = false;
};

const char* buttonName(Qt::MouseButton b)
{
    return b == Qt::LeftButton ? "left" : "right";
}

QString keyName(Qt::Key k)
{
    switch (k) {
    case Qt::Key_Tab: return QStringLiteral("Tab");
    case Qt::Key_Backtab: return QStringLiteral("Shift+Tab");
    case Qt::Key_Space: return QStringLiteral("Space");
    case Qt::Key_Enter: return QStringLiteral("Enter (keypad)");
    case Qt::Key_Return: return QStringLiteral("Enter");
    case Qt::Key_Escape: return QStringLiteral("Escape");
    case Qt::Key_F11: return QStringLiteral("F11");
    default: return QStringLiteral("key %1").arg(int(k));
    }
}

// A form pixel's canvas pixel through the window's transform, and the form
// pixel under a canvas point, in Qt's points as the windows take them.
QPoint toCanvas(const FormTransform& t, QPoint formPixel)
{
    return toQt(t.toCanvas(fromQt(formPixel)));
}
QPoint toForm(const FormTransform& t, QPointF canvasPoint)
{
    return toQt(t.toForm(fromQt(canvasPoint)));
}

// The form's client area in form pixels.
QRect clientRect(const Form& f)
{
    return {QPoint(0, 0), toQt(f.clientSize())};
}

Control* hitAt(const Form& f, QPoint at)
{
    return f.hitTest(fromQt(at));
}

bool hasClick(const Form& f, const Control& c)
{
    const ControlHandlers* h = f.formClass().handlersFor(c.name());
    return h && h->click;
}

bool hasDragDrop(const Form& f, const Control& c)
{
    const ControlHandlers* h = f.formClass().handlersFor(c.name());
    return h && h->dragDrop;
}

struct Aim {
    std::string name;
    QRect rect;
    double weight;
};

class Sequence;
Sequence* playing = nullptr;

// Answers a message box from inside its modal loop, as the child would.
class BoxWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// ------------------------------------------------------------------ one sequence

class Sequence {
public:
    Sequence(const MonkeyOptions& options, Monkey::Fresh& fresh, std::uint64_t seed, int length,
             std::string_view firstForm)
        : o_(options), fresh_(fresh), seed_(seed), length_(length), rng_(seed),
          firstForm_(firstForm.empty() ? options.firstForm : std::string(firstForm)), firstGiven_(!firstForm_.empty())
    {
    }

    SequenceResult run();
    void answerBox(QMessageBox* box);

private:
    // ---- the program
    FormRegistry& registry() { return program_->registry(); }
    std::vector<Form*> loaded() { return registry().loadedForms(); }
    bool fullscreenSetting() { return static_cast<QtWindowSystem*>(registry().windowSystem())->fullscreen(); }
    Form* formOf(const QWindow* window);
    Form* topForm() { return formOf(QGuiApplication::focusWindow()); }
    QWindow* handleOf(const Form& f);

    // ---- choosing
    void plan();
    void planFree(Form& f);
    void planHeld(Form& f);
    std::vector<Aim> aims(const Form& f, bool boardFull = false);
    std::vector<Aim> draggables(const Form& f);
    std::vector<Aim> dropTargets(const Form& f);
    QPoint pointIn(const QRect& r);
    QPoint anywhere(const Form& f, int margin);
    QPoint toward(QPoint from, QPoint to);
    const Aim& choose(const std::vector<Aim>& aims);

    void planFingers();
    void planActivateOther(const Form& f);
    void planHeldKey(const std::string& form);
    bool landsOn(const FormWindow* w, QPoint canvasPoint);
    bool fingerMayTouch(const Form& f, QPoint at);

    // ---- sending
    bool send(const Step& step, Effect& effect, QString& text);
    bool sendFinger(const Step& step, Effect& effect, QString& text);
    void touch(int finger, QEventPoint::State state);
    void tap(QWindow* window, QPoint windowPoint);
    void forgetFinger(int finger);
    bool mouseHoldsCanvas() const { return mouseHolds_ && (buttons_ & Qt::LeftButton); }
    void mouse(QWindow* window, QPoint windowPoint, Qt::MouseButton button, QEvent::Type type, bool newTime = true);
    Effect releaseEffect(Form& f, QPoint at, bool overMenu);
    Effect keyEffect(Form& f, Qt::Key key);
    void forgetHeld();

    // ---- checking
    std::map<std::string, FormState> states();
    void check(const Step& step, const Effect& effect, const std::map<std::string, FormState>& before);
    void checkPress(Form& f, const Control* hit, bool inCanvas);
    QStringList heldState();
    void checkInert(const QString& what, const QStringList& heldBefore, const QWindow* focusBefore);
    void checkAlways();
    void fail(const QString& why)
    {
        if (!broken_)
            broken_ = why;
    }

    const MonkeyOptions& o_;
    Monkey::Fresh& fresh_;
    std::uint64_t seed_;
    int length_;
    Rng rng_;
    std::string firstForm_;  // where to start; drawn from its own seed when empty
    bool firstGiven_;
    std::unique_ptr<Program> program_;
    std::vector<InvariantSet> sets_;

    QStringList log_;
    QStringList warnings_;
    std::optional<QString> broken_;
    std::deque<Step> plan_;

    // The mouse: buttons down and the window that has them (the pointer grab).
    Qt::MouseButtons buttons_;
    QPointer<FormWindow> heldWindow_;
    std::string heldForm_;
    bool pressOnMenu_ = false;
    bool mouseHolds_ = false;  // the left button went down on a canvas while no finger held it
    std::optional<PressHeld> pressHeld_;
    // The fingers on the touch screen, in a sequence played by touch; the
    // program follows the first that touched while nothing else was held.
    bool touchSequence_ = false;
    std::map<int, FingerDown> fingers_;
    std::optional<int> holder_;
    bool ended_ = false;
    // Half of the sequences stay with a game: they drag more and seldom leave the form.
    bool persistent_ = false;
};

bool minimised(const FormWindow* w)
{
    return w && (w->windowState() & Qt::WindowMinimized);
}

Form* Sequence::formOf(const QWindow* window)
{
    if (!window)
        return nullptr;
    for (Form* f : loaded())
        if (FormWindow* w = test::windowOf(*f); w && w->windowHandle() == window)
            return f;
    return nullptr;
}

QWindow* Sequence::handleOf(const Form& f)
{
    FormWindow* w = test::windowOf(f);
    return w ? w->windowHandle() : nullptr;
}

// ---------------------------------------------------------------- choosing

std::vector<Aim> Sequence::aims(const Form& f, bool boardFull)
{
    std::vector<Aim> all;
    for (const auto& c : f.controls()) {
        if (!c->visible())
            continue;
        double w = 0;
        switch (c->controlClass()) {
        case ControlClass::CommandButton: {
            w = 1.0;
            const NavigationButton* nav = findNavigationButton(f.name(), c->name());
            const bool leaves = nav && nav->kind != NavigationKind::ResetInPlace &&
                                nav->kind != NavigationKind::Restart;
            if (persistent_ && leaves)
                w = 0.004;  // now and then: a sequence that stays spends most of its events on one game
            else if (persistent_ && !nav && boardFull)
                w = 5.0;  // every place is taken: time to press the check button
            if (f.name() == o_.endButton.first && c->name() == o_.endButton.second)
                w = persistent_ ? 0.005 : 0.04;  // the stop button ends the sequence: pressed now and then
            break;
        }
        case ControlClass::Image: {
            const auto& image = static_cast<const Image&>(*c);
            w = hasClick(f, *c) ? (persistent_ ? 0.1 : 1.0) : image.dragAutomatic() || hasDragDrop(f, *c) ? 0.6 : 0.3;
            break;
        }
        case ControlClass::Label: w = 0.2; break;
        default: break;
        }
        if (w > 0)
            all.push_back({c->name(), toQt(c->pixelRect()), w});
    }
    return all;
}

std::vector<Aim> Sequence::draggables(const Form& f)
{
    std::vector<Aim> all;
    for (const auto& c : f.controls())
        if (c->visible() && c->controlClass() == ControlClass::Image && static_cast<const Image&>(*c).dragAutomatic())
            all.push_back({c->name(), toQt(c->pixelRect()), c->enabled() ? 1.0 : 0.1});
    return all;
}

// A child drops mostly on free places (an empty slot, a blank cell: a target
// that does not show one of the pictures being dragged), so that games get
// solved now and then.
std::vector<Aim> Sequence::dropTargets(const Form& f)
{
    std::set<std::uint64_t> dragged;
    for (const auto& c : f.controls())
        if (c->controlClass() == ControlClass::Image && static_cast<const Image&>(*c).dragAutomatic())
            dragged.insert(static_cast<const Image&>(*c).picture().identity());
    std::vector<Aim> all;
    for (const auto& c : f.controls()) {
        if (!c->visible() || !hasDragDrop(f, *c))
            continue;
        double w = c->enabled() ? 1.0 : 0.2;
        if (c->controlClass() == ControlClass::Image) {
            const Picture& shown = static_cast<const Image&>(*c).picture();
            if (!shown.isEmpty() && dragged.contains(shown.identity()))
                w *= 0.01;
        }
        all.push_back({c->name(), toQt(c->pixelRect()), w});
    }
    return all;
}

const Aim& Sequence::choose(const std::vector<Aim>& aims)
{
    std::vector<double> w;
    for (const Aim& a : aims)
        w.push_back(a.weight);
    return aims[size_t(rng_.weighted(w))];
}

QPoint Sequence::pointIn(const QRect& r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return r.topLeft();
    return {r.x() + rng_.below(r.width()), r.y() + rng_.below(r.height())};
}

QPoint Sequence::anywhere(const Form& f, int margin)
{
    const QSize s = toQt(f.clientSize());
    return {rng_.between(-margin, s.width() - 1 + margin), rng_.between(-margin, s.height() - 1 + margin)};
}

QPoint Sequence::toward(QPoint from, QPoint to)
{
    const int t = rng_.between(1, 9);
    return from + (to - from) * t / 10 + QPoint(rng_.between(-8, 8), rng_.between(-8, 8));
}

void Sequence::plan()
{
    if (buttons_ && (!heldWindow_ || !heldWindow_->isVisible()))
        forgetHeld();  // the window holding the mouse has gone
    std::vector<int> gone;
    for (const auto& [n, d] : fingers_)
        if (!d.window || !d.window->isVisible())
            gone.push_back(n);  // the window a finger touched has gone: it touches nothing any more
    for (int n : gone)
        forgetFinger(n);
    if (!fingers_.empty()) {
        planFingers();
        return;
    }
    Form* f = nullptr;
    if (buttons_ && heldWindow_)
        f = registry().existing(heldForm_);
    if (!f || !f->isLoaded())
        f = topForm();
    if (f && !buttons_ && minimised(test::windowOf(*f))) {
        // The window with the input was minimised: the child brings it back
        // from the task bar, or another one.
        if (persistent_ || rng_.chance(0.5)) {
            plan_.emplace_back(Act::Activate, f->name());
            return;
        }
        f = nullptr;
    }
    if (!f) {
        // No window has the input (the active one was closed): the child clicks one of those left.
        const auto forms = loaded();
        if (!forms.empty())
            plan_.emplace_back(Act::Activate, rng_.pick(forms)->name());
        return;
    }
    if (buttons_ & Qt::LeftButton)
        planHeld(*f);
    else
        planFree(*f);
}

// Another window brought to the front, as from the task bar or with Alt+Tab.
void Sequence::planActivateOther(const Form& f)
{
    std::vector<Form*> others;
    for (Form* o : loaded())
        if (o != &f)
            others.push_back(o);
    if (!others.empty())
        plan_.emplace_back(Act::Activate, rng_.pick(others)->name());
}

// A key while the button or a finger is down.
void Sequence::planHeldKey(const std::string& form)
{
    static const std::vector<Qt::Key> keys{Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return, Qt::Key_F11};
    plan_.push_back({Act::Key, form, {}, Qt::NoButton, rng_.pick(keys)});
}

void Sequence::planFree(Form& f)
{
    const std::string n = f.name();
    const auto sources = draggables(f);
    const auto drops = dropTargets(f);
    const auto forms = loaded();
    enum {
        Click,
        DragToTarget,
        DragElsewhere,
        PressOnly,
        RightClick,
        DoubleClick,
        Keys,
        Hover,
        MenuItem,
        CloseWindow,
        Activate,
        Minimise,
        Resize,
        Maximise,
        Fullscreen
    };
    // Fewer drags when every place is taken: then the child clicks (a check button, a wrong piece).
    double free = 0;
    for (const Aim& a : drops)
        free += a.weight >= 1.0;
    const double room = drops.empty() ? 0.0 : std::max(0.1, free / double(drops.size()));
    const auto targets = aims(f, !drops.empty() && free == 0);
    const bool stay = persistent_;
    const std::vector<double> weights{targets.empty() ? 0.0
                                      : stay          ? 15.0
                                                      : 30.0,
                                      sources.empty() || drops.empty() ? 0.0 : (stay ? 50.0 : 25.0) * room,
                                      sources.empty() ? 0.0
                                      : stay          ? 3.0
                                                      : 6.0,
                                      stay ? 2.0 : 4.0,
                                      stay ? 2.0 : 4.0,
                                      targets.empty() ? 0.0
                                      : stay          ? 1.0
                                                      : 3.0,
                                      stay ? 0.05 : 10.0,
                                      stay ? 1.0 : 2.0,
                                      f.menu() ? (stay ? 0.5 : 3.0) : 0.0,
                                      stay ? 0.02 : 1.5,
                                      forms.size() > 1 ? (stay ? 0.005 : 3.0) : 0.0,
                                      stay ? 0.05 : 0.8,
                                      stay ? 0.3 : 1.5,
                                      stay ? 0.05 : 0.5,
                                      stay ? 0.05 : 0.5};
    const size_t begin = plan_.size();
    const int kind = rng_.weighted(weights);
    switch (kind) {
    case Click: {
        const Aim& a = choose(targets);
        const QPoint p = pointIn(a.rect);
        plan_.emplace_back(Act::Press, n, p);
        QPoint q = p;
        if (rng_.chance(0.25)) {
            q = rng_.chance(0.6) ? pointIn(a.rect) : anywhere(f, 40);
            plan_.emplace_back(Act::Move, n, q);
        }
        plan_.emplace_back(Act::Release, n, q);
        break;
    }
    case DragToTarget:
    case DragElsewhere: {
        const QPoint p = pointIn(choose(sources).rect);
        QPoint q;
        if (!drops.empty() && (weights[DragToTarget] > 0) && rng_.chance(0.8))
            q = pointIn(choose(drops).rect);
        else if (rng_.chance(0.5))
            q = pointIn(choose(targets.empty() ? sources : targets).rect);
        else
            q = anywhere(f, 60);
        plan_.emplace_back(Act::Press, n, p);
        for (int k = rng_.between(0, 3); k > 0; --k)
            plan_.emplace_back(Act::Move, n, toward(p, q));
        plan_.emplace_back(Act::Move, n, q);
        plan_.emplace_back(Act::Release, n, q);
        break;
    }
    case PressOnly:
        plan_.emplace_back(Act::Press, n,
                           rng_.chance(0.5) && !targets.empty() ? pointIn(choose(targets).rect) : anywhere(f, 0));
        break;
    case RightClick: {
        const QPoint p = rng_.chance(0.7) && !targets.empty() ? pointIn(choose(targets).rect) : anywhere(f, 0);
        plan_.emplace_back(Act::Press, n, p, Qt::RightButton);
        plan_.emplace_back(Act::Release, n, p, Qt::RightButton);
        break;
    }
    case DoubleClick: plan_.emplace_back(Act::DoubleClick, n, pointIn(choose(targets).rect)); break;
    case Keys: {
        for (int k = rng_.between(0, 3); k > 0; --k)
            plan_.push_back({Act::Key, n, {}, Qt::NoButton, rng_.chance(0.8) ? Qt::Key_Tab : Qt::Key_Backtab});
        if (plan_.empty() || rng_.chance(0.7)) {
            static const std::vector<Qt::Key> press{Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
            plan_.push_back({Act::Key, n, {}, Qt::NoButton, rng_.pick(press)});
        }
        break;
    }
    case Hover: plan_.emplace_back(Act::Move, n, anywhere(f, 0), Qt::NoButton); break;
    case MenuItem: plan_.emplace_back(Act::Menu, n); break;
    case CloseWindow: plan_.emplace_back(Act::Close, rng_.chance(0.7) ? n : rng_.pick(forms)->name()); break;
    case Activate: {
        planActivateOther(f);
        break;
    }
    case Minimise: plan_.emplace_back(Act::Minimise, n); break;
    case Resize: {
        // A corner dragged to somewhere between half and twice the form's size.
        const QSize c = toQt(f.clientSize());
        plan_.emplace_back(
            Act::Resize, n,
            QPoint(rng_.between(c.width() / 2, c.width() * 2), rng_.between(c.height() / 2, c.height() * 2)));
        break;
    }
    case Maximise: plan_.emplace_back(Act::Maximise, n); break;
    case Fullscreen:
        plan_.push_back({Act::Key, n, {}, Qt::NoButton, rng_.chance(0.7) ? Qt::Key_F11 : Qt::Key_Escape});
        break;
    default: break;
    }
    if (!touchSequence_ || plan_.size() == begin || rng_.chance(0.1))
        return;
    if (kind == MenuItem) {
        plan_.back().finger = 0;  // a tap on the menu item
        return;
    }
    // A gesture on the canvas played with a finger, where the finger can touch it.
    if ((kind != Click && kind != DragToTarget && kind != DragElsewhere && kind != PressOnly) ||
        !fingerMayTouch(f, plan_[begin].at))
        return;
    for (size_t i = begin; i < plan_.size(); ++i)
        plan_[i].finger = 0;
    // Now and then the system takes the touch away instead of the finger lifting.
    if (plan_.back().act == Act::Release && rng_.chance(0.04))
        plan_.back() = byFinger({Act::Cancel, n}, 0);
    // Meanwhile a second finger touches the same window or another, or the
    // mouse clicks: one pointer plays at a time, so they are nothing.
    const size_t last = plan_.size() - 1;  // the step that lifts the finger, or its last move
    if (last > begin && rng_.chance(0.35)) {
        std::vector<Step> episode;
        Form* other = &f;
        if (forms.size() > 1 && rng_.chance(0.3))
            other = rng_.pick(forms);
        const auto otherAims = aims(*other);
        const QPoint q = rng_.chance(0.7) && !otherAims.empty() ? pointIn(choose(otherAims).rect) : anywhere(*other, 0);
        if (rng_.chance(0.8)) {
            if (fingerMayTouch(*other, q)) {
                episode.push_back(byFinger({Act::Press, other->name(), q}, 1));
                QPoint r = q;
                for (int k = rng_.between(0, 2); k > 0; --k)
                    episode.push_back(byFinger({Act::Move, other->name(), r = anywhere(*other, 40)}, 1));
                if (rng_.chance(0.7))
                    episode.push_back(byFinger({Act::Release, other->name(), r}, 1));
            }
        } else {
            episode.emplace_back(Act::Press, n, q);
            episode.emplace_back(Act::Release, n, q);
        }
        // An empty episode is not inserted: for an empty range inserted in
        // its middle, the standard library's deque moves the later steps onto
        // themselves, which leaves their form names empty.
        const auto at = plan_.begin() + std::ptrdiff_t(rng_.between(int(begin) + 1, int(last)));
        if (!episode.empty())
            plan_.insert(at, episode.begin(), episode.end());
    }
}

// Fingers are down: they move and lift, a second one touches, the system
// takes the touches away, keys are pressed, another window comes to the front.
void Sequence::planFingers()
{
    std::vector<int> down;
    for (const auto& [n, d] : fingers_)
        down.push_back(n);
    const int moving = holder_ && rng_.chance(0.7) ? *holder_ : rng_.pick(down);
    Form* f = registry().existing(fingers_.at(moving).form);
    if (!f || !f->isLoaded()) {
        forgetFinger(moving);
        plan();
        return;
    }
    const std::string n = f->name();
    const auto targets = aims(*f);
    const auto drops = dropTargets(*f);
    const auto forms = loaded();
    enum { Move, Lift, SecondFinger, Keys, MouseClick, Cancel, SwitchWindow, CloseWindow, MouseRelease };
    // The mouse clicks on the window that has the input, as everywhere in this player.
    const bool mayClick = !buttons_ && QGuiApplication::focusWindow() == handleOf(*f);
    switch (rng_.weighted({30.0, 30.0, fingers_.size() < 2 ? 6.0 : 0.0, 4.0, mayClick ? 3.0 : 0.0, 1.0,
                           forms.size() > 1 ? 1.0 : 0.0, 0.5, buttons_ ? 10.0 : 0.0})) {
    case Move:
        plan_.push_back(byFinger(
            {Act::Move, n, rng_.chance(0.6) && !targets.empty() ? pointIn(choose(targets).rect) : anywhere(*f, 60)},
            moving));
        break;
    case Lift: {
        const bool dragging = holder_ == moving && pressHeld_ && pressHeld_->drag;
        const QPoint q = dragging && !drops.empty() && rng_.chance(0.6) ? pointIn(choose(drops).rect)
                         : rng_.chance(0.5) && !targets.empty()         ? pointIn(choose(targets).rect)
                                                                        : anywhere(*f, 60);
        plan_.push_back(byFinger({Act::Release, n, q}, moving));
        break;
    }
    case SecondFinger: {
        Form* other = forms.size() > 1 && rng_.chance(0.3) ? rng_.pick(forms) : f;
        const QPoint q = anywhere(*other, 0);
        if (fingerMayTouch(*other, q))
            plan_.push_back(byFinger({Act::Press, other->name(), q}, fingers_.contains(0) ? 1 : 0));
        else
            plan_.push_back(byFinger({Act::Move, n, anywhere(*f, 60)}, moving));
        break;
    }
    case Keys: planHeldKey(n); break;
    case MouseClick: {
        const QPoint q = rng_.chance(0.6) && !targets.empty() ? pointIn(choose(targets).rect) : anywhere(*f, 0);
        plan_.emplace_back(Act::Press, n, q);
        plan_.emplace_back(Act::Move, n, rng_.chance(0.5) ? q : anywhere(*f, 0));
        plan_.emplace_back(Act::Release, n, q);
        break;
    }
    case Cancel: plan_.push_back(byFinger({Act::Cancel, n}, moving)); break;
    case SwitchWindow: {
        planActivateOther(*f);
        break;
    }
    case CloseWindow: plan_.emplace_back(Act::Close, rng_.pick(forms)->name()); break;
    case MouseRelease: plan_.emplace_back(Act::Release, heldForm_, anywhere(*f, 0)); break;
    default: break;
    }
}

// Whether a finger touching that canvas point reaches the window: the point
// lies on its canvas, and no other window lies over it on the screen.
bool Sequence::landsOn(const FormWindow* w, QPoint canvasPoint)
{
    if (!w || !w->isVisible() || minimised(w) || !w->canvas()->rect().contains(canvasPoint))
        return false;
    return QGuiApplication::topLevelAt(w->canvas()->mapToGlobal(canvasPoint)) == w->windowHandle();
}

bool Sequence::fingerMayTouch(const Form& f, QPoint at)
{
    const FormWindow* w = test::windowOf(f);
    return w && landsOn(w, toCanvas(w->canvas()->transform(), at));
}

void Sequence::planHeld(Form& f)
{
    const std::string& n = f.name();
    const auto targets = aims(f);
    const auto drops = dropTargets(f);
    const auto forms = loaded();
    enum { Move, Release, Keys, RightClick, CloseWindow, SwitchWindow };
    const double away = persistent_ ? 0.02 : 1.0;  // a sequence that stays seldom leaves its game mid-press
    switch (rng_.weighted({30.0, 30.0, persistent_ ? 0.3 : 6.0, 3.0, away, forms.size() > 1 ? away : 0.0})) {
    case Move:
        plan_.emplace_back(Act::Move, n,
                           rng_.chance(0.6) && !targets.empty() ? pointIn(choose(targets).rect) : anywhere(f, 60));
        break;
    case Release: {
        QPoint q;
        if (pressHeld_ && pressHeld_->drag && !drops.empty() && rng_.chance(0.6))
            q = pointIn(choose(drops).rect);
        else if (pressHeld_ && !pressHeld_->drag && rng_.chance(0.5) && f.find(pressHeld_->control))
            q = pointIn(toQt(f.find(pressHeld_->control)->pixelRect()));
        else if (rng_.chance(0.5) && !targets.empty())
            q = pointIn(choose(targets).rect);
        else
            q = anywhere(f, 60);
        plan_.emplace_back(Act::Release, n, q);
        break;
    }
    case Keys: planHeldKey(n); break;
    case RightClick: {
        const QPoint p = anywhere(f, 0);
        plan_.emplace_back(Act::Press, n, p, Qt::RightButton);
        plan_.emplace_back(Act::Release, n, p, Qt::RightButton);
        break;
    }
    case CloseWindow: plan_.emplace_back(Act::Close, rng_.pick(forms)->name()); break;
    case SwitchWindow: {
        // Alt+Tab with the button still down: the window holding it loses the input.
        planActivateOther(f);
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------- sending

void Sequence::mouse(QWindow* window, QPoint windowPoint, Qt::MouseButton button, QEvent::Type type, bool newTime)
{
    if (newTime)
        QTest::lastMouseTimestamp += 1;
    qt_handleMouseEvent(window, windowPoint, window->mapToGlobal(windowPoint), buttons_, button, type, Qt::NoModifier,
                        QTest::lastMouseTimestamp);
    if (type == QEvent::MouseButtonRelease)
        QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;  // the next press is no double click
    QCoreApplication::processEvents();
}

void Sequence::forgetHeld()
{
    buttons_ = Qt::NoButton;
    heldWindow_.clear();
    heldForm_.clear();
    pressOnMenu_ = false;
    mouseHolds_ = false;
    if (!holder_)
        pressHeld_.reset();
}

// A tap by a finger of its own, at a point of a window (the message box's
// button, a window behind the box).
void Sequence::tap(QWindow* window, QPoint windowPoint)
{
    QPointer<QWindow> guard = window;
    const QPointF global = window->mapToGlobal(QPointF(windowPoint));
    const int id = nextTouchId++;
    qt_handleTouchEventv2(window, test::Fingers::touchScreen(),
                          {QEventPoint(id, QEventPoint::State::Pressed, QPointF(windowPoint), global)});
    QCoreApplication::processEvents();
    if (guard && guard->isVisible())
        qt_handleTouchEventv2(guard, test::Fingers::touchScreen(),
                              {QEventPoint(id, QEventPoint::State::Released, QPointF(windowPoint), global)});
    QCoreApplication::processEvents();
}

void Sequence::forgetFinger(int finger)
{
    fingers_.erase(finger);
    if (holder_ == finger) {
        holder_.reset();
        pressHeld_.reset();
    }
}

// One touch event: the finger in its new state, every other finger down
// where it stands, as a touch screen reports them. The finger comes first:
// Qt 6.4 gives a touch that begins after another's in an event to the
// other's window.
void Sequence::touch(int finger, QEventPoint::State state)
{
    QList<QEventPoint> points;
    QWindow* window = nullptr;
    for (const auto& [n, d] : fingers_) {
        if (!d.window || !d.window->isVisible())
            continue;
        const QPointF local = d.window->windowHandle()->mapFromGlobal(d.global);
        if (n == finger) {
            points.prepend(QEventPoint(d.id, state, local, d.global));
            window = d.window->windowHandle();
        } else {
            points.append(QEventPoint(d.id, QEventPoint::State::Stationary, local, d.global));
        }
    }
    if (!window)
        return;
    qt_handleTouchEventv2(window, test::Fingers::touchScreen(), points);
    QCoreApplication::processEvents();
}

Effect Sequence::releaseEffect(Form& f, QPoint at, bool overMenu)
{
    if (pressOnMenu_ || overMenu)
        return {Effect::Handler, f.name()};
    if (!pressHeld_ || pressHeld_->form != f.name() || pressHeld_->generation != f.generation())
        return {};
    if (QGuiApplication::focusWindow() != handleOf(f))
        return {Effect::Handler, f.name()};  // another window may lie over the point: left to the runtime
    const bool inCanvas = clientRect(f).contains(at);
    Control* target = inCanvas ? hitAt(f, at) : nullptr;
    if (!target || !target->enabled())
        return {};
    if (pressHeld_->drag) {
        if (target->name() != pressHeld_->control && hasDragDrop(f, *target))
            return {Effect::Handler, f.name(), std::string()};
        return {};
    }
    if (target->name() == pressHeld_->control && hasClick(f, *target))
        return {Effect::Handler, f.name(), target->name()};
    return {};
}

Effect Sequence::keyEffect(Form& f, Qt::Key key)
{
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter)
        return {};
    if (pressHeld_ && pressHeld_->form == f.name())
        return {};  // keys wait while a press or drag is held
    CommandButton* b = f.focusedButton();
    if (!b || !b->visible() || !hasClick(f, *b))
        return {};
    return {Effect::Handler, f.name(), b->name()};
}

// Sends one event; false when it cannot be sent any more (its window went).
bool Sequence::send(const Step& s, Effect& effect, QString& text)
{
    if (s.finger >= 0)
        return sendFinger(s, effect, text);
    Form* f = registry().existing(s.form);
    const bool grabbed = (s.act == Act::Move || s.act == Act::Release) && buttons_;
    if (grabbed) {
        if (!heldWindow_ || !heldWindow_->isVisible()) {
            forgetHeld();  // the window holding the mouse has gone: its release goes nowhere
            return false;
        }
        f = registry().existing(heldForm_);
    }
    if (!f || !f->isLoaded() || !test::windowOf(*f))
        return false;
    FormWindow* w = test::windowOf(*f);
    QWindow* handle = w->windowHandle();
    FormCanvas* canvas = w->canvas();
    // The form pixel goes to the canvas through the window's transform, and
    // the player reckons with the form pixel the runtime maps it back to
    // (another one where the form is shown smaller than its own size).
    const FormTransform transform = canvas->transform();
    QPoint cp = toCanvas(transform, s.at);
    QPoint wp = canvas->mapTo(w, cp);
    if (wp.isNull()) {
        cp += QPoint(1, 1);
        wp += QPoint(1, 1);
    }
    const QPoint at = toForm(transform, QPointF(cp));
    // A minimised window takes no pointer and no keys until it is brought back.
    if (minimised(w) && !grabbed &&
        (s.act == Act::Press || s.act == Act::Move || s.act == Act::DoubleClick || s.act == Act::Menu))
        return false;
    const bool inCanvas = clientRect(*f).contains(at);
    const bool overMenu = w->menuBar() && w->menuBar()->geometry().contains(wp);
    const QString place = QStringLiteral("%1 at %2,%3").arg(qs(f->name())).arg(at.x()).arg(at.y());
    auto under = [&]() -> QString {
        Control* c = inCanvas ? hitAt(*f, at) : nullptr;
        return c          ? QStringLiteral(" on %1").arg(qs(c->name()))
               : overMenu ? QStringLiteral(" on the menu bar")
                          : QString();
    };

    switch (s.act) {
    case Act::Press: {
        if (buttons_ & s.button)
            return false;
        Control* hit = inCanvas ? hitAt(*f, at) : nullptr;
        text = QStringLiteral("press %1 %2%3").arg(QLatin1String(buttonName(s.button)), place, under());
        if (!buttons_) {
            heldWindow_ = w;
            heldForm_ = f->name();
            pressOnMenu_ = false;
        }
        buttons_ |= s.button;
        if (holder_) {
            // A finger holds: the mouse is nothing to the forms until it lifts.
            text += QStringLiteral(" (a finger holds)");
            const QStringList held = heldState();
            const QWindow* focus = QGuiApplication::focusWindow();
            mouse(handle, wp, s.button, QEvent::MouseButtonPress);
            checkInert(QStringLiteral("a mouse press while a finger holds"), held, focus);
            return true;
        }
        if (s.button == Qt::LeftButton) {
            pressOnMenu_ = overMenu;
            mouseHolds_ = !overMenu;
            pressHeld_.reset();
            if (hit && hit->enabled() && inCanvas) {
                const bool drag = hit->controlClass() == ControlClass::Image &&
                                  static_cast<Image*>(hit)->dragAutomatic();
                if (drag || hit->controlClass() == ControlClass::Image ||
                    hit->controlClass() == ControlClass::CommandButton)
                    pressHeld_ = PressHeld{f->name(), f->generation(), hit->name(), drag};
            }
        }
        mouse(handle, wp, s.button, QEvent::MouseButtonPress);
        if (s.button == Qt::LeftButton && registry().existing(s.form) == f && f->isLoaded())
            checkPress(*f, f->find(pressHeld_ ? pressHeld_->control : std::string()), inCanvas);
        return true;
    }
    case Act::Move:
        text = QStringLiteral("move to %1%2%3")
                   .arg(place, under(), buttons_ ? QString() : QStringLiteral(" (no button)"));
        if (holder_) {
            text += QStringLiteral(" (a finger holds)");
            const QStringList held = heldState();
            const QWindow* focus = QGuiApplication::focusWindow();
            mouse(handle, wp, Qt::NoButton, QEvent::MouseMove);
            checkInert(QStringLiteral("a mouse move while a finger holds"), held, focus);
            return true;
        }
        mouse(handle, wp, Qt::NoButton, QEvent::MouseMove);
        return true;
    case Act::Release: {
        if (!(buttons_ & s.button))
            return false;
        text = QStringLiteral("release %1 %2%3").arg(QLatin1String(buttonName(s.button)), place, under());
        if (holder_) {
            text += QStringLiteral(" (a finger holds)");
            buttons_ &= ~s.button;
            const QStringList held = heldState();
            const QWindow* focus = QGuiApplication::focusWindow();
            mouse(handle, wp, s.button, QEvent::MouseButtonRelease);
            checkInert(QStringLiteral("a mouse release while a finger holds"), held, focus);
            if (!buttons_)
                forgetHeld();
            return true;
        }
        if (s.button == Qt::LeftButton)
            effect = releaseEffect(*f, at, overMenu);
        buttons_ &= ~s.button;
        mouse(handle, wp, s.button, QEvent::MouseButtonRelease);
        if (s.button == Qt::LeftButton) {
            pressHeld_.reset();
            mouseHolds_ = false;
        }
        if (!buttons_)
            forgetHeld();
        return true;
    }
    case Act::DoubleClick: {
        if (buttons_ || !fingers_.empty())
            return false;
        text = QStringLiteral("double-click %1%2").arg(place, under());
        Control* hit = inCanvas ? hitAt(*f, at) : nullptr;
        effect = {Effect::Handler, f->name(), hit ? hit->name() : std::string()};
        // Press, release, press and release at one time stamp: the second press is a double click.
        QTest::lastMouseTimestamp += 1;
        const QPointer<QWindow> guard = handle;
        buttons_ = Qt::LeftButton;
        mouse(handle, wp, Qt::LeftButton, QEvent::MouseButtonPress, false);
        buttons_ = Qt::NoButton;
        if (guard)
            qt_handleMouseEvent(handle, wp, handle->mapToGlobal(wp), buttons_, Qt::LeftButton,
                                QEvent::MouseButtonRelease, Qt::NoModifier, QTest::lastMouseTimestamp);
        QCoreApplication::processEvents();
        if (guard && guard->isVisible()) {
            buttons_ = Qt::LeftButton;
            mouse(handle, wp, Qt::LeftButton, QEvent::MouseButtonPress, false);
            buttons_ = Qt::NoButton;
            if (guard)
                mouse(handle, wp, Qt::LeftButton, QEvent::MouseButtonRelease, false);
        }
        forgetHeld();
        return true;
    }
    case Act::Key: {
        QWindow* focus = QGuiApplication::focusWindow();
        Form* k = formOf(focus);
        if (!k)
            return false;
        text = QStringLiteral("key %1 to %2%3")
                   .arg(keyName(s.key), qs(k->name()),
                        k->focusedButton() ? QStringLiteral(" (focus on %1)").arg(qs(k->focusedButton()->name()))
                                           : QString());
        effect = keyEffect(*k, s.key);
        QTest::keyClick(focus, s.key);
        return true;
    }
    case Act::Menu: {
        if (buttons_ || !fingers_.empty() || !w->menuBar() || w->menuBar()->actions().isEmpty())
            return false;
        QMenuBar* bar = w->menuBar();
        QAction* item = bar->actions().first();
        const QPoint mp = bar->mapTo(w, bar->actionGeometry(item).center());
        text = QStringLiteral("choose the menu item \"%1\" of %2").arg(item->text(), qs(f->name()));
        effect = {Effect::Handler, f->name()};
        buttons_ = Qt::LeftButton;
        mouse(handle, mp, Qt::LeftButton, QEvent::MouseButtonPress);
        buttons_ = Qt::NoButton;
        if (handle->isVisible())
            mouse(handle, mp, Qt::LeftButton, QEvent::MouseButtonRelease);
        forgetHeld();
        return true;
    }
    case Act::Close: {
        text = QStringLiteral("close the window of %1").arg(qs(f->name()));
        effect = {Effect::Close, f->name()};
        handle->close();
        return true;
    }
    case Act::Activate: {
        // As from the task bar: a minimised window comes back as it was.
        text = QStringLiteral("bring %1 to the front%2%3")
                   .arg(qs(f->name()), minimised(w) ? QStringLiteral(" from minimised") : QString(),
                        buttons_ ? QStringLiteral(" (the button held)") : QString());
        if (minimised(w))
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->raise();
        w->activateWindow();
        QCoreApplication::processEvents();
        return true;
    }
    case Act::Minimise: {
        if (buttons_ || !fingers_.empty() || minimised(w))
            return false;
        text = QStringLiteral("minimise the window of %1").arg(qs(f->name()));
        w->setWindowState(w->windowState() | Qt::WindowMinimized);
        QCoreApplication::processEvents();
        return true;
    }
    case Act::Resize: {
        if (buttons_ || !fingers_.empty() || minimised(w) ||
            (w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            return false;
        const QSize size(s.at.x(), s.at.y());
        text =
            QStringLiteral("resize the window of %1 to %2x%3").arg(qs(f->name())).arg(size.width()).arg(size.height());
        w->resize(size);
        QCoreApplication::processEvents();
        return true;
    }
    case Act::Maximise: {
        if (buttons_ || !fingers_.empty() || minimised(w))
            return false;
        const bool on = !(w->windowState() & Qt::WindowMaximized);
        text = QStringLiteral("%1 the window of %2")
                   .arg(on ? QStringLiteral("maximise") : QStringLiteral("restore"), qs(f->name()));
        w->setWindowState(on ? (w->windowState() | Qt::WindowMaximized) : (w->windowState() & ~Qt::WindowMaximized));
        QCoreApplication::processEvents();
        return true;
    }
    case Act::Cancel: break;
    }
    return false;
}

// Sends one touch event of a finger, or a tap on a menu item, or the
// system's TouchCancel; false when it cannot be sent.
bool Sequence::sendFinger(const Step& s, Effect& effect, QString& text)
{
    const QString who = QStringLiteral("finger %1").arg(s.finger + 1);
    if (s.act == Act::Cancel) {
        if (fingers_.empty())
            return false;
        QPointer<FormWindow> w = fingers_.begin()->second.window;
        if (!w || !w->isVisible())
            return false;
        text = QStringLiteral("the system takes the touches away (TouchCancel)%1")
                   .arg(holder_ ? QStringLiteral(", the finger that holds among them") : QString());
        const bool held = holder_.has_value();
        const QStringList before = heldState();
        const QWindow* focus = QGuiApplication::focusWindow();
        // As Qt hands a cancel on: to the window, which passes it to every
        // widget that has touches of the device.
        QTouchEvent cancel(QEvent::TouchCancel, test::Fingers::touchScreen());
        QCoreApplication::sendEvent(w->windowHandle(), &cancel);
        QCoreApplication::processEvents();
        if (held) {
            holder_.reset();
            pressHeld_.reset();
        } else {
            checkInert(QStringLiteral("a TouchCancel while no finger held"), before, focus);
        }
        // The cancelled fingers leave the screen afterwards; the program has
        // forgotten them and takes their lifting for nothing.
        const QStringList after = heldState();
        std::vector<int> down;
        for (const auto& [n, d] : fingers_)
            down.push_back(n);
        for (int n : down) {
            touch(n, QEventPoint::State::Released);
            fingers_.erase(n);
        }
        checkInert(QStringLiteral("a cancelled finger lifting"), after, QGuiApplication::focusWindow());
        return true;
    }
    if (s.act == Act::Menu) {
        Form* f = registry().existing(s.form);
        FormWindow* w = f && f->isLoaded() ? test::windowOf(*f) : nullptr;
        if (!w || minimised(w) || buttons_ || !fingers_.empty() || !w->menuBar() || w->menuBar()->actions().isEmpty())
            return false;
        QMenuBar* bar = w->menuBar();
        QAction* item = bar->actions().first();
        const QPoint mp = bar->mapTo(w, bar->actionGeometry(item).center());
        const QPointF global = w->mapToGlobal(QPointF(mp));
        QPointer<QWindow> handle = w->windowHandle();
        if (QGuiApplication::topLevelAt(global.toPoint()) != handle)
            return false;
        text = QStringLiteral("tap the menu item \"%1\" of %2").arg(item->text(), qs(f->name()));
        effect = {Effect::Handler, f->name()};
        tap(handle, mp);
        return true;
    }

    // Touch, move or lift: on the window the finger touched.
    Form* f = nullptr;
    FormWindow* w = nullptr;
    if (s.act == Act::Press) {
        if (fingers_.contains(s.finger))
            return false;
        f = registry().existing(s.form);
        w = f && f->isLoaded() ? test::windowOf(*f) : nullptr;
    } else {
        const auto it = fingers_.find(s.finger);
        if (it == fingers_.end())
            return false;
        w = it->second.window;
        f = registry().existing(it->second.form);
        if (!w || !w->isVisible() || !f || !f->isLoaded()) {
            forgetFinger(s.finger);  // its window has gone: the finger touches nothing any more
            return false;
        }
    }
    if (!w)
        return false;
    FormCanvas* canvas = w->canvas();
    const FormTransform transform = canvas->transform();
    const QPoint cp = toCanvas(transform, s.at);
    const QPointF global = canvas->mapToGlobal(QPointF(cp));
    const QPoint at = toForm(transform, QPointF(cp));
    const bool inCanvas = clientRect(*f).contains(at);
    const QString place = QStringLiteral("%1 at %2,%3").arg(qs(f->name())).arg(at.x()).arg(at.y());
    auto under = [&](QPoint p) -> QString {
        Control* c = clientRect(*f).contains(p) ? hitAt(*f, p) : nullptr;
        return c ? QStringLiteral(" on %1").arg(qs(c->name())) : QString();
    };
    const QStringList heldBefore = heldState();
    const QWindow* focusBefore = QGuiApplication::focusWindow();

    switch (s.act) {
    case Act::Press: {
        if (!landsOn(w, cp))
            return false;  // another window lies there on the screen, or the point is off the canvas
        // The program follows this finger if nothing else holds a form.
        const bool holds = !holder_ && !mouseHoldsCanvas() && !registry().ended();
        Control* hit = inCanvas ? hitAt(*f, at) : nullptr;
        text = QStringLiteral("%1 touches %2%3%4")
                   .arg(who, place, under(at), holds ? QString() : QStringLiteral(" (another pointer holds)"));
        FingerDown d;
        d.id = nextTouchId++;
        d.window = w;
        d.form = f->name();
        d.global = d.pressGlobal = global;
        if (holds) {
            holder_ = s.finger;
            pressHeld_.reset();
            if (hit && hit->enabled()) {
                const bool drag = hit->controlClass() == ControlClass::Image &&
                                  static_cast<Image*>(hit)->dragAutomatic();
                if (drag || hit->controlClass() == ControlClass::Image ||
                    hit->controlClass() == ControlClass::CommandButton)
                    pressHeld_ = PressHeld{f->name(), f->generation(), hit->name(), drag};
            }
            d.tapping = !(pressHeld_ && pressHeld_->drag);  // a drag follows the finger from its first move
        }
        fingers_[s.finger] = d;
        touch(s.finger, QEventPoint::State::Pressed);
        if (!holds)
            checkInert(QStringLiteral("a finger touching while another pointer holds"), heldBefore, focusBefore);
        else if (registry().existing(s.form) == f && f->isLoaded())
            checkPress(*f, f->find(pressHeld_ ? pressHeld_->control : std::string()), inCanvas);
        return true;
    }
    case Act::Move: {
        FingerDown& d = fingers_.at(s.finger);
        const bool holds = holder_ == s.finger;
        d.global = global;
        if (holds && d.tapping && QLineF(d.pressGlobal, global).length() > tapSlack())
            d.tapping = false;
        text = QStringLiteral("%1 moves to %2%3%4")
                   .arg(who, place, under(at),
                        !holds      ? QStringLiteral(" (it holds nothing)")
                        : d.tapping ? QStringLiteral(" (within the tap slack)")
                                    : QString());
        touch(s.finger, QEventPoint::State::Updated);
        if (!holds)
            checkInert(QStringLiteral("a finger that holds nothing moving"), heldBefore, focusBefore);
        return true;
    }
    case Act::Release: {
        const FingerDown d = fingers_.at(s.finger);
        const bool holds = holder_ == s.finger;
        fingers_.at(s.finger).global = global;
        // A tap within the slack lifts where it touched on the screen, wherever
        // the form lies there now (the window may have changed meanwhile).
        const QPoint liftedAt = holds && d.tapping ? toForm(transform, canvas->mapFromGlobal(d.pressGlobal)) : at;
        text =
            QStringLiteral("%1 lifts at %2%3%4")
                .arg(who, place, under(at),
                     !holds ? QStringLiteral(" (it holds nothing)")
                     : d.tapping
                         ? QStringLiteral(" (a tap: lifts where it touched, %1,%2)").arg(liftedAt.x()).arg(liftedAt.y())
                         : QString());
        if (holds) {
            effect = releaseEffect(*f, liftedAt, false);
            holder_.reset();
        }
        touch(s.finger, QEventPoint::State::Released);
        fingers_.erase(s.finger);
        if (holds)
            pressHeld_.reset();
        else
            checkInert(QStringLiteral("a finger that holds nothing lifting"), heldBefore, focusBefore);
        return true;
    }
    default: return false;
    }
}

// ---------------------------------------------------------------- checking

std::map<std::string, FormState> Sequence::states()
{
    std::map<std::string, FormState> all;
    for (Form* f : loaded())
        all.emplace(f->name(), stateOf(*f));
    return all;
}

// Right after a left press: a drag exactly when an enabled draggable image was hit,
// a held button exactly when an enabled button was hit.
void Sequence::checkPress(Form& f, const Control* hit, bool inCanvas)
{
    const bool drag = pressHeld_ && pressHeld_->drag;
    const auto& d = f.drag();
    if (d.has_value() != drag)
        fail(QStringLiteral("a press %1 %2 a drag")
                 .arg(inCanvas && hit ? QStringLiteral("on ") + qs(hit->name()) : QStringLiteral("there"),
                      d ? QStringLiteral("started") : QStringLiteral("did not start")));
    else if (d && d->source != hit)
        fail(QStringLiteral("the drag started from %1 instead of %2").arg(qs(d->source->name()), qs(hit->name())));
    const bool button = hit && !drag && hit->controlClass() == ControlClass::CommandButton;
    if (f.pressedButton() != (button ? hit : nullptr))
        fail(QStringLiteral("after a press %1 the held button is %2")
                 .arg(hit ? QStringLiteral("on ") + qs(hit->name()) : QStringLiteral("on nothing"),
                      f.pressedButton() ? qs(f.pressedButton()->name()) : QStringLiteral("none")));
    if (button && f.focusedButton() != hit)
        fail(QStringLiteral("pressing %1 did not give it the focus").arg(qs(hit->name())));
}

// What every loaded form holds: its drag (source and outline) and its pressed button.
QStringList Sequence::heldState()
{
    QStringList held;
    for (Form* f : loaded()) {
        const auto& d = f->drag();
        held << QStringLiteral("%1: %2, %3")
                    .arg(qs(f->name()),
                         d ? QStringLiteral("drags %1 with its outline at %2,%3")
                                 .arg(qs(d->source->name()))
                                 .arg(d->outline.left())
                                 .arg(d->outline.top())
                           : QStringLiteral("no drag"),
                         f->pressedButton() ? QStringLiteral("holds %1").arg(qs(f->pressedButton()->name()))
                                            : QStringLiteral("no button held"));
    }
    return held;
}

// An event that is nothing to the forms: it changed no press or drag and
// brought no window to the front.
void Sequence::checkInert(const QString& what, const QStringList& heldBefore, const QWindow* focusBefore)
{
    const QStringList now = heldState();
    if (now != heldBefore)
        fail(QStringLiteral("%1 changed what the forms hold: %2 became %3")
                 .arg(what, heldBefore.join(QLatin1String("; ")), now.join(QLatin1String("; "))));
    if (QGuiApplication::focusWindow() != focusBefore)
        fail(QStringLiteral("%1 brought another window to the front").arg(what));
}

void Sequence::checkAlways()
{
    // Windows exactly for the loaded forms, each visible, as large as its form, with its caption.
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<FormWindow*>(w))
            ++windows;
    const auto forms = loaded();
    if (windows != int(forms.size()))
        fail(QStringLiteral("%1 form windows exist for %2 loaded forms").arg(windows).arg(forms.size()));
    for (const std::string& name : registry().formNames()) {
        Form* f = registry().existing(name);
        if (!f)
            continue;
        FormWindow* w = test::windowOf(*f);
        if (f->isLoaded() != (w && w->isVisible()))
            fail(QStringLiteral("%1 is %2loaded but its window is %3")
                     .arg(qs(name), f->isLoaded() ? QString() : QStringLiteral("not "),
                          w ? (w->isVisible() ? "visible" : "hidden") : "missing"));
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) && w->isVisible())
            fail(QStringLiteral("a message box is still open"));

    int drags = 0;
    for (Form* f : forms) {
        FormWindow* w = test::windowOf(*f);
        // The whole form is shown, centred, at one scale.
        if (w) {
            const FormTransform t = w->canvas()->transform();
            const RectF c = t.clientOnCanvas();
            const QRectF shown(c.x, c.y, c.width, c.height);
            const QSizeF room = QSizeF(w->canvas()->size()) - shown.size();
            if (room.width() < -0.5 || room.height() < -0.5 || std::min(room.width(), room.height()) > 0.5 ||
                std::abs(shown.left() - std::floor(room.width() / 2)) > 0.5 ||
                std::abs(shown.top() - std::floor(room.height() / 2)) > 0.5)
                fail(QStringLiteral("the window of %1 shows the form at %2,%3 %4x%5 on a canvas of %6x%7")
                         .arg(qs(f->name()))
                         .arg(shown.left())
                         .arg(shown.top())
                         .arg(shown.width())
                         .arg(shown.height())
                         .arg(w->canvas()->width())
                         .arg(w->canvas()->height()));
            // Fullscreen is the program's setting: every window follows it.
            if (!minimised(w) && w->isFullScreen() != fullscreenSetting())
                fail(QStringLiteral("the window of %1 is %2fullscreen while the program's setting is %3")
                         .arg(qs(f->name()), w->isFullScreen() ? QString() : QStringLiteral("not "),
                              fullscreenSetting() ? QStringLiteral("on") : QStringLiteral("off")));
        }
        if (w && w->windowTitle() != f->description().caption)
            fail(QStringLiteral("the window of %1 is titled \"%2\"").arg(qs(f->name()), w->windowTitle()));

        // Nothing is held once the button is up; a drag is of a visible, enabled, draggable image of the form;
        // the keyboard focus is on a visible button of the form, when it has one.
        if (f->drag())
            ++drags;
        for (const std::string& why : test::brokenFormRules(*f, mouseHoldsCanvas() || holder_))
            fail(qs(why));

        if (std::find(o_.unchangingForms.begin(), o_.unchangingForms.end(), f->name()) != o_.unchangingForms.end())
            if (const QString d2 = differenceUpToIdentity(fresh_.of(f->formClass()), stateOf(*f)); !d2.isEmpty())
                fail(QStringLiteral("%1 changed: %2").arg(qs(f->name()), d2));

        for (const InvariantSet& set : sets_) {
            try {
                const std::vector<std::string> broken = test::brokenInvariants(set, *f);
                if (!broken.empty())
                    fail(qs(test::joined(broken, "; ")));
            } catch (const std::exception& e) {
                fail(QStringLiteral("an invariant of %1 failed to read the form: %2")
                         .arg(qs(f->name()), QString::fromUtf8(e.what())));
            }
        }
    }
    if (drags > 1)
        fail(QStringLiteral("%1 forms are dragging at once").arg(drags));
    if (!warnings_.isEmpty()) {
        fail(QStringLiteral("Qt warned: %1").arg(warnings_.join(QLatin1String(" | "))));
        warnings_.clear();
    }
}

void Sequence::check(const Step& step, const Effect& effect, const std::map<std::string, FormState>& before)
{
    const std::string& acted = effect.form;
    if (registry().ended()) {
        ended_ = true;
        if (registry().exitCode() != 0)
            fail(QStringLiteral("the program stopped on a runtime error (exit code %1; its report is above)")
                     .arg(registry().exitCode()));
        const bool lastClosed = effect.kind == Effect::Close && before.size() == 1 && before.contains(acted);
        const bool stopped = effect.kind == Effect::Handler && acted == o_.endButton.first &&
                             effect.control == o_.endButton.second;
        if (!stopped && !lastClosed)
            fail(QStringLiteral("the program ended, though neither %1 was pressed nor the last window closed")
                     .arg(qs(o_.endButton.second)));
        if (effect.kind == Effect::Close && !lastClosed)
            fail(QStringLiteral("closing %1 ended the program while other forms were open").arg(qs(acted)));
        if (!loaded().empty())
            fail(QStringLiteral("the program ended with %1 forms loaded").arg(loaded().size()));
        checkAlways();
        return;
    }
    if (effect.kind == Effect::Close && before.size() == 1 && before.contains(acted))
        fail(QStringLiteral("closing the last window did not end the program"));
    if (effect.kind == Effect::Handler && acted == o_.endButton.first && effect.control == o_.endButton.second)
        fail(QStringLiteral("%1 did not end the program").arg(qs(effect.control)));

    const NavigationButton* nav = effect.control.empty() ? nullptr : findNavigationButton(acted, effect.control);
    const bool showsOther = nav && (nav->kind == NavigationKind::Next || nav->kind == NavigationKind::Previous ||
                                    nav->kind == NavigationKind::BackToStart);
    const bool restarts = nav && nav->kind == NavigationKind::Restart;

    // Forms that received nothing stay exactly as they were; a form is rebuilt only as its description.
    for (const auto& [name, state] : before) {
        Form* f = registry().existing(name);
        const bool handled = effect.kind == Effect::Handler && name == acted;
        if (effect.kind == Effect::Close && name == acted) {
            if (f->isLoaded())
                fail(QStringLiteral("closing the window of %1 left it loaded").arg(qs(acted)));
            continue;
        }
        if (!f->isLoaded()) {
            fail(QStringLiteral("%1 was unloaded by %2")
                     .arg(qs(name),
                          handled ? QStringLiteral("its own handler") : QStringLiteral("an event it did not receive")));
            continue;
        }
        const FormState now = stateOf(*f);
        if (!handled || showsOther) {
            if (const QString d = differenceExact(state, now); !d.isEmpty())
                fail(handled ? QStringLiteral("%1 changed when %2 showed another form: %3")
                                   .arg(qs(acted), qs(effect.control), d)
                             : QStringLiteral("%1 changed without receiving the event: %2").arg(qs(name), d));
        } else if (now.generation != state.generation) {
            if (const QString d = differenceUpToIdentity(fresh_.of(f->formClass()), now); !d.isEmpty())
                fail(QStringLiteral("%1 rebuilt is not as described: %2").arg(qs(acted), d));
        } else if (restarts) {
            fail(QStringLiteral("%1 of %2 did not rebuild the form").arg(qs(effect.control), qs(acted)));
        }
    }
    for (Form* f : loaded()) {
        if (before.contains(f->name()))
            continue;
        if (effect.kind != Effect::Handler)
            fail(QStringLiteral("%1 was shown although no handler ran").arg(qs(f->name())));
        else if (const QString d = differenceUpToIdentity(fresh_.of(f->formClass()), stateOf(*f)); !d.isEmpty())
            fail(QStringLiteral("%1 shown for the first time is not as described: %2").arg(qs(f->name()), d));
    }
    // Show brings its form to the front, where it takes the input.
    if (showsOther || restarts) {
        const std::string target = restarts                                   ? acted
                                   : nav->kind == NavigationKind::BackToStart ? std::string("Start")
                                                                              : std::string(nav->target);
        Form* t = registry().existing(target);
        if (registry().knows(target) && (!t || !t->isLoaded()))
            fail(QStringLiteral("%1 did not show %2").arg(qs(effect.control), qs(target)));
        else if (t && QGuiApplication::focusWindow() != handleOf(*t))
            fail(QStringLiteral("%1 showed %2 but %3 has the input")
                     .arg(qs(effect.control), qs(target),
                          formOf(QGuiApplication::focusWindow()) ? qs(formOf(QGuiApplication::focusWindow())->name())
                                                                 : QStringLiteral("no form")));
    }
    if (step.act == Act::Activate) {
        Form* f = registry().existing(step.form);
        if (f && f->isLoaded() && QGuiApplication::focusWindow() != handleOf(*f))
            fail(QStringLiteral("%1 brought to the front does not take the input").arg(qs(step.form)));
    }
    // A finger that held stops holding when its window goes.
    if (holder_) {
        const FingerDown& d = fingers_.at(*holder_);
        if (!d.window || !d.window->isVisible())
            forgetFinger(*holder_);
    }
    // A press or drag is forgotten when its window loses the input.
    if (pressHeld_) {
        Form* f = registry().existing(pressHeld_->form);
        if (!f || !f->isLoaded() || f->generation() != pressHeld_->generation ||
            QGuiApplication::focusWindow() != handleOf(*f))
            pressHeld_.reset();
    }
    checkAlways();
}

// ---------------------------------------------------------------- the message box

void Sequence::answerBox(QMessageBox* box)
{
    QPointer<QMessageBox> guard = box;
    log_ << QStringLiteral("    a message box opens: \"%1\", title \"%2\"").arg(box->text(), box->windowTitle());
    if (box->icon() != QMessageBox::Warning || box->buttons().size() != 1 || !box->button(QMessageBox::Ok) ||
        box->windowModality() != Qt::ApplicationModal)
        fail(QStringLiteral("the message box is not modal with the exclamation icon and one OK button"));

    // The child clicks the windows behind it: they take no input while it is open.
    const auto before = states();
    const auto forms = loaded();
    for (int k = rng_.below(3); k > 0 && !forms.empty(); --k) {
        Form* f = rng_.pick(forms);
        const auto targets = aims(*f);
        const QPoint at = targets.empty() ? anywhere(*f, 0) : pointIn(choose(targets).rect);
        FormWindow* w = test::windowOf(*f);
        if (!w)
            continue;
        const QPoint wp = w->canvas()->mapTo(w, at);
        if (touchSequence_ && rng_.chance(0.6) && landsOn(w, toCanvas(w->canvas()->transform(), at))) {
            log_ << QStringLiteral("    tap %1 at %2,%3 while the box is open")
                        .arg(qs(f->name()))
                        .arg(at.x())
                        .arg(at.y());
            tap(w->windowHandle(), wp);
            if (!guard)
                break;
            continue;
        }
        log_
            << QStringLiteral("    click %1 at %2,%3 while the box is open").arg(qs(f->name())).arg(at.x()).arg(at.y());
        const Qt::MouseButtons held = buttons_;
        buttons_ = Qt::LeftButton;
        mouse(w->windowHandle(), wp, Qt::LeftButton, QEvent::MouseButtonPress);
        buttons_ = Qt::NoButton;
        if (w)
            mouse(w->windowHandle(), wp, Qt::LeftButton, QEvent::MouseButtonRelease);
        buttons_ = held;
        if (!guard)
            break;
    }
    const auto after = states();
    const auto sameForms = [](const auto& a, const auto& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](const auto& x, const auto& y) { return x.first == y.first; });
    };
    if (!sameForms(after, before))
        fail(QStringLiteral("forms were shown or unloaded while the message box was open"));
    else
        for (const auto& [name, state] : before)
            if (const QString d = differenceExact(state, after.at(name)); !d.isEmpty())
                fail(QStringLiteral("a form took input while the message box was open: %1").arg(d));

    // Then it answers the box, one way or another.
    for (int attempt = 0; guard && guard->isVisible() && attempt < 3; ++attempt) {
        QWindow* handle = guard->windowHandle();
        const int how = attempt == 0 ? rng_.below(5) : 0;
        switch (how) {
        case 0: {
            QAbstractButton* ok = guard->button(QMessageBox::Ok);
            const QPoint p = ok->mapTo(guard.data(), ok->rect().center());
            if (touchSequence_ && rng_.chance(0.6) && QGuiApplication::topLevelAt(handle->mapToGlobal(p)) == handle) {
                log_ << QStringLiteral("    tap OK");
                tap(handle, p);
                break;
            }
            log_ << QStringLiteral("    click OK");
            buttons_ = Qt::LeftButton;
            mouse(handle, p, Qt::LeftButton, QEvent::MouseButtonPress);
            buttons_ = Qt::NoButton;
            if (guard && guard->isVisible())
                mouse(handle, p, Qt::LeftButton, QEvent::MouseButtonRelease);
            break;
        }
        case 1:
            log_ << QStringLiteral("    key Enter on the box");
            QTest::keyClick(handle, Qt::Key_Return);
            break;
        case 2:
            log_ << QStringLiteral("    key Space on the box");
            QTest::keyClick(handle, Qt::Key_Space);
            break;
        case 3:
            log_ << QStringLiteral("    key Escape on the box");
            QTest::keyClick(handle, Qt::Key_Escape);
            break;
        case 4:
            log_ << QStringLiteral("    close the box through its frame");
            handle->close();
            break;
        }
        QCoreApplication::processEvents();
    }
    if (guard && guard->isVisible()) {
        fail(QStringLiteral("the message box could not be answered"));
        guard->done(QMessageBox::Ok);
    }
}

bool BoxWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && playing)
        if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            QPointer<QMessageBox> guard = box;
            // Answered from inside its modal loop, once it is up.
            QTimer::singleShot(0, box, [guard] {
                if (guard && playing)
                    playing->answerBox(guard);
            });
        }
    return false;
}

// ---------------------------------------------------------------- the sequence

SequenceResult Sequence::run()
{
    SequenceResult result;
    result.seed = seed_;
    sets_ = o_.invariantSets;
    warningsSeen = &warnings_;
    playing = this;
    QTest::lastMouseTimestamp += 100000;  // no double click across sequences
    playingSeed = seed_;
    playingEvent = 0;
    qstrncpy(playingFirstForm, firstGiven_ ? firstForm_.c_str() : "", sizeof playingFirstForm);
    program_ = o_.makeProgram ? o_.makeProgram() : std::make_unique<Program>();
    // A sequence drawn to start at a game shows the program's first form
    // behind it, as a child who reached the game from there has it.
    const std::vector<std::string> forms = registry().formNames();
    std::string first = firstForm_;
    if (first.empty() && forms.size() > 1 && rng_.chance(0.75))
        first = forms[1 + size_t(rng_.below(int(forms.size()) - 1))];
    if (first.empty())
        first = forms.front();
    if (first != forms.front()) {
        registry().show(forms.front());
        test::settle();
    }
    // Half of the sequences stay with their games; of those that start at a
    // game most do, or the game would lose its events to the start screen.
    persistent_ = rng_.chance(first == forms.front() ? 0.5 : 0.9);
    // A share of the sequences is played on the touch screen: one finger,
    // now and then a second one, and the mouse now and then.
    touchSequence_ = rng_.chance(o_.touchShare);
    result.firstForm = first;
    result.byTouch = touchSequence_;
    log_ << (persistent_ ? QStringLiteral("(a sequence that stays with its games)")
                         : QStringLiteral("(a sequence that goes everywhere)"));
    log_ << QStringLiteral("(starts at %1%2)")
                .arg(qs(first), touchSequence_ ? QStringLiteral(", played with fingers") : QString());
    if (o_.trace)
        std::printf("%s\n%s\n", qPrintable(log_[0]), qPrintable(log_[1]));
    registry().show(first);
    test::settle();
    checkAlways();

    int n = 0;
    int unsent = 0;
    auto failure = [&](int event) {
        Failure f;
        f.seed = seed_;
        f.event = event;
        f.message = *broken_;
        f.events = log_;
        if (firstGiven_)
            f.firstForm = firstForm_;
        result.failure = f;
    };
    if (broken_)
        failure(0);
    while (!result.failure && n < length_) {
        if (registry().ended()) {
            result.ending = QStringLiteral("the program ended");
            break;
        }
        if (plan_.empty())
            plan();
        if (plan_.empty()) {
            result.ending = QStringLiteral("nothing left to press");
            break;
        }
        const Step step = plan_.front();
        plan_.pop_front();
        playingEvent = n + 1;
        const auto before = states();
        Effect effect;
        QString text;
        const int logged = int(log_.size());
        if (!send(step, effect, text)) {
            plan_.clear();
            if (++unsent > 1000) {
                broken_ = QStringLiteral("the player found nothing it could send");
                failure(n);
            }
            continue;
        }
        unsent = 0;
        ++n;
        log_.insert(logged, QStringLiteral("#%1 %2").arg(n).arg(text));
        result.perForm[step.form] += 1;
        result.handled += effect.kind == Effect::Handler;
        if (o_.trace) {
            for (int i = logged; i < log_.size(); ++i)
                std::printf("%s\n", qPrintable(log_[i]));
            std::fflush(stdout);
        }
        test::settle();
        check(step, effect, before);
        if (broken_)
            failure(n);
        // A press leaves the plan's later steps for another form: start afresh.
        if (ended_)
            plan_.clear();
    }
    if (result.ending.isEmpty() && !result.failure)
        result.ending = registry().ended() ? QStringLiteral("the program ended") : QStringLiteral("length reached");
    result.events = n;
    result.log = log_;

    program_.reset();
    test::settle();
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows += qobject_cast<FormWindow*>(w) != nullptr;
    if (windows && !result.failure) {
        broken_ = QStringLiteral("%1 form windows outlived the program").arg(windows);
        failure(n);
    }
    playing = nullptr;
    warningsSeen = nullptr;
    playingEvent = -1;
    return result;
}

}  // namespace

// ------------------------------------------------------------------ Monkey

namespace {
BoxWatcher* boxWatcher = nullptr;
}

Monkey::Monkey(MonkeyOptions options) : options_(std::move(options)), fresh_(std::make_unique<Fresh>())
{
    if (!boxWatcher) {
        boxWatcher = new BoxWatcher;
        qApp->installEventFilter(boxWatcher);
        previousHandler = qInstallMessageHandler(recordMessage);
    }
}

Monkey::~Monkey() = default;

SequenceResult Monkey::play(std::uint64_t seed)
{
    return play(seed, options_.length);
}

SequenceResult Monkey::play(std::uint64_t seed, int length, std::string_view firstForm)
{
    Sequence sequence(options_, *fresh_, seed, length, firstForm);
    return sequence.run();
}

void reportSeedOnCrash(const char* program)
{
    crashProgram = program;
    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        std::signal(s, onFatalSignal);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(printCrashReport);
#endif
}

QString report(const Failure& failure, const QString& program, int lastEvents)
{
    QString text = QStringLiteral("broken at event %1 of the sequence with seed 0x%2:\n  %3\n")
                       .arg(failure.event)
                       .arg(failure.seed, 16, 16, QLatin1Char('0'))
                       .arg(failure.message);
    const int from = std::max(0, int(failure.events.size()) - lastEvents);
    text += from > 0 ? QStringLiteral("the last events:\n") : QStringLiteral("the events:\n");
    for (int i = from; i < failure.events.size(); ++i)
        text += QStringLiteral("  %1\n").arg(failure.events[i]);
    text += QStringLiteral("replay: %1 --replay 0x%2 --length %3%4 --trace\n")
                .arg(program)
                .arg(failure.seed, 16, 16, QLatin1Char('0'))
                .arg(failure.event)
                .arg(failure.firstForm.empty() ? QString() : QStringLiteral(" --first ") + qs(failure.firstForm));
    return text;
}

}  // namespace tuvrel::monkey
