#pragma once
// The forms of the running program: one instance per form class, created on
// first use and kept until the program ends (an unloaded form keeps its slot
// and is rebuilt at its next Show). Also the end of the program: End, the
// last form closing, or a failed runtime operation.
#include "runtime/form.h"
#include "runtime/form_class.h"
#include "runtime/form_view.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tuvrel {

class FormRegistry {
public:
    explicit FormRegistry(WindowSystem* windowSystem = nullptr);
    ~FormRegistry();
    FormRegistry(const FormRegistry&) = delete;
    FormRegistry& operator=(const FormRegistry&) = delete;

    // The form classes the program knows; not owned, they outlive the registry.
    void addFormClass(const FormClass& formClass);
    bool knows(const QString& formName) const;
    QStringList formNames() const;  // in the order they were added

    // The one instance of a form class, created (not loaded) on first use.
    Form& form(const QString& formName);
    Form* existing(const QString& formName) const;
    void show(const QString& formName) { form(formName).show(); }

    int loadedCount() const;
    std::vector<Form*> loadedForms() const;

    // End: every form is unloaded and the event loop is left.
    void end(int exitCode = 0);
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }
    // Called after each input event has been handled: the program ends when no form is loaded any more.
    void eventDone();
    // A runtime operation failed inside a handler: report it and stop.
    void fail(const QString& message);

    void messageBox(const QString& text, const QString& title);
    WindowSystem* windowSystem() const { return windowSystem_; }

private:
    WindowSystem* windowSystem_;
    QHash<QString, const FormClass*> classes_;  // key: lower-case form name
    QStringList classOrder_;
    QHash<QString, std::shared_ptr<Form>> instances_;  // key: lower-case form name
    std::vector<QString> creationOrder_;
    bool ended_ = false;
    int exitCode_ = 0;
};

}  // namespace tuvrel
