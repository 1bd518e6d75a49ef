#pragma once
// A rectangle in editor pixels, origin top-left, y downward. Right and bottom
// are exclusive for hit testing; all four 0 is the empty rectangle.
#include <algorithm>

struct IRECT {
  int L = 0, T = 0, R = 0, B = 0;

  IRECT() = default;
  IRECT(int l, int t, int r, int b) : L(l), T(t), R(r), B(b) {}

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  void Clear() { L = T = R = B = 0; }
  // Widths in 64 bits first: rectangles from callers may span the int range.
  int W() const { return Span(L, R); }
  int H() const { return Span(T, B); }
  float MW() const { return 0.5f * (static_cast<float>(L) + static_cast<float>(R)); }
  float MH() const { return 0.5f * (static_cast<float>(T) + static_cast<float>(B)); }

  bool operator==(const IRECT& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRECT& o) const { return !(*this == o); }

  bool Contains(int x, int y) const { return !Empty() && x >= L && x < R && y >= T && y < B; }

  // An edge that meets the other's left or top edge counts as touching.
  bool Intersects(const IRECT& o) const {
    return !Empty() && !o.Empty() && L < o.R && R >= o.L && T < o.B && B >= o.T;
  }

  IRECT Intersect(const IRECT& o) const {
    if (!Intersects(o)) return IRECT();
    return IRECT(std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B));
  }

  IRECT Union(const IRECT& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return IRECT(std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B));
  }

private:
  static int Span(int lo, int hi) {
    const long long d = static_cast<long long>(hi) - lo;
    return d > 0x7fffffffLL ? 0x7fffffff : d < -0x7fffffffLL ? -0x7fffffff : static_cast<int>(d);
  }
};
