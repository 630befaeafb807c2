#pragma once
// The window of a loaded form: an optional one-item menu bar above one canvas
// that paints the form and hands it the mouse, the fingers on a touch screen
// and the keyboard. The window system makes these windows for the registry
// and provides the message box.
#include "desktop/form_painter.h"
#include "desktop/qt_types.h"
#include "desktop/speech.h"
#include "runtime/form_transform.h"
#include "runtime/form_view.h"

#include <QPointer>
#include <QWidget>
#include <set>
#include <utility>
#include <vector>

class QMenuBar;
class QPointingDevice;
class QTouchEvent;
class QWindow;

namespace tuvrel {

class Form;
class FormRegistry;
class FormWindow;
class PointerArbiter;
class QtWindowSystem;
struct PointerId;

class FormCanvas : public QWidget {
    Q_OBJECT
public:
    FormCanvas(Form& form, QtWindowSystem& system, QWidget* parent);
    Form& form() const { return form_; }
    // How the form lies on the canvas at its present size.
    FormTransform transform() const;
    // The form pixel under a point on the canvas.
    QPoint toForm(QPointF widgetPoint) const { return toQt(transform().toForm(fromQt(widgetPoint))); }
    QSize sizeHint() const override;
    // Whether the window's scale has stopped changing, so that it paints exactly again.
    bool scaleSettled() const { return paintScaleSettled(paintScale_); }

    // How far a finger may wander from where it touched and still be a tap,
    // in device-independent pixels: twice the distance at which a mouse
    // press becomes a drag on this desktop.
    static qreal tapSlack();
    // A touch of the screen on the canvas's window, as the window gets it.
    void touchEvent(QTouchEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool event(QEvent* event) override;

private:
    template <class F>
    void dispatch(F&& action);
    PointerArbiter& pointers() const;
    bool stale() const;
    bool releasedOverThisForm(QPointF position, QPointF globalPosition) const;
    bool fromMouse(const QMouseEvent* event) const;
    void fingerDown(const PointerId& finger, QPointF position, QPointF global);

    Form& form_;
    QtWindowSystem& system_;
    std::uint64_t generation_;
    PaintScale paintScale_;  // the scale this canvas was last painted at, and since when
};

class FormWindow : public QWidget {
    Q_OBJECT
public:
    FormWindow(Form& form, QtWindowSystem& system);
    FormCanvas* canvas() const { return canvas_; }
    QMenuBar* menuBar() const { return menuBar_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form& form_;
    std::uint64_t generation_;
    FormCanvas* canvas_;
    QMenuBar* menuBar_ = nullptr;
    QPointer<QWindow> touchWindow_;
    // Touches that began on the menu bar while nothing held a form: Qt's to make mouse events of.
    std::set<std::pair<const QPointingDevice*, int>> menuTouches_;
};

class QtWindowSystem : public WindowSystem {
public:
    // Interactive: failures are also shown in a message box, not only on stderr.
    explicit QtWindowSystem(bool interactive = true) : interactive_(interactive) {}
    std::unique_ptr<FormView> createView(Form& form) override;
    void messageBox(const std::string& text, const std::string& title) override;
    void quit(int exitCode) override;
    void reportError(const std::string& message) override;
    // Through the Dutch voice given (setSpeech), or not at all.
    void readAloud(const std::vector<std::string>& texts) override;
    void setSpeech(std::unique_ptr<DutchSpeech> speech) { speech_ = std::move(speech); }
    bool speaks() const { return speech_ != nullptr; }

    // Fullscreen is a setting of the program, not of one window: while it is
    // on, every form window is shown fullscreen, those open now and those shown later.
    void setFullscreen(bool on);
    bool fullscreen() const { return fullscreen_; }

    // The window of a loaded form, for tools and tests; nullptr if it has none.
    static FormWindow* windowOf(const Form& form);

    // The form windows from the top of the stack down, as far as the program
    // knows: a window goes to the top when it is brought to the front or activated.
    void moveToTop(FormWindow* window);
    // The form window in front at a point of the screen, or `otherwise` where none is.
    QWidget* frontWindowAt(QPointF global, QWidget* otherwise) const;
    // The canvas under a point of the screen, of the form window in front there.
    FormCanvas* canvasAt(QPointF global) const;

private:
    bool interactive_;
    bool fullscreen_ = false;
    std::vector<QPointer<FormWindow>> stack_;
    std::unique_ptr<DutchSpeech> speech_;
};

}  // namespace tuvrel
