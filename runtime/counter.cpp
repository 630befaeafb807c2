#include "runtime/counter.h"

#include <limits>

namespace tuvrel {

long captionValue(const Label& label)
{
    const QString& text = label.caption();
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        if (value > (std::numeric_limits<long>::max() - 9) / 10)
            break;  // a counter never gets near this; stop rather than overflow
        value = value * 10 + (text[i].unicode() - '0');
    }
    return negative ? -value : value;
}

void countUp(Label& label)
{
    label.setCaption(QString::number(captionValue(label) + 1));
}

}  // namespace tuvrel
