#pragma once
// The program's start, after the application object exists: the bundled
// fonts, every form class, Start shown. Whatever fails on the way is reported
// and ends the program as every runtime failure does (FormRegistry::fail),
// never as an uncaught exception.
#include "runtime/form_registry.h"

#include <QStringList>
#include <cstdio>
#include <functional>

namespace tuvrel {

using FormRegistration = std::function<void(FormRegistry&)>;

void startProgram(FormRegistry& registry, const FormRegistration& registerForms);

class QtWindowSystem;

// Reading aloud, asked for on the command line: with a Dutch voice of the
// first of the engines that has one, the registry reads aloud through the
// window system; without, one line on `messages` says why and the program
// plays silently. Before startProgram, so that Start is read too.
void startReadingAloud(FormRegistry& registry, QtWindowSystem& windows, const QStringList& engines,
                       std::FILE* messages);

}  // namespace tuvrel
