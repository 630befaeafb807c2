#include "runtime/form_registry.h"

#include "runtime/pointer_input.h"
#include "runtime/read_aloud.h"
#include "runtime/runtime_error.h"
#include "runtime/text.h"

namespace tuvrel {

FormRegistry::FormRegistry(WindowSystem* windowSystem)
    : windowSystem_(windowSystem), pointers_(std::make_unique<PointerArbiter>(*this))
{
}

FormRegistry::~FormRegistry()
{
    for (auto& [key, form] : instances_)
        form->unload();
}

void FormRegistry::addFormClass(const FormClass& formClass)
{
    std::string key = asciiLower(formClass.name());
    if (classes_.contains(key))
        throw RuntimeError("form class " + formClass.name() + " is known twice");
    classes_.emplace(std::move(key), &formClass);
    classOrder_.push_back(formClass.name());
}

bool FormRegistry::knows(std::string_view formName) const
{
    return classes_.contains(asciiLower(formName));
}

Form& FormRegistry::form(std::string_view formName)
{
    std::string key = asciiLower(formName);
    if (auto it = instances_.find(key); it != instances_.end())
        return *it->second;
    auto cls = classes_.find(key);
    if (cls == classes_.end())
        throw RuntimeError("there is no form " + std::string(formName));
    auto& form = instances_[key];
    form = std::make_unique<Form>(*this, *cls->second);
    creationOrder_.push_back(std::move(key));
    return *form;
}

Form* FormRegistry::existing(std::string_view formName) const
{
    auto it = instances_.find(asciiLower(formName));
    return it == instances_.end() ? nullptr : it->second.get();
}

std::vector<Form*> FormRegistry::loadedForms() const
{
    std::vector<Form*> forms;
    for (const std::string& key : creationOrder_)
        if (Form* f = instances_.at(key).get(); f->isLoaded())
            forms.push_back(f);
    return forms;
}

int FormRegistry::loadedCount() const
{
    return int(loadedForms().size());
}

void FormRegistry::end(int exitCode)
{
    if (ended_)
        return;
    ended_ = true;
    exitCode_ = exitCode;
    for (Form* f : loadedForms())
        f->unload();
    if (windowSystem_)
        windowSystem_->quit(exitCode);
}

void FormRegistry::eventDone()
{
    if (!ended_ && loadedCount() == 0)
        end(0);
}

void FormRegistry::fail(const std::string& message)
{
    if (ended_)
        return;
    if (windowSystem_)
        windowSystem_->reportError(message);
    end(ExitRuntimeFailure);
}

void FormRegistry::messageBox(const std::string& text, const std::string& title)
{
    if (!windowSystem_ || ended_)
        return;
    pointers_->messageBoxOpens();
    readAloud({text});
    windowSystem_->messageBox(text, title);
}

void FormRegistry::readAloud(const std::vector<std::string>& texts)
{
    if (readAloud_ && windowSystem_ && !ended_)
        windowSystem_->readAloud(texts);
}

void FormRegistry::formShown(const Form& form)
{
    // A form with nothing to read still ends the reading of the one it covers.
    if (readAloud_ && form.isLoaded())
        readAloud(frontTexts(form));
}

void FormRegistry::labelTapped(const Control& label)
{
    if (!readAloud_)
        return;
    if (std::vector<std::string> texts = tapTexts(label); !texts.empty())
        readAloud(texts);
}

}  // namespace tuvrel
