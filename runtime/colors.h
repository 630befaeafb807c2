#pragma once
// Colours as the descriptions write them: &H00BBGGRR, the low byte red. The
// three system colours are written with their classic system-colour codes.
#include <QColor>
#include <cstdint>

namespace tuvrel {

// A colour value 0x00BBGGRR: blue in the high byte of the three, red in the low.
using BgrColor = std::uint32_t;

namespace SystemColor {
inline constexpr BgrColor ButtonFace = 0x8000000F;  // light grey: form and label background
inline constexpr BgrColor Window = 0x80000005;      // white: a shape's default back colour
inline constexpr BgrColor ButtonText = 0x80000012;  // black: a label's default text colour
}  // namespace SystemColor

inline QColor toQColor(BgrColor c)
{
    switch (c) {
    case SystemColor::ButtonFace: return QColor(240, 240, 240);
    case SystemColor::Window: return QColor(255, 255, 255);
    case SystemColor::ButtonText: return QColor(0, 0, 0);
    default: return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    }
}

}  // namespace tuvrel
