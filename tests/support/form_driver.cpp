#include "tests/support/form_driver.h"

#include "desktop/bundled_fonts.h"
#include "menu/form_catalog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointingDevice>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QTouchEvent>

namespace tuvrel::test {

[[noreturn]] void helperFailed(const QString& what, const char* file, int line)
{
    QTest::qFail(qPrintable(what), file, line);
    throw HelperFailure(what.toStdString());
}

namespace {
// Real windows, but the end of the program leaves the test's event loop alone,
// and the platform's notes about raising windows stay out of the test log.
class TestWindowSystem : public QtWindowSystem {
public:
    TestWindowSystem() : QtWindowSystem(false)
    {
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (message.startsWith(QLatin1String("This plugin does not support")))
                    return;
                if (previous)
                    previous(type, context, message);
            });
    }
    void quit(int) override {}
};
}  // namespace

Program::Program()
    : windows_(std::make_unique<TestWindowSystem>()), registry_(std::make_unique<FormRegistry>(windows_.get()))
{
    registerBundledFonts();
    registerProgramForms(*registry_);
}

Program::Program(const std::vector<const FormClass*>& classes)
    : windows_(std::make_unique<TestWindowSystem>()), registry_(std::make_unique<FormRegistry>(windows_.get()))
{
    registerBundledFonts();
    for (const FormClass* c : classes)
        registry_->addFormClass(*c);
}

Program::~Program()
{
    registry_.reset();
    settle();
}

Form& Program::show(std::string_view name)
{
    Form& f = registry_->form(name);
    f.show();
    if (FormWindow* w = windowOf(f))
        if (!QTest::qWaitForWindowExposed(w))
            helperFailed(QStringLiteral("the window of %1 is not shown").arg(qs(name)), __FILE__, __LINE__);
    return f;
}

void useTouchBoardScreen()
{
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        return;
    static QTemporaryFile screens(QDir::tempPath() + QStringLiteral("/tuvrel-screen-XXXXXX.json"));
    if (!screens.open())
        qFatal("cannot write the offscreen screen's description");
    screens.write(R"({"screens": [{"name": "board", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                  R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
}

FormWindow* windowOf(const Form& form)
{
    return QtWindowSystem::windowOf(form);
}

FormCanvas* canvasOf(const Form& form)
{
    FormWindow* w = windowOf(form);
    if (!w)
        qFatal("form %s has no window", form.name().c_str());
    return w->canvas();
}

QPoint centreOf(const Form& form, std::string_view control)
{
    Control* c = form.find(control);
    if (!c)
        qFatal("form %s has no control %s", form.name().c_str(), std::string(control).c_str());
    return toQt(c->pixelRect().center());
}

QPoint onCanvas(const Form& form, QPoint point)
{
    return toQt(canvasOf(form)->transform().toCanvas(fromQt(point)));
}

void resizeCanvas(Form& form, QSize size)
{
    FormWindow* w = windowOf(form);
    w->resize(size + (w->size() - canvasOf(form)->size()));
    settle();
    if (const QSize got = canvasOf(form)->size(); got != size)
        helperFailed(QStringLiteral("the canvas of %1 is %2 x %3, not %4 x %5")
                         .arg(qs(form.name()))
                         .arg(got.width())
                         .arg(got.height())
                         .arg(size.width())
                         .arg(size.height()),
                     __FILE__, __LINE__);
}

void pressAt(Form& form, QPoint point, Qt::MouseButton button)
{
    QTest::mousePress(canvasOf(form), button, Qt::NoModifier, onCanvas(form, point));
}

void moveTo(Form& form, QPoint point)
{
    QTest::mouseMove(canvasOf(form), onCanvas(form, point));
}

void releaseAt(Form& form, QPoint point, Qt::MouseButton button)
{
    // The window may be gone by then (a handler unloaded the form); the release is still the child's.
    FormCanvas* canvas = canvasOf(form);
    QTest::mouseRelease(canvas, button, Qt::NoModifier, onCanvas(form, point));
    settle();
}

void clickAt(Form& form, QPoint point, Qt::MouseButton button)
{
    FormCanvas* canvas = canvasOf(form);
    const QPoint at = onCanvas(form, point);
    QTest::mousePress(canvas, button, Qt::NoModifier, at);
    QTest::mouseRelease(canvas, button, Qt::NoModifier, at);
    settle();
}

void click(Form& form, std::string_view control)
{
    clickAt(form, centreOf(form, control));
}

void dragTo(Form& form, std::string_view source, QPoint target)
{
    FormCanvas* canvas = canvasOf(form);
    const QPoint from = centreOf(form, source);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, onCanvas(form, from));
    QTest::mouseMove(canvas, onCanvas(form, (from + target) / 2));
    QTest::mouseMove(canvas, onCanvas(form, target));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, onCanvas(form, target));
    settle();
}

void drag(Form& form, std::string_view source, std::string_view target)
{
    dragTo(form, source, centreOf(form, target));
}

namespace {
// A new touch id for every touch in the test program, as a touch screen gives them.
int nextTouchId = 1;
}  // namespace

Fingers::~Fingers() = default;

QPointingDevice* Fingers::touchScreen()
{
    static QPointingDevice* const screen = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return screen;
}

QTest::QTouchEventWidgetSequence& Fingers::touchesOn(FormCanvas* canvas)
{
    std::erase_if(windows_, [](const Window& w) { return !w.canvas; });
    for (Window& w : windows_)
        if (w.canvas == canvas)
            return *w.touches;
    windows_.push_back(
        {canvas, std::make_unique<QTest::QTouchEventWidgetSequence>(QTest::touchEvent(canvas, touchScreen(), false))});
    return *windows_.back().touches;
}

