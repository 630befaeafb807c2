#include "runtime/region.h"

namespace tuvrel {

void appendDifference(const Rect& r, const Rect& hole, std::vector<Rect>& out)
{
    const Rect cut = r & hole;
    if (cut.isEmpty()) {
        out.push_back(r);
        return;
    }
    if (cut.top() > r.top())
        out.emplace_back(r.left(), r.top(), r.width(), cut.top() - r.top());
    if (cut.bottom() < r.bottom())
        out.emplace_back(r.left(), cut.bottom() + 1, r.width(), r.bottom() - cut.bottom());
    if (cut.left() > r.left())
        out.emplace_back(r.left(), cut.top(), cut.left() - r.left(), cut.height());
    if (cut.right() < r.right())
        out.emplace_back(cut.right() + 1, cut.top(), r.right() - cut.right(), cut.height());
}

Region::Region(const Rect& r)
{
    if (!r.isEmpty())
        rects_.push_back(r);
}

bool Region::intersects(const Rect& r) const
{
    for (const Rect& own : rects_)
        if (own.intersects(r))
            return true;
    return false;
}

bool Region::covers(const Rect& r) const
{
    if (r.isEmpty())
        return false;
    Region rest(r);
    for (const Rect& own : rects_) {
        rest -= own;
        if (rest.isEmpty())
            return true;
    }
    return false;
}

Region& Region::operator+=(const Rect& r)
{
    if (r.isEmpty())
        return *this;
    // Only what is not in the area yet is added, so that no two rectangles overlap.
    std::vector<Rect> added{r};
    for (const Rect& own : rects_) {
        if (added.empty())
            break;
        std::vector<Rect> rest;
        for (const Rect& a : added)
            appendDifference(a, own, rest);
        added.swap(rest);
    }
    rects_.insert(rects_.end(), added.begin(), added.end());
    return *this;
}

Region& Region::operator-=(const Rect& r)
{
    if (r.isEmpty() || !intersects(r))
        return *this;
    std::vector<Rect> rest;
    for (const Rect& own : rects_)
        appendDifference(own, r, rest);
    rects_.swap(rest);
    return *this;
}

Region& Region::operator-=(const Region& other)
{
    for (const Rect& r : other.rects_)
        *this -= r;
    return *this;
}

}  // namespace tuvrel
