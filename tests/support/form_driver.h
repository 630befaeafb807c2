#pragma once
// Drives the real form windows the way a child does: presses, moves and
// releases at the controls' places, keys, the menu item, the message box.
#include "runtime/form.h"
#include "runtime/form_registry.h"
#include "runtime/form_window.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <memory>

namespace tuvrel::test {

// A fresh program: its own registry with real windows and every form class.
class Program {
public:
    Program();  // the program's own forms
    explicit Program(const std::vector<const FormClass*>& classes);  // just these forms
    ~Program();

    FormRegistry& registry() { return *registry_; }
    Form& form(const QString& name) { return registry_->form(name); }
    Form& show(const QString& name);

private:
    std::unique_ptr<QtWindowSystem> windows_;
    std::unique_ptr<FormRegistry> registry_;
};

FormWindow* windowOf(const Form& form);
FormCanvas* canvasOf(const Form& form);

QPoint centreOf(const Form& form, const QString& control);
// The canvas point where a form pixel is shown, at whatever size the window has.
QPoint onCanvas(const Form& form, QPoint point);
void pressAt(Form& form, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void moveTo(Form& form, QPoint point);
void releaseAt(Form& form, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void clickAt(Form& form, QPoint point, Qt::MouseButton button = Qt::LeftButton);
void click(Form& form, const QString& control);
// Press on the source, move in steps, release at the point or over the target's centre.
void dragTo(Form& form, const QString& source, QPoint target);
void drag(Form& form, const QString& source, const QString& target);
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
