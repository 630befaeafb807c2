#pragma once
// Drives the real form windows the way a child does: presses, moves and
// releases at the controls' places, with the mouse or with fingers on a touch
// screen, keys, the menu item, the message box.
#include "desktop/form_window.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "tests/support/core_qt.h"

#include <QEventPoint>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

class QPointingDevice;
namespace QTest {
class QTouchEventWidgetSequence;
}

namespace tuvrel::test {

// A helper of the driver that cannot do what it was asked ends the test that
// called it: it reports the failure and throws this, which Qt Test catches
// around the test function, so that the test goes no further.
struct HelperFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void helperFailed(const QString& what, const char* file, int line);

// Pixels as twips, the unit in which descriptions place controls.
constexpr int px(int pixels)
{
    return pixels * TwipsPerPixel;
}

// A fresh program: its own registry with real windows and every form class.
class Program {
public:
    Program();                                                       // the program's own forms
    explicit Program(const std::vector<const FormClass*>& classes);  // just these forms
    ~Program();

    FormRegistry& registry() { return *registry_; }
    Form& form(std::string_view name) { return registry_->form(name); }
    Form& show(std::string_view name);

private:
    std::unique_ptr<QtWindowSystem> windows_;
    std::unique_ptr<FormRegistry> registry_;
};

// Called before the application is made: on Qt's offscreen platform, one
// screen of a class board's size (1920 x 1080) in place of the platform's
// small one, since Qt gives a touch to the window under it on a screen and
// drops one that lies on no screen.
void useTouchBoardScreen();

FormWindow* windowOf(const Form& form);
FormCanvas* canvasOf(const Form& form);

QPoint centreOf(const Form& form, std::string_view control);
// The canvas point where a form pixel is shown, at whatever size the window has.
QPoint onCanvas(const Form& form, QPoint point);
// Makes the window's canvas this size (the menu bar keeps its own height).
void resizeCanvas(Form& form, QSize size);
void pressAt(Form& form, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void moveTo(Form& form, QPoint point);
void releaseAt(Form& form, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void clickAt(Form& form, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void click(Form& form, std::string_view control);
// Press on the source, move in steps, release at the point or over the target's centre.
void dragTo(Form& form, std::string_view source, QPoint target);
void drag(Form& form, std::string_view source, std::string_view target);

// Fingers on the touch screen that the tests register, each known by a number.
// A finger touches a form's window, moves and lifts at form pixels mapped
// through that window's transform; every event reports the other fingers on
// the same window where they stand, as a touch screen does.
class Fingers {
public:
    Fingers() = default;
    Fingers(const Fingers&) = delete;
    Fingers& operator=(const Fingers&) = delete;
    ~Fingers();

    static QPointingDevice* touchScreen();

    void press(int finger, Form& form, QPoint at);
    void move(int finger, QPoint at);
    void release(int finger, QPoint at);
    // A tap on the menu item of the form's window, beside the canvas.
    void tapMenuItem(int finger, Form& form);
    // The system takes the touches on the form's window away (TouchCancel);
    // then the fingers there leave the screen, which the program must take
    // for nothing.
    void cancel(Form& form);
    bool isDown(int finger) const { return down_.contains(finger); }

private:
    struct Down {
        QPointer<FormCanvas> canvas;
        int id;
    };
    // The touches on one window, as QTest keeps them from event to event.
    struct Window {
        QPointer<FormCanvas> canvas;
        std::unique_ptr<QTest::QTouchEventWidgetSequence> touches;
    };
    void send(int finger, QEventPoint::State state, QPoint at);
    QTest::QTouchEventWidgetSequence& touchesOn(FormCanvas* canvas);
    void stationaryOthers(int finger, FormCanvas* canvas);

    std::map<int, Down> down_;
    std::vector<Window> windows_;
};

// One finger: a tap on a control, a drag from one control onto another, as
// click() and drag() do with the mouse.
void tap(Form& form, std::string_view control);
void fingerDrag(Form& form, std::string_view source, std::string_view target);

void key(Form& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void chooseMenu(Form& form);
void closeWindow(Form& form);

// The form as the child sees it, painted by its window.
QImage render(Form& form);
QColor pixelAt(Form& form, QPoint point);

// Answers the next message box with OK, recording what it showed.
struct MessageBoxSeen {
    bool shown = false;
    QString text;
    QString title;        // as the program gave it
    QString windowTitle;  // as the window shows it: an empty title is shown as a single blank
    bool exclamation = false;
    int buttons = 0;
    bool applicationModal = false;
};
std::shared_ptr<MessageBoxSeen> answerNextMessageBox();

// Lets deferred deletions and posted events run.
void settle();

}  // namespace tuvrel::test
