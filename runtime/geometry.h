#pragma once
// Points, sizes and rectangles in whole form pixels, and their fractional
// kin for the window's transform. A rectangle counts its edges as pixels, as
// the forms are laid out: right() is the last pixel inside it, left() +
// width() - 1.
#include <algorithm>
#include <cstdint>

namespace tuvrel {

struct Point {
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(Point, Point) = default;
    friend constexpr Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
};

struct Size {
    int width = 0;
    int height = 0;

    constexpr bool isEmpty() const { return width <= 0 || height <= 0; }
    friend constexpr bool operator==(Size, Size) = default;
};

class Rect {
public:
    constexpr Rect() = default;
    constexpr Rect(int left, int top, int width, int height) : x_(left), y_(top), w_(width), h_(height) {}
    constexpr Rect(Point topLeft, Size size) : Rect(topLeft.x, topLeft.y, size.width, size.height) {}
    // The rectangle from one corner pixel to the other, both inside it.
    static constexpr Rect fromCorners(Point topLeft, Point bottomRight)
    {
        return {topLeft.x, topLeft.y, bottomRight.x - topLeft.x + 1, bottomRight.y - topLeft.y + 1};
    }

    constexpr int left() const { return x_; }
    constexpr int top() const { return y_; }
    constexpr int right() const { return x_ + w_ - 1; }
    constexpr int bottom() const { return y_ + h_ - 1; }
    constexpr int width() const { return w_; }
    constexpr int height() const { return h_; }
    constexpr Point topLeft() const { return {x_, y_}; }
    constexpr Size size() const { return {w_, h_}; }
    constexpr Point center() const { return {(x_ + right()) / 2, (y_ + bottom()) / 2}; }
    constexpr bool isEmpty() const { return w_ <= 0 || h_ <= 0; }

    constexpr bool contains(Point p) const
    {
        return !isEmpty() && p.x >= x_ && p.x <= right() && p.y >= y_ && p.y <= bottom();
    }
    constexpr bool contains(const Rect& r) const
    {
        return !isEmpty() && !r.isEmpty() && r.x_ >= x_ && r.right() <= right() && r.y_ >= y_ && r.bottom() <= bottom();
    }
    constexpr bool intersects(const Rect& r) const { return !intersected(r).isEmpty(); }
    constexpr Rect intersected(const Rect& r) const
    {
        if (isEmpty() || r.isEmpty())
            return {};
        const int l = std::max(x_, r.x_), t = std::max(y_, r.y_);
        const int rr = std::min(x_ + w_, r.x_ + r.w_), b = std::min(y_ + h_, r.y_ + r.h_);
        return rr > l && b > t ? Rect(l, t, rr - l, b - t) : Rect();
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    constexpr Rect united(const Rect& r) const
    {
        if (r.isEmpty())
            return *this;
        if (isEmpty())
            return r;
        const int l = std::min(x_, r.x_), t = std::min(y_, r.y_);
        return {l, t, std::max(x_ + w_, r.x_ + r.w_) - l, std::max(y_ + h_, r.y_ + r.h_) - t};
    }
    constexpr Rect translated(Point d) const { return {x_ + d.x, y_ + d.y, w_, h_}; }
    constexpr Rect translated(int dx, int dy) const { return {x_ + dx, y_ + dy, w_, h_}; }
    // Each edge moved by its own amount: left, top, right, bottom.
    constexpr Rect adjusted(int dl, int dt, int dr, int db) const
    {
        return {x_ + dl, y_ + dt, w_ - dl + dr, h_ - dt + db};
    }
    constexpr void moveTopLeft(Point p)
    {
        x_ = p.x;
        y_ = p.y;
    }
    constexpr void moveCenter(Point c)
    {
        x_ = c.x - (w_ - 1) / 2;
        y_ = c.y - (h_ - 1) / 2;
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
    friend constexpr Rect operator&(const Rect& a, const Rect& b) { return a.intersected(b); }

private:
    int x_ = 0, y_ = 0, w_ = 0, h_ = 0;
};

// Fractional positions, for the window's transform and the screen.
struct PointF {
    double x = 0;
    double y = 0;

    friend constexpr bool operator==(PointF, PointF) = default;
    friend constexpr PointF operator+(PointF a, PointF b) { return {a.x + b.x, a.y + b.y}; }
    friend constexpr PointF operator-(PointF a, PointF b) { return {a.x - b.x, a.y - b.y}; }
};

struct RectF {
    double x = 0, y = 0, width = 0, height = 0;

    constexpr double left() const { return x; }
    constexpr double top() const { return y; }
    constexpr double right() const { return x + width; }  // the edge, not a pixel
    constexpr double bottom() const { return y + height; }
    friend constexpr bool operator==(const RectF&, const RectF&) = default;
};

}  // namespace tuvrel
