#include "data/sample/pictures/canvas.h"

#include <algorithm>
#include <cmath>

#include "data/sample/pictures/font5x7.h"

namespace corvan::sample {

namespace {

constexpr int kSuper = 3;  // samples per pixel in each direction

void put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

double segmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

Rgb rgb(uint32_t hex) {
    return Rgb{static_cast<uint8_t>(hex >> 16), static_cast<uint8_t>(hex >> 8),
               static_cast<uint8_t>(hex)};
}

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0)));
    };
    return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Canvas::Canvas(int w, int h, Rgb background)
    : w_(w), h_(h), px_(static_cast<size_t>(w * kSuper) * (h * kSuper), background) {}

void Canvas::plot(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= w_ * kSuper || y >= h_ * kSuper) return;
    px_[static_cast<size_t>(y) * (w_ * kSuper) + x] = c;
}

template <typename Inside>
void Canvas::fillWhere(double x0, double y0, double x1, double y1, Inside inside, Rgb c) {
    const int sx0 = std::max(0, static_cast<int>(std::floor(x0 * kSuper)));
    const int sy0 = std::max(0, static_cast<int>(std::floor(y0 * kSuper)));
    const int sx1 = std::min(w_ * kSuper, static_cast<int>(std::ceil(x1 * kSuper)));
    const int sy1 = std::min(h_ * kSuper, static_cast<int>(std::ceil(y1 * kSuper)));
    for (int sy = sy0; sy < sy1; ++sy)
        for (int sx = sx0; sx < sx1; ++sx) {
            const Point p{(sx + 0.5) / kSuper, (sy + 0.5) / kSuper};
            if (inside(p)) plot(sx, sy, c);
        }
}

void Canvas::verticalGradient(Rgb top, Rgb bottom) {
    const int rows = h_ * kSuper;
    for (int sy = 0; sy < rows; ++sy) {
        const Rgb c = mix(top, bottom, rows > 1 ? double(sy) / (rows - 1) : 0);
        for (int sx = 0; sx < w_ * kSuper; ++sx) plot(sx, sy, c);
    }
}

void Canvas::rect(double x, double y, double w, double h, Rgb c) {
    fillWhere(
        x, y, x + w, y + h, [](Point) { return true; }, c);
}

void Canvas::roundRect(double x, double y, double w, double h, double radius, Rgb c) {
    radius = std::min({radius, w / 2, h / 2});
    fillWhere(
        x, y, x + w, y + h,
        [=](Point p) {
            const double cx = std::clamp(p.x, x + radius, x + w - radius);
            const double cy = std::clamp(p.y, y + radius, y + h - radius);
            return std::hypot(p.x - cx, p.y - cy) <= radius;
        },
        c);
}

void Canvas::disc(double cx, double cy, double r, Rgb c) {
    fillWhere(
        cx - r, cy - r, cx + r, cy + r,
        [=](Point p) { return std::hypot(p.x - cx, p.y - cy) <= r; }, c);
}

void Canvas::ring(double cx, double cy, double r, double thickness, Rgb c) {
    fillWhere(
        cx - r, cy - r, cx + r, cy + r,
        [=](Point p) {
            const double d = std::hypot(p.x - cx, p.y - cy);
            return d <= r && d >= r - thickness;
        },
        c);
}

void Canvas::polygon(const std::vector<Point>& points, Rgb c) {
    if (points.size() < 3) return;
    double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const Point& p : points) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    fillWhere(
        x0, y0, x1, y1,
        [&](Point p) {
            bool in = false;  // even-odd rule
            for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
                const Point a = points[i], b = points[j];
                if ((a.y > p.y) != (b.y > p.y) &&
                    p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                    in = !in;
            }
            return in;
        },
        c);
}

void Canvas::line(Point a, Point b, double thickness, Rgb c) {
    const double r = thickness / 2;
    fillWhere(
        std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
        std::max(a.y, b.y) + r, [=](Point p) { return segmentDistance(p, a, b) <= r; }, c);
}

void Canvas::arrow(Point from, Point to, double thickness, Rgb c) {
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double len = std::hypot(dx, dy);
    if (len <= 0) return;
    const double ux = dx / len, uy = dy / len;
    const double head = thickness * 3;
    const Point base{to.x - ux * head, to.y - uy * head};
    line(from, base, thickness, c);
    polygon({to,
             {base.x - uy * head * 0.7, base.y + ux * head * 0.7},
             {base.x + uy * head * 0.7, base.y - ux * head * 0.7}},
            c);
}

double Canvas::textWidth(std::string_view s, double size) {
    const double dot = size / 7;
    return s.empty() ? 0 : (s.size() * 6 - 1) * dot;
}

void Canvas::text(double x, double y, std::string_view s, double size, Rgb c) {
    const double dot = size / 7;
    for (char ch : s) {
        const auto& rows = glyph(ch);
        for (int r = 0; r < 7; ++r)
            for (int col = 0; col < 5; ++col)
                if (rows[r] & (0x10 >> col)) rect(x + col * dot, y + r * dot, dot, dot, c);
        x += 6 * dot;
    }
}

void Canvas::textCentred(double cx, double y, std::string_view s, double size, Rgb c) {
    text(cx - textWidth(s, size) / 2, y, s, size, c);
}

std::string Canvas::bmp() const {
    const uint32_t rowBytes = (static_cast<uint32_t>(w_) * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * static_cast<uint32_t>(h_);
    std::string out;
    out.reserve(54 + dataSize);
    out += "BM";
    put32(out, 54 + dataSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);  // BITMAPINFOHEADER
    put32(out, static_cast<uint32_t>(w_));
    put32(out, static_cast<uint32_t>(h_));  // positive: rows bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataSize);
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    const int stride = w_ * kSuper;
    for (int y = h_ - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < w_; ++x) {
            unsigned r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSuper; ++sy)
                for (int sx = 0; sx < kSuper; ++sx) {
                    const Rgb& p =
                        px_[static_cast<size_t>(y * kSuper + sy) * stride + x * kSuper + sx];
                    r += p.r, g += p.g, b += p.b;
                }
            constexpr unsigned n = kSuper * kSuper;
            row.push_back(static_cast<char>((b + n / 2) / n));
            row.push_back(static_cast<char>((g + n / 2) / n));
            row.push_back(static_cast<char>((r + n / 2) / n));
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

}  // namespace corvan::sample
