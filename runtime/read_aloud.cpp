#include "runtime/read_aloud.h"

#include "runtime/control.h"
#include "runtime/form.h"

#include <algorithm>

namespace tuvrel {

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A text of one piece with a dot between letters ("www.school.nl"), or with a
// scheme ("https://…"): an address, spelled out by no one.
bool isWebAddress(std::string_view text)
{
    if (text.find("://") != std::string_view::npos)
        return true;
    if (text.find(' ') != std::string_view::npos)
        return false;
    for (size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == '.' && isAsciiLetter(text[i - 1]) && isAsciiLetter(text[i + 1]))
            return true;
    return false;
}

}  // namespace

bool holdsWords(std::string_view text)
{
    // A byte above ASCII belongs to a letter such as the é of "één".
    const bool letter = std::any_of(text.begin(), text.end(),
                                    [](char c) { return isAsciiLetter(c) || (unsigned char)(c) >= 0x80; });
    return letter && !isWebAddress(text);
}

std::vector<std::string> frontTexts(const Form& form)
{
    std::vector<const Label*> labels;
    for (const auto& c : form.controls())
        if (c->controlClass() == ControlClass::Label && c->visible())
            if (const auto* label = static_cast<const Label*>(c.get()); holdsWords(label->caption()))
                labels.push_back(label);
    std::stable_sort(labels.begin(), labels.end(), [](const Label* a, const Label* b) {
        return a->top() != b->top() ? a->top() < b->top() : a->left() < b->left();
    });
    std::vector<std::string> texts;
    std::vector<const Label*> read;
    for (const Label* label : labels) {
        const bool shadow = std::any_of(read.begin(), read.end(), [label](const Label* r) {
            return r->caption() == label->caption() && r->pixelRect().intersects(label->pixelRect());
        });
        if (shadow)
            continue;
        read.push_back(label);
        texts.push_back(label->caption());
    }
    return texts;
}

std::vector<std::string> tapTexts(const Control& control)
{
    if (control.controlClass() != ControlClass::Label)
        return {};
    const auto& label = static_cast<const Label&>(control);
    if (!holdsWords(label.caption()))
        return {};
    return {label.caption()};
}

}  // namespace tuvrel
