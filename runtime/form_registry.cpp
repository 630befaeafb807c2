#include "runtime/form_registry.h"

#include "runtime/runtime_error.h"

namespace tuvrel {

FormRegistry::FormRegistry(WindowSystem* windowSystem) : windowSystem_(windowSystem) {}

FormRegistry::~FormRegistry()
{
    for (auto& form : instances_)
        form->unload();
}

void FormRegistry::addFormClass(const FormClass& formClass)
{
    const QString key = formClass.name().toLower();
    if (classes_.contains(key))
        throw RuntimeError("form class " + formClass.name().toStdString() + " is known twice");
    classes_.insert(key, &formClass);
    classOrder_ << formClass.name();
}

QStringList FormRegistry::formNames() const
{
    return classOrder_;
}

bool FormRegistry::knows(const QString& formName) const
{
    return classes_.contains(formName.toLower());
}

Form& FormRegistry::form(const QString& formName)
{
    const QString key = formName.toLower();
    if (auto it = instances_.constFind(key); it != instances_.constEnd())
        return **it;
    const FormClass* cls = classes_.value(key, nullptr);
    if (!cls)
        throw RuntimeError("there is no form " + formName.toStdString());
    auto form = std::make_shared<Form>(*this, *cls);
    instances_.insert(key, form);
    creationOrder_.push_back(key);
    return *form;
}

Form* FormRegistry::existing(const QString& formName) const
{
    auto it = instances_.constFind(formName.toLower());
    return it == instances_.constEnd() ? nullptr : it->get();
}

std::vector<Form*> FormRegistry::loadedForms() const
{
    std::vector<Form*> forms;
    for (const QString& key : creationOrder_)
        if (Form* f = instances_.value(key).get(); f && f->isLoaded())
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

void FormRegistry::fail(const QString& message)
{
    if (ended_)
        return;
    if (windowSystem_)
        windowSystem_->reportError(message);
    end(70);
}

void FormRegistry::messageBox(const QString& text, const QString& title)
{
    if (windowSystem_ && !ended_)
        windowSystem_->messageBox(text, title);
}

}  // namespace tuvrel
