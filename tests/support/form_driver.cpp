#include "tests/support/form_driver.h"

#include "menu/form_catalog.h"
#include "runtime/fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace tuvrel::test {

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

Program::Program() : windows_(std::make_unique<TestWindowSystem>()), registry_(std::make_unique<FormRegistry>(windows_.get()))
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

Form& Program::show(const QString& name)
{
    Form& f = registry_->form(name);
    f.show();
    if (FormWindow* w = windowOf(f))
        if (!QTest::qWaitForWindowExposed(w))
            qWarning("window of %s not exposed", qPrintable(name));
    return f;
}

FormWindow* windowOf(const Form& form)
{
    return QtWindowSystem::windowOf(form);
}

FormCanvas* canvasOf(const Form& form)
{
    FormWindow* w = windowOf(form);
    if (!w)
        qFatal("form %s has no window", qPrintable(form.name()));
    return w->canvas();
}

QPoint centreOf(const Form& form, const QString& control)
{
    Control* c = form.find(control);
    if (!c)
        qFatal("form %s has no control %s", qPrintable(form.name()), qPrintable(control));
    return c->pixelRect().center();
}

QPoint onCanvas(const Form& form, QPoint point)
{
    return canvasOf(form)->transform().toCanvas(point);
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

void click(Form& form, const QString& control)
{
    clickAt(form, centreOf(form, control));
}

void dragTo(Form& form, const QString& source, QPoint target)
{
    FormCanvas* canvas = canvasOf(form);
    const QPoint from = centreOf(form, source);
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, onCanvas(form, from));
    QTest::mouseMove(canvas, onCanvas(form, (from + target) / 2));
    QTest::mouseMove(canvas, onCanvas(form, target));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, onCanvas(form, target));
    settle();
}

void drag(Form& form, const QString& source, const QString& target)
{
    dragTo(form, source, centreOf(form, target));
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
        qFatal("form %s has no menu item", qPrintable(form.name()));
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
