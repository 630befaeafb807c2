#pragma once
// Colours as the descriptions write them: &H00BBGGRR, the low byte red. The
// three system colours are written with their classic system-colour codes.
#include <cstdint>

namespace tuvrel {

// A colour value 0x00BBGGRR: blue in the high byte of the three, red in the low.
using BgrColor = std::uint32_t;

namespace SystemColor {
inline constexpr BgrColor ButtonFace = 0x8000000F;  // light grey: form and label background
inline constexpr BgrColor Window = 0x80000005;      // white: a shape's default back colour
inline constexpr BgrColor ButtonText = 0x80000012;  // black: a label's default text colour
}  // namespace SystemColor

// A colour as a screen shows it.
struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb toRgb(BgrColor c)
{
    switch (c) {
    case SystemColor::ButtonFace: return {240, 240, 240};
    case SystemColor::Window: return {255, 255, 255};
    case SystemColor::ButtonText: return {0, 0, 0};
    default: return {std::uint8_t(c & 0xFF), std::uint8_t((c >> 8) & 0xFF), std::uint8_t((c >> 16) & 0xFF)};
    }
}

// Colours the program's look uses beside the forms' own.
namespace colours {
inline constexpr Rgb Black{0, 0, 0};
inline constexpr Rgb White{255, 255, 255};
// The strips beside a form in a window or page of another shape: a dark,
// muted slate that frames the board like the border of a picture, so that the
// eye goes to the game. No game gives it a meaning, it is plainly not part of
// the light grey form, and on a bright class board a dark border glares least.
inline constexpr Rgb Strip{0x36, 0x41, 0x4c};
}  // namespace colours

}  // namespace tuvrel
