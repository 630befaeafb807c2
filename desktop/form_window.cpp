#include "desktop/form_window.h"

#include "desktop/form_painter.h"
#include "desktop/picture_pixels.h"
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/pointer_input.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QHelpEvent>
#include <QLineF>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QStyleHints>
#include <QToolTip>
#include <QTouchEvent>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace tuvrel {

namespace {

// One icon for every window that shows the same picture: Qt keeps what it
// makes of an icon in its pixmap cache under the pixmap's key, so a new pixmap
// for every window would leave an entry behind at every load. Never destroyed,
// so that no pixmap outlives the application object.
QIcon sharedWindowIcon(const QImage& image)
{
    static auto* icons = new QHash<qint64, QIcon>;
    auto it = icons->constFind(image.cacheKey());
    if (it == icons->constEnd())
        it = icons->insert(image.cacheKey(), QIcon(QPixmap::fromImage(image)));
    return *it;
}

// The mouse as the core's pointer arbiter knows it: one for the whole program.
constexpr PointerId MousePointer{PointerId::Kind::Mouse, 0, 0};

// The left button came up where no canvas saw it: the mouse holds nothing.
void forgetStaleMouse(PointerArbiter& input)
{
    if (const auto held = input.holder();
        held && held->kind == PointerId::Kind::Mouse && !(QGuiApplication::mouseButtons() & Qt::LeftButton))
        input.forget();
}

PointerId fingerOf(const QPointingDevice* device, int id)
{
    return {PointerId::Kind::Touch, reinterpret_cast<std::uintptr_t>(device), id};
}

MouseButton coreButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::Other;
    }
}

Key coreKey(int key)
{
    switch (key) {
    case Qt::Key_Tab: return Key::Tab;
    case Qt::Key_Backtab: return Key::Backtab;
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Return: return Key::Return;
    default: return Key::Other;
    }
}

bool isTouchScreenEvent(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: {
        // A touch pad moves the mouse pointer; only a touch screen's fingers are pointers of their own.
        const QInputDevice* device = static_cast<const QTouchEvent*>(event)->device();
        return device && device->type() == QInputDevice::DeviceType::TouchScreen;
    }
    default: return false;
    }
}

class QtFormView : public FormView {
public:
    QtFormView(Form& form, QtWindowSystem& system) : form_(form), system_(system), window_(new FormWindow(form, system))
    {
    }

    ~QtFormView() override
    {
        if (!window_)
            return;
        // Where the window stood, as its client area: a rebuilt window opens
        // exactly there (the frame around it is the window manager's).
        form_.windowPlacement = WindowPlacement{fromQt(window_->normalGeometry()), window_->isMaximized()};
        // The window may be in the middle of delivering the event whose handler
        // unloads the form: hide it now and delete it once that event is done.
        window_->hide();
        window_->deleteLater();
    }

    void invalidate(const Rect& area) override
    {
        if (window_) {
            FormCanvas* canvas = window_->canvas();
            canvas->update(toQt(canvas->transform().toCanvas(area)));
        }
    }

    void repaintNow() override
    {
        if (window_)
            window_->canvas()->repaint();
    }

    void bringToFront() override
    {
        if (!window_)
            return;
        // A minimised window comes back, and while the program is fullscreen
        // every window is shown fullscreen.
        Qt::WindowStates state = window_->windowState() & ~Qt::WindowMinimized;
        state.setFlag(Qt::WindowFullScreen, system_.fullscreen());
        if (state != window_->windowState())
            window_->setWindowState(state);
        window_->show();
        window_->raise();
        system_.moveToTop(window_);
        window_->activateWindow();
        window_->canvas()->setFocus(Qt::ActiveWindowFocusReason);
    }

    FormWindow* window() const { return window_; }

private:
    Form& form_;
    QtWindowSystem& system_;
    QPointer<FormWindow> window_;
};

}  // namespace

// ------------------------------------------------------------------ canvas

const QColor StripColor = toQt(colours::Strip);

