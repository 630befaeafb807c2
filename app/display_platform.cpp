#include "app/display_platform.h"

namespace tuvrel {

QByteArray chosenPlatform(const DisplayEnvironment& environment)
{
    if (!environment.qpaPlatform.isEmpty())
        return {};
    if (!environment.waylandDisplay.isEmpty() && !environment.display.isEmpty())
        return QByteArrayLiteral("xcb");
    return {};
}

bool hasDisplay(const DisplayEnvironment& environment)
{
    return !environment.qpaPlatform.isEmpty() || !environment.display.isEmpty() ||
           !environment.waylandDisplay.isEmpty();
}

}  // namespace tuvrel
