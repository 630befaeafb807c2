#pragma once
// Text is UTF-8 in std::string. Names of forms and controls are plain ASCII
// and are compared without regard to letter case, as the forms are written.
#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace tuvrel {

inline char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

inline std::string asciiLower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return asciiLower(c); });
    return lower;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// A name with a number after it, as the forms number their controls: "Image" and 3 give "Image3".
inline std::string numbered(std::string_view name, int number)
{
    return std::string(name) + std::to_string(number);
}

// The number a name carries after its first `prefixLength` characters
// ("Image3" after 5 gives 3); 0 when there is none.
inline int numberAfter(std::string_view name, size_t prefixLength)
{
    int value = 0;
    if (prefixLength > name.size())
        return 0;
    const std::string_view digits = name.substr(prefixLength);
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return result.ec == std::errc() ? value : 0;
}

}  // namespace tuvrel