FormCanvas::FormCanvas(Form& form, QtWindowSystem& system, QWidget* parent)
    : QWidget(parent), form_(form), system_(system), generation_(form.generation())
{
    // The window may be made larger or smaller; the form is drawn to fit. Below
    // half its size the pictures would be too small for a child to tell apart.
    setMinimumSize(toQt(form.clientSize()) / 2);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

FormTransform FormCanvas::transform() const
{
    return {form_.clientSize(), fromQt(size())};
}

QSize FormCanvas::sizeHint() const
{
    return toQt(form_.clientSize());
}

template <class F>
void FormCanvas::dispatch(F&& action)
{
    // The handler may unload this form: only the registry is touched after it.
    runEvent(form_.registry(), form_, generation_, std::forward<F>(action));
}

bool FormCanvas::stale() const
{
    // The form was unloaded or rebuilt since this canvas was made: its window
    // is on its way out, and what reaches it is nobody's.
    return form_.generation() != generation_;
}

PointerArbiter& FormCanvas::pointers() const
{
    return form_.registry().pointers();
}

void FormCanvas::paintEvent(QPaintEvent* event)
{
    if (form_.generation() != generation_)
        return;
    QPainter p(this);
    const FormTransform t = transform();
    // The strips around the client area, where the window is of another shape.
    const QRegion strips = QRegion(event->rect()) - QRegion(toQt(t.clientPixelsOnCanvas()));
    for (const QRect& strip : strips)
        p.fillRect(strip, StripColor);
    const QRect formArea = toQt(t.toForm(fromQt(event->rect()))) & QRect(QPoint(0, 0), toQt(form_.clientSize()));
    if (formArea.isEmpty())
        return;
    const RectF client = t.clientOnCanvas();
    p.setClipRect(QRectF(client.x, client.y, client.width, client.height));
    p.translate(toQt(t.offset()));
    p.scale(t.scale(), t.scale());
    paintForm(p, form_, formArea, style(), hasFocus() || isActiveWindow(), &paintScale_);
}

qreal FormCanvas::tapSlack()
{
    return tapSlackFor(QGuiApplication::styleHints()->startDragDistance());
}

bool FormCanvas::fromMouse(const QMouseEvent* event) const
{
    // Mouse events that a platform makes from touches are left alone: the
    // fingers come as touch events.
    return event->source() == Qt::MouseEventNotSynthesized;
}

void FormCanvas::mousePressEvent(QMouseEvent* event)
{
    if (!fromMouse(event) || stale())
        return;
    const Point at = fromQt(toForm(event->position()));
    if (event->button() == Qt::LeftButton) {
        forgetStaleMouse(pointers());
        pointers().press(MousePointer, form_, at, fromQt(event->globalPosition()));
        return;
    }
    // Other buttons play nothing, but are the form's to ignore.
    const MouseButton button = coreButton(event->button());
    if (!pointers().holds())
        dispatch([&] { form_.mousePress(at, button); });
}

void FormCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like any other.
    mousePressEvent(event);
}

void FormCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!fromMouse(event) || stale())
        return;
    pointers().move(MousePointer, fromQt(toForm(event->position())), fromQt(event->globalPosition()));
}

bool FormCanvas::releasedOverThisForm(QPointF position, QPointF globalPosition) const
{
    if (!rect().contains(position.toPoint()))
        return false;
    // Another window lying over the canvas there takes the release away from this form.
    const QPoint global = globalPosition.toPoint();
    return system_.frontWindowAt(global, window()) == window();
}

void FormCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (!fromMouse(event) || stale())
        return;
    const Point at = fromQt(toForm(event->position()));
    if (event->button() == Qt::LeftButton) {
        const bool over = releasedOverThisForm(event->position(), event->globalPosition());
        // The mouse has no slack: it comes up where the event says.
        pointers().release(MousePointer, fromQt(event->globalPosition()), [&](PointF) {
            return PointerArbiter::Landing{at, over};
        });
        return;
    }
    const MouseButton button = coreButton(event->button());
    if (!pointers().holds())
        dispatch([&] { form_.mouseRelease(at, button); });
}

// A finger on a touch screen is a pointer: it touches, moves and lifts as the
// left mouse button presses, moves and releases, so that no form knows which
// of the two played. One finger at a time in the whole program: the one that
// touched a canvas while nothing was held, followed by its device and id,
// whichever window Qt hands its events to, until it lifts or the system takes
// the touch away; a finger that touches while another holds does nothing, not
// even when the first lifts. Each window hands every touch of the screen on
// it to its canvas, as Qt reports them for the window.
void FormCanvas::touchEvent(QTouchEvent* event)
{
    PointerArbiter& input = pointers();
    const QPointingDevice* device = event->pointingDevice();
    if (event->type() == QEvent::TouchCancel) {
        // The system took the touches away (a gesture of the desktop): the
        // press or drag ends with nothing dropped, as when the window loses
        // the pointer.
        if (const auto held = input.holder();
            held && held->kind == PointerId::Kind::Touch && held->device == fingerOf(device, 0).device)
            input.cancel(*held);
        return;
    }
    forgetStaleMouse(pointers());
    for (const QEventPoint& point : event->points()) {
        const PointerId finger = fingerOf(device, point.id());
        const QPointF global = point.globalPosition();
        if (input.holder() == finger) {
            // Where the finger is on its form's canvas; the event's own positions are the window's.
            FormWindow* window = QtWindowSystem::windowOf(*input.heldForm());
            FormCanvas* canvas = window ? window->canvas() : nullptr;
            if (!canvas) {
                input.forget();
                continue;
            }
            if (point.state() == QEventPoint::Released) {
                input.release(finger, fromQt(global), [canvas](PointF screen) {
                    const QPointF position = canvas->mapFromGlobal(toQt(screen));
                    return PointerArbiter::Landing{fromQt(canvas->toForm(position)),
                                                   canvas->releasedOverThisForm(position, toQt(screen))};
                });
            } else if (point.state() == QEventPoint::Updated) {
                input.move(finger, fromQt(canvas->toForm(canvas->mapFromGlobal(global))), fromQt(global));
            }
        } else if (point.state() == QEventPoint::Pressed && !input.holds()) {
            // Qt 6.4 gives a touch that begins while another is down to the
            // window of the other touch: the canvas under it is found again.
            FormCanvas* canvas = rect().contains(mapFromGlobal(global).toPoint()) ? this : system_.canvasAt(global);
            if (canvas)
                canvas->fingerDown(finger, canvas->mapFromGlobal(global), global);
        }
    }
}