void Fingers::send(int finger, QEventPoint::State state, QPoint at)
{
    const auto it = down_.find(finger);
    if (it == down_.end())
        qFatal("finger %d is not down", finger);
    FormCanvas* canvas = it->second.canvas;
    const int id = it->second.id;
    if (!canvas) {
        down_.erase(it);  // its window went with its form: the finger touches nothing any more
        return;
    }
    if (state == QEventPoint::Released)
        down_.erase(it);
    auto& touches = touchesOn(canvas);
    const QPoint p = toQt(canvas->transform().toCanvas(fromQt(at)));
    switch (state) {
    case QEventPoint::Pressed: touches.press(id, p); break;
    case QEventPoint::Released: touches.release(id, p); break;
    default: touches.move(id, p); break;
    }
    stationaryOthers(finger, canvas);
    touches.commit();
    settle();
}

void Fingers::stationaryOthers(int finger, FormCanvas* canvas)
{
    for (const auto& [other, d] : down_)
        if (other != finger && d.canvas == canvas)
            touchesOn(canvas).stationary(d.id);
}

void Fingers::tapMenuItem(int finger, Form& form)
{
    if (isDown(finger))
        qFatal("finger %d is down already", finger);
    FormWindow* w = windowOf(form);
    if (!w || !w->menuBar() || w->menuBar()->actions().isEmpty())
        qFatal("form %s has no menu item", form.name().c_str());
    QMenuBar* bar = w->menuBar();
    const QPoint at = bar->actionGeometry(bar->actions().first()).center();
    const QPointer<FormCanvas> canvas = w->canvas();
    const int id = nextTouchId++;
    touchesOn(canvas).press(id, at, bar);
    stationaryOthers(finger, canvas);
    touchesOn(canvas).commit();
    settle();
    if (!canvas)
        return;
    touchesOn(canvas).release(id, at, bar);
    stationaryOthers(finger, canvas);
    touchesOn(canvas).commit();
    settle();
}

void Fingers::press(int finger, Form& form, QPoint at)
{
    if (isDown(finger))
        qFatal("finger %d is down already", finger);
    down_[finger] = Down{canvasOf(form), nextTouchId++};
    send(finger, QEventPoint::Pressed, at);
}

void Fingers::move(int finger, QPoint at)
{
    send(finger, QEventPoint::Updated, at);
}

void Fingers::release(int finger, QPoint at)
{
    send(finger, QEventPoint::Released, at);
}

void Fingers::cancel(Form& form)
{
    FormCanvas* canvas = canvasOf(form);
    // As Qt hands a cancel on to the window: the window passes it to the
    // widgets that have touches of the device.
    QTouchEvent event(QEvent::TouchCancel, touchScreen());
    QCoreApplication::sendEvent(canvas->window()->windowHandle(), &event);
    settle();
    // Qt forgets cancelled touches itself; here they lift.
    auto& touches = touchesOn(canvas);
    bool any = false;
    for (const auto& [finger, d] : down_)
        if (d.canvas == canvas) {
            touches.release(d.id, toQt(canvas->transform().toCanvas(Point{0, 0})));
            any = true;
        }
    if (any)
        touches.commit();
    std::erase_if(down_, [canvas](const auto& entry) { return entry.second.canvas == canvas; });
    std::erase_if(windows_, [canvas](const Window& w) { return w.canvas == canvas; });
    settle();
}

void tap(Form& form, std::string_view control)
{
    Fingers fingers;
    const QPoint at = centreOf(form, control);
    fingers.press(0, form, at);
    fingers.release(0, at);
}

void fingerDrag(Form& form, std::string_view source, std::string_view target)
{
    Fingers fingers;
    const QPoint from = centreOf(form, source);
    const QPoint to = centreOf(form, target);
    fingers.press(0, form, from);
    fingers.move(0, (from + to) / 2);
    fingers.move(0, to);
    fingers.release(0, to);
}

void key(Form& form, Qt::Key k, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(canvasOf(form), k, modifiers);
    settle();
}

void chooseMenu(Form& form)
{
    FormWindow* w = windowOf(form);
    if (!w || !w->menuBar() || w->menuBar()->actions().isEmpty())
        qFatal("form %s has no menu item", form.name().c_str());
    QMenuBar* bar = w->menuBar();
    QAction* item = bar->actions().first();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(item).center());
    settle();
}

void closeWindow(Form& form)
{
    if (FormWindow* w = windowOf(form))
        w->close();
    settle();
}

QImage render(Form& form)
{
    return canvasOf(form)->grab().toImage();
}

QColor pixelAt(Form& form, QPoint point)
{
    return render(form).pixelColor(onCanvas(form, point));
}

std::shared_ptr<MessageBoxSeen> answerNextMessageBox()
{
    auto seen = std::make_shared<MessageBoxSeen>();
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [seen, timer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->shown = true;
        seen->text = box->text();
        seen->windowTitle = box->windowTitle();
        seen->title = seen->windowTitle == QLatin1String(" ") ? QString() : seen->windowTitle;
        seen->exclamation = box->icon() == QMessageBox::Warning;
        seen->buttons = int(box->buttons().size());
        seen->applicationModal = box->windowModality() == Qt::ApplicationModal;
        box->button(QMessageBox::Ok)->click();
        timer->stop();
        timer->deleteLater();
    });
    timer->start();
    return seen;
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace tuvrel::test
