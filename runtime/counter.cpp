#include "runtime/counter.h"

#include <limits>
#include <string>

namespace tuvrel {

long captionValue(const Label& label)
{
    const std::string& text = label.caption();
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > (std::numeric_limits<long>::max() - 9) / 10)
            break;  // a counter never gets near this; stop rather than overflow
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

void countUp(Label& label)
{
    label.setCaption(std::to_string(captionValue(label) + 1));
}

}  // namespace tuvrel