void FormCanvas::fingerDown(const PointerId& finger, QPointF position, QPointF global)
{
    if (form_.registry().ended() || form_.generation() != generation_ || !isVisible())
        return;
    // A long press is a press: no tool tip, and none left standing from the mouse.
    QToolTip::hideText();
    // A finger on a window behind brings it to the front, as a click does
    // through the window manager.
    if (!window()->isActiveWindow()) {
        window()->raise();
        window()->activateWindow();
    }
    pointers().press(finger, form_, fromQt(toForm(position)), fromQt(global));
}

void FormCanvas::keyPressEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    const int key = event->key();
    // Escape puts a picture carried by taps back where it came from; F11 and
    // Escape otherwise belong to the program's fullscreen setting, not to the form.
    if (key == Qt::Key_Escape && pointers().putDown())
        return;
    if (key == Qt::Key_F11 || key == Qt::Key_Escape) {
        if (auto* system = dynamic_cast<QtWindowSystem*>(form_.registry().windowSystem()))
            system->setFullscreen(key == Qt::Key_F11 && !system->fullscreen());
        return;
    }
    dispatch([&] { form_.keyPress(coreKey(key)); });
}

void FormCanvas::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A popup such as a tool tip takes no input from the form; anything else
    // taking the focus (another window) ends a press or drag. A finger that
    // held the press stays the one pointer until it lifts, as the mouse does
    // until its button comes up; its moves and its lift find nothing held.
    // A message box lets go of the pointer itself (FormRegistry::messageBox).
    if (event->reason() != Qt::PopupFocusReason && form_.generation() == generation_ && form_.isLoaded())
        form_.cancelInput();
    update();
}

bool FormCanvas::focusNextPrevChild(bool)
{
    return false;  // Tab moves the focus between the form's own buttons
}

bool FormCanvas::event(QEvent* event)
{
    // Tool tips are for the mouse: a finger does not hover.
    if (event->type() == QEvent::ToolTip && pointers().fingerHolds()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::ToolTip && form_.generation() == generation_ && form_.isLoaded()) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Point at = fromQt(toForm(help->pos()));
        const QString text = toQt(form_.toolTipAt(at));
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, this,
                               toQt(transform().toCanvas(form_.hitTest(at)->pixelRect())));
        }
        return true;
    }
    if (event->type() == QEvent::WindowActivate)
        system_.moveToTop(static_cast<FormWindow*>(window()));
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::WindowActivate ||
        event->type() == QEvent::WindowDeactivate)
        update();
    return QWidget::event(event);
}

// ------------------------------------------------------------------ window

FormWindow::FormWindow(Form& form, QtWindowSystem& system)
    : QWidget(nullptr), form_(form), generation_(form.generation())
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_AcceptTouchEvents);
    setWindowTitle(toQt(form.description().caption));
    setWindowIcon(sharedWindowIcon(pictureImage(form.icon())));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (Menu* item = form.menu()) {
        menuBar_ = new QMenuBar(this);
        QAction* action = menuBar_->addAction(toQt(item->caption()));
        connect(action, &QAction::triggered, this, [this] {
            // A picture carried by taps goes back first; then the item plays.
            form_.registry().pointers().putDown();
            runEvent(form_.registry(), form_, generation_, [this] { form_.chooseMenu(); });
        });
        layout->setMenuBar(menuBar_);
    }
    canvas_ = new FormCanvas(form, system, this);
    layout->addWidget(canvas_);
    // A window opens at the form's own size, whatever the size of the screen.
    resize(sizeHint());
    if (form.windowPlacement) {
        setGeometry(toQt(form.windowPlacement->geometry));
        if (form.windowPlacement->maximized)
            setWindowState(Qt::WindowMaximized);
    }
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    // The window is destroyed by the form's unload, not by Qt.
    event->ignore();
    runEvent(form_.registry(), form_, generation_, [this] { form_.unload(); });
}

void FormWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The touches come to the window's own QWindow as Qt's windows get them.
    if (windowHandle() != touchWindow_) {
        if (touchWindow_)
            touchWindow_->removeEventFilter(this);
        touchWindow_ = windowHandle();
        if (touchWindow_)
            touchWindow_->installEventFilter(this);
    }
}

// Every touch of the screen on the window goes to the canvas, before Qt's
// widgets route it (Qt 6.4 drops the later events of a touch that begins while
// others are down, when it takes the nearest one to be another widget's). A
// touch that begins beside the canvas, on the menu bar, while nothing holds a
// form is left to Qt, which makes mouse events of it: a tap chooses the menu
// item. Every other touch is taken, so that Qt makes no mouse events of it.
bool FormWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != touchWindow_ || !isTouchScreenEvent(event))
        return false;
    auto* touch = static_cast<QTouchEvent*>(event);
    const QPointingDevice* device = touch->pointingDevice();
    if (event->type() == QEvent::TouchCancel) {
        std::erase_if(menuTouches_, [device](const auto& t) { return t.first == device; });
        canvas_->touchEvent(touch);
        return false;
    }
    bool forQt = false;
    for (const QEventPoint& point : touch->points()) {
        const std::pair<const QPointingDevice*, int> key{device, point.id()};
        if (point.state() == QEventPoint::Pressed && menuBar_ && !form_.registry().pointers().holds() &&
            menuBar_->rect().contains(menuBar_->mapFromGlobal(point.globalPosition()).toPoint()))
            menuTouches_.insert(key);
        forQt = forQt || menuTouches_.contains(key);
    }
    const QList<QEventPoint> points = touch->points();
    canvas_->touchEvent(touch);
    for (const QEventPoint& point : points)
        if (point.state() == QEventPoint::Released)
            menuTouches_.erase({device, point.id()});
    if (forQt)
        return false;
    event->accept();
    return true;
}

// ------------------------------------------------------------------ window system

std::unique_ptr<FormView> QtWindowSystem::createView(Form& form)
{
    form.registry().pointers().setTapSlack(FormCanvas::tapSlack());
    return std::make_unique<QtFormView>(form, *this);
}

void QtWindowSystem::moveToTop(FormWindow* window)
{
    std::erase_if(stack_, [window](const QPointer<FormWindow>& w) { return !w || w == window; });
    stack_.insert(stack_.begin(), window);
}

QWidget* QtWindowSystem::frontWindowAt(QPointF global, QWidget* otherwise) const
{
    for (const QPointer<FormWindow>& w : stack_)
        if (w && w->isVisible() && w->frameGeometry().contains(global.toPoint()))
            return w;
    return otherwise;
}

FormCanvas* QtWindowSystem::canvasAt(QPointF global) const
{
    for (const QPointer<FormWindow>& w : stack_) {
        if (!w || !w->isVisible() || !w->frameGeometry().contains(global.toPoint()))
            continue;
        FormCanvas* canvas = w->canvas();
        return canvas->rect().contains(canvas->mapFromGlobal(global).toPoint()) ? canvas : nullptr;
    }
    return nullptr;
}

FormWindow* QtWindowSystem::windowOf(const Form& form)
{
    auto* view = dynamic_cast<QtFormView*>(form.view());
    return view ? view->window() : nullptr;
}

void QtWindowSystem::messageBox(const std::string& text, const std::string& title)
{
    // Qt shows the program's name in a title bar whose title is empty; a single
    // blank keeps the bar empty, as asked.
    const QString shown = title.empty() ? QStringLiteral(" ") : toQt(title);
    QPointer<QWidget> before = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Warning, shown, toQt(text), QMessageBox::Ok, before);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // The form the child was playing on takes the input again.
    if (before && before->isVisible())
        before->activateWindow();
}

void QtWindowSystem::readAloud(const std::vector<std::string>& texts)
{
    if (speech_)
        speech_->read(texts);
}

void QtWindowSystem::setFullscreen(bool on)
{
    fullscreen_ = on;
    for (const QPointer<FormWindow>& w : stack_) {
        if (!w || !w->isVisible())
            continue;
        Qt::WindowStates state = w->windowState();
        w->setWindowState(on ? (state | Qt::WindowFullScreen) : (state & ~Qt::WindowFullScreen));
    }
}

void QtWindowSystem::quit(int exitCode)
{
    QCoreApplication::exit(exitCode);
}

void QtWindowSystem::reportError(const std::string& message)
{
    std::fprintf(stderr, "tuvrel: %s\n", message.c_str());
    if (interactive_)
        QMessageBox::critical(nullptr, QStringLiteral("Tuvrel"),
                              QStringLiteral("Tuvrel moet stoppen: er ging iets mis.\n\n%1").arg(toQt(message)));
}

}  // namespace tuvrel
