#pragma once
// An area of whole pixels made of rectangles that do not overlap: what the
// controls drawn later cover, and the parts of a rectangle that still show.
#include "runtime/geometry.h"

#include <vector>

namespace tuvrel {

class Region {
public:
    Region() = default;
    explicit Region(const Rect& r);

    bool isEmpty() const { return rects_.empty(); }
    const std::vector<Rect>& rects() const { return rects_; }
    bool intersects(const Rect& r) const;
    // Whether every pixel of the rectangle lies in the area.
    bool covers(const Rect& r) const;

    Region& operator+=(const Rect& r);
    Region& operator-=(const Rect& r);
    Region& operator-=(const Region& other);
    friend Region operator-(Region a, const Region& b) { return a -= b; }

private:
    std::vector<Rect> rects_;
};

// The parts of `r` outside `r` minus `hole`: at most four bands, top and
// bottom across the whole width, left and right between them.
void appendDifference(const Rect& r, const Rect& hole, std::vector<Rect>& out);

}  // namespace tuvrel
