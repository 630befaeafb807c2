#pragma once
// The forms of the running program: one instance per form class, created on
// first use and kept until the program ends (an unloaded form keeps its slot
// and is rebuilt at its next Show). Also the end of the program: End, the
// last form closing, or a failed runtime operation. And the input rules that
// hold across forms: which pointer plays.
#include "runtime/form.h"
#include "runtime/form_class.h"
#include "runtime/form_view.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tuvrel {

class PointerArbiter;

// The exit status of a program stopped by a failed runtime operation (EX_SOFTWARE).
inline constexpr int ExitRuntimeFailure = 70;

class FormRegistry {
public:
    explicit FormRegistry(WindowSystem* windowSystem = nullptr);
    ~FormRegistry();
    FormRegistry(const FormRegistry&) = delete;
    FormRegistry& operator=(const FormRegistry&) = delete;

    // The form classes the program knows; not owned, they outlive the registry.
    void addFormClass(const FormClass& formClass);
    bool knows(std::string_view formName) const;
    const std::vector<std::string>& formNames() const { return classOrder_; }  // in the order they were added

    // The one instance of a form class, created (not loaded) on first use.
    Form& form(std::string_view formName);
    Form* existing(std::string_view formName) const;
    void show(std::string_view formName) { form(formName).show(); }

    int loadedCount() const;
    std::vector<Form*> loadedForms() const;

    // End: every form is unloaded and the event loop is left.
    void end(int exitCode = 0);
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }
    // Called after each input event has been handled: the program ends when no form is loaded any more.
    void eventDone();
    // A runtime operation failed inside a handler: report it and stop.
    void fail(const std::string& message);

    void messageBox(const std::string& text, const std::string& title);
    WindowSystem* windowSystem() const { return windowSystem_; }

    // Reading aloud ("voorlezen"), a setting a teacher turns on: while it is
    // on, a form shown reads its front texts, a message box its text and a
    // tapped label its text (runtime/read_aloud.h says which texts), each
    // reading in place of the one before.
    void setReadAloud(bool on) { readAloud_ = on; }
    bool readsAloud() const { return readAloud_; }
    void formShown(const Form& form);
    void labelTapped(const Control& label);
    // The one pointer that plays, for every form of the program.
    PointerArbiter& pointers() const { return *pointers_; }

private:
    WindowSystem* windowSystem_;
    std::unique_ptr<PointerArbiter> pointers_;
    std::unordered_map<std::string, const FormClass*> classes_;  // key: lower-case form name
    std::vector<std::string> classOrder_;
    std::unordered_map<std::string, std::unique_ptr<Form>> instances_;  // key: lower-case form name
    std::vector<std::string> creationOrder_;
    bool ended_ = false;
    int exitCode_ = 0;
    bool readAloud_ = false;

    void readAloud(const std::vector<std::string>& texts);
};

}  // namespace tuvrel
