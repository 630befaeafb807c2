#pragma once
// The program's own faces on the desktop, registered with Qt from the
// program's resources.
#include "runtime/fonts.h"

#include <QFont>
#include <QString>

namespace tuvrel {

// Registers the bundled faces with Qt; call once after the application object
// exists. Throws RuntimeError when a face cannot be loaded: the program would
// otherwise silently draw with another.
void registerBundledFonts();
// The bundled family that draws a description face.
QString bundledFamily(const FontSpec& fontSpec);
// The font to draw with: regular weight, sized in pixels as at 96 dots per inch.
QFont toQFont(const FontSpec& fontSpec);

}  // namespace tuvrel
