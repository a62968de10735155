#pragma once
// Sizes and rectangles of the picture and the view, and the few operations on them that the
// history and the repaints share. A rectangle's right and bottom are exclusive wherever it
// names an area; one with no width or no height is empty.

struct IntSize {
    int w;
    int h;
};

struct IntRect {
    int left;
    int top;
    int right;
    int bottom;
};

inline int SameSize(IntSize a, IntSize b) {
    return a.w == b.w && a.h == b.h;
}

inline int RectIsEmpty(IntRect r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// The smallest rectangle holding both; an empty one adds nothing.
inline IntRect RectUnion(IntRect a, IntRect b) {
    if (RectIsEmpty(a))
        return b;
    if (RectIsEmpty(b))
        return a;
    return IntRect{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                   a.right > b.right ? a.right : b.right,
                   a.bottom > b.bottom ? a.bottom : b.bottom};
}

// The part both share; empty (all 0) when they share none.
inline IntRect RectIntersection(IntRect a, IntRect b) {
    IntRect c = {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                 a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    return RectIsEmpty(c) ? IntRect{0, 0, 0, 0} : c;
}

// The part of r inside the area from (0, 0) of the size.
inline IntRect RectClipped(IntRect r, IntSize size) {
    return RectIntersection(r, IntRect{0, 0, size.w, size.h});
}

// The pixels between two corners, both included, in either order, widened by `by` on every
// side: what a figure or a line between them, drawn with a pen of width 2 * by, can touch.
inline IntRect RectAroundCorners(int x0, int y0, int x1, int y1, int by) {
    return IntRect{(x0 < x1 ? x0 : x1) - by, (y0 < y1 ? y0 : y1) - by, (x0 > x1 ? x0 : x1) + 1 + by,
                   (y0 > y1 ? y0 : y1) + 1 + by};
}
