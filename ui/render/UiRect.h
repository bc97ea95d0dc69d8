#pragma once

#include "ui/render/UiPoint.h"

#include <algorithm>

namespace ui {

// The one rectangle type of the UI: edges in pixels, right and bottom
// exclusive, so Width() is right - left.
struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    UiRect() = default;
    UiRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool Contains(const UiPoint& pt) const
    {
        return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom;
    }

    void Offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void Inflate(int dx, int dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    // Moves each edge inwards by the matching inset of `insets`.
    void Deflate(const UiRect& insets)
    {
        left += insets.left;
        top += insets.top;
        right -= insets.right;
        bottom -= insets.bottom;
    }

    // Becomes the overlap of both; answers whether that overlap has area.
    // An empty overlap becomes all zero.
    bool Intersect(const UiRect& other)
    {
        UiRect overlap(std::max(left, other.left), std::max(top, other.top),
                       std::min(right, other.right), std::min(bottom, other.bottom));
        *this = overlap.IsEmpty() ? UiRect() : overlap;
        return !IsEmpty();
    }
    bool Intersects(const UiRect& other) const
    {
        UiRect overlap = *this;
        return overlap.Intersect(other);
    }
    // Becomes the smallest rectangle holding both; empty ones do not count.
    void Union(const UiRect& other)
    {
        if (other.IsEmpty())
            return;
        if (IsEmpty()) {
            *this = other;
            return;
        }
        left = std::min(left, other.left);
        top = std::min(top, other.top);
        right = std::max(right, other.right);
        bottom = std::max(bottom, other.bottom);
    }

    bool operator==(const UiRect&) const = default;
};

} // namespace ui
