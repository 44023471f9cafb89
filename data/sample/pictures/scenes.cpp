#include "data/sample/pictures/scenes.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace corvan::sample {

namespace {

const Rgb kWhite = rgb(0xFFFFFF), kInk = rgb(0x263238), kGlass = rgb(0xBFD9EE),
          kTyre = rgb(0x202020), kHub = rgb(0xA0A4A8), kLit = rgb(0xFFB300), kNavy = rgb(0x12305A),
          kRed = rgb(0xD32F2F), kGreen = rgb(0x2E7D32), kOrange = rgb(0xEF6C00);

std::vector<Point> scaled(std::vector<Point> pts, double sx, double sy, double dx, double dy) {
    for (Point& p : pts) p = {p.x * sx + dx, p.y * sy + dy};
    return pts;
}

struct Body {
    std::vector<Point> outline, glass;
    double wheelFront, wheelRear, wheelRadius, pillar;
};

// Side views in a 96 x 60 picture (the car between y 8 and 42), front to the right.
Body bodyOf(std::string_view style) {
    if (style == "hatch")
        return {{{10, 36},
                 {12, 27},
                 {28, 24},
                 {38, 12},
                 {66, 12},
                 {80, 25},
                 {86, 28},
                 {87, 37},
                 {85, 42},
                 {12, 42}},
                {{40, 15}, {64, 15}, {74, 25}, {34, 25}},
                28,
                72,
                7,
                54};
    if (style == "estate")
        return {
            {{6, 36}, {8, 27}, {12, 13}, {64, 12}, {74, 24}, {88, 27}, {90, 36}, {88, 42}, {8, 42}},
            {{14, 15}, {62, 15}, {70, 25}, {13, 25}},
            22,
            72,
            7,
            40};
    if (style == "suv")
        return {
            {{6, 38}, {7, 24}, {14, 9}, {66, 8}, {78, 21}, {89, 24}, {90, 38}, {88, 43}, {8, 43}},
            {{16, 12}, {64, 11}, {74, 22}, {15, 22}},
            24,
            72,
            8,
            42};
    if (style == "van")
        return {
            {{6, 40}, {6, 10}, {9, 7}, {70, 7}, {80, 20}, {89, 24}, {90, 39}, {88, 43}, {8, 43}},
            {{70, 10}, {78, 21}, {64, 21}, {64, 10}},
            22,
            74,
            7,
            0};
    return {{{6, 36},
             {8, 28},
             {24, 25},
             {34, 13},
             {60, 12},
             {72, 24},
             {88, 27},
             {90, 36},
             {88, 42},
             {8, 42}},
            {{36, 15}, {58, 15}, {68, 24}, {30, 25}},
            24,
            72,
            7,
            47};
}

std::string initialsOf(std::string_view name) {
    std::string letters;
    for (char c : name)
        if (std::isalpha(static_cast<unsigned char>(c))) letters += c;
    return letters.substr(0, letters.size() <= 3 ? letters.size() : 1);
}

}  // namespace

Canvas brandBadge(std::string_view style, Rgb colour, std::string_view name) {
    Canvas c(kBoxWidth, kBoxHeight, kWhite);
    const double cx = 48, cy = 24;
    const Rgb light = mix(colour, kWhite, 0.35);
    if (style == "shield") {
        c.polygon({{30, 5}, {66, 5}, {66, 26}, {48, 44}, {30, 26}}, colour);
        c.polygon({{33, 8}, {63, 8}, {63, 25}, {48, 40}, {33, 25}}, light);
        c.polygon({{35, 10}, {61, 10}, {61, 24}, {48, 37}, {35, 24}}, colour);
    } else if (style == "oval") {
        // An oval as a row of overlapping discs.
        for (int i = -3; i <= 3; ++i) c.disc(cx + i * 5, cy, 16, colour);
        for (int i = -3; i <= 3; ++i) c.disc(cx + i * 5, cy, 13.5, light);
        for (int i = -3; i <= 3; ++i) c.disc(cx + i * 5, cy, 12, colour);
    } else if (style == "square") {
        c.roundRect(cx - 19, cy - 19, 38, 38, 6, colour);
        c.roundRect(cx - 16, cy - 16, 32, 32, 4, light);
        c.roundRect(cx - 14.5, cy - 14.5, 29, 29, 3, colour);
    } else {
        c.disc(cx, cy, 20, colour);
        c.ring(cx, cy, 17, 1.8, light);
    }
    const std::string initials = initialsOf(name);
    const double size = initials.size() > 1 ? 10 : 16;
    c.textCentred(cx, cy - size / 2, initials, size, kWhite);
    c.textCentred(48, 49, name, 7, kInk);
    return c;
}

Canvas modelPicture(std::string_view style, Rgb colour, std::string_view label) {
    Canvas c(kBoxWidth, kBoxHeight, kWhite);
    const Body b = bodyOf(style);
    c.roundRect(8, 41, 80, 5, 2.5, rgb(0xE0E0E0));  // shadow on the ground
    c.polygon(b.outline, colour);
    c.polygon(scaled(b.outline, 1, 0.08, 0, 29), mix(colour, kWhite, 0.3));  // waist line
    c.polygon(b.glass, kGlass);
    if (b.pillar > 0) c.line({b.pillar, 12}, {b.pillar, 26}, 2, colour);
    c.rect(86, 33, 4, 3, mix(kLit, kWhite, 0.3));  // headlamp
    c.rect(6, 32, 3, 3, kRed);                     // tail lamp
    for (double x : {b.wheelRear, b.wheelFront}) {
        c.disc(x, 42, b.wheelRadius + 1, kWhite);
        c.disc(x, 42, b.wheelRadius, kTyre);
        c.disc(x, 42, b.wheelRadius * 0.5, kHub);
    }
    c.textCentred(48, 50, label, 7, kInk);
    return c;
}

Canvas connectorPicture(std::string_view type, const std::vector<int>& pins,
                        std::string_view label) {
    Canvas c(kBoxWidth, kBoxHeight, kWhite);
    auto lit = [&](int pin) { return std::find(pins.begin(), pins.end(), pin) != pins.end(); };
    if (type == "round20") {
        const double cx = 48, cy = 24;
        c.rect(44, 1, 8, 5, rgb(0x455A64));  // locking lug
        c.disc(cx, cy, 21, rgb(0x455A64));
        c.disc(cx, cy, 18, rgb(0x263238));
        for (int pin = 1; pin <= 20; ++pin) {
            const bool outer = pin <= 12;
            const double angle = (outer ? (pin - 1) / 12.0 : (pin - 13) / 8.0) * 2 * M_PI;
            const double r = outer ? 13.5 : 7;
            c.disc(cx + r * std::sin(angle), cy - r * std::cos(angle), 2,
                   lit(pin) ? kLit : rgb(0xB0BEC5));
        }
    } else {
        c.polygon({{8, 6}, {88, 6}, {82, 42}, {14, 42}}, rgb(0x37474F));
        c.polygon({{11, 9}, {85, 9}, {80, 39}, {16, 39}}, rgb(0x263238));
        for (int pin = 1; pin <= 16; ++pin) {
            const int col = (pin - 1) % 8, row = (pin - 1) / 8;
            const double x = 20 + col * 8, y = row ? 28 : 16;
            c.roundRect(x - 2.5, y - 3, 5, 6, 1.5, lit(pin) ? kLit : rgb(0xB0BEC5));
        }
    }
    c.textCentred(48, 50, label, 7, kInk);
    return c;
}

Canvas connectionPicture(std::string_view location, int w, int h) {
    const double sx = w / double(kConnectionWidth), sy = h / double(kConnectionHeight);
    const double s = std::min(sx, sy);
    auto P = [&](double x, double y) { return Point{x * sx, y * sy}; };
    Canvas c(w, h, kWhite);
    c.verticalGradient(rgb(0xECEFF1), rgb(0xB0BEC5));
    Point target;
    if (location == "engine-bay") {
        // The car seen from the front with the bonnet up.
        c.polygon({P(20, 150), P(30, 95), P(60, 80), P(180, 80), P(210, 95), P(220, 150)},
                  rgb(0x546E7A));
        c.polygon({P(45, 95), P(195, 95), P(205, 140), P(35, 140)}, rgb(0x37474F));
        c.polygon({P(50, 80), P(190, 80), P(175, 20), P(65, 20)}, rgb(0x78909C));  // bonnet
        c.rect(70 * sx, 100 * sy, 60 * sx, 30 * sy, rgb(0x263238));                // engine
        c.rect(150 * sx, 102 * sy, 35 * sx, 22 * sy, rgb(0x455A64));  // fuse and relay box
        c.disc(40 * sx, 160 * sy, 14 * s, kTyre);
        c.disc(200 * sx, 160 * sy, 14 * s, kTyre);
        target = P(168, 113);
    } else {
        // The dashboard seen from the driver's seat.
        c.polygon({P(0, 20), P(240, 20), P(240, 95), P(0, 105)}, rgb(0x37474F));
        c.polygon({P(0, 20), P(240, 20), P(240, 32), P(0, 40)}, rgb(0x263238));
        c.rect(105 * sx, 60 * sy, 40 * sx, 120 * sy, rgb(0x455A64));  // centre console
        c.rect(110 * sx, 66 * sy, 30 * sx, 14 * sy, rgb(0x90A4AE));   // radio
        c.rect(165 * sx, 70 * sy, 60 * sx, 24 * sy, rgb(0x546E7A));   // glovebox
        c.disc(70 * sx, 55 * sy, 16 * s, rgb(0x90A4AE));              // instruments
        c.ring(72 * sx, 95 * sy, 40 * s, 7 * s, rgb(0x212121));       // steering wheel
        c.line(P(40, 95), P(104, 95), 6 * s, rgb(0x212121));
        c.line(P(72, 95), P(72, 134), 6 * s, rgb(0x212121));
        c.disc(72 * sx, 95 * sy, 9 * s, rgb(0x424242));
        c.rect(0, 105 * sy, 104 * sx, 10 * sy, rgb(0x455A64));  // lower trim
        target = location == "centre-console" ? P(125, 140)
                 : location == "glovebox"     ? P(195, 82)
                                              : P(50, 112);
    }
    // The diagnostic socket, ringed, and an arrow pointing at it.
    c.roundRect(target.x - 9 * s, target.y - 5 * s, 18 * s, 10 * s, 2 * s, kLit);
    c.ring(target.x, target.y, 17 * s, 3 * s, kRed);
    const Point from{target.x + (target.x < w / 2.0 ? 60 : -60) * s, target.y - 55 * s};
    c.arrow(from, {target.x + (from.x > target.x ? 14 : -14) * s, target.y - 12 * s}, 4 * s, kRed);
    return c;
}

Canvas corvanLogo() {
    Canvas c(kBoxWidth, kBoxHeight, kWhite);
    c.roundRect(4, 10, 88, 30, 6, kNavy);
    c.polygon({{8, 36}, {88, 30}, {88, 33}, {8, 39}}, kRed);
    c.textCentred(48, 16, "CORVAN", 13, kWhite);
    c.textCentred(48, 45, "DIAGNOSIS", 7, kNavy);
    return c;
}

Canvas background() {
    Canvas c(320, 240, kNavy);
    c.verticalGradient(rgb(0x0B1F3A), rgb(0x1E5A96));
    c.polygon({{0, 190}, {320, 170}, {320, 240}, {0, 240}}, rgb(0x0E2747));
    c.line({0, 205}, {320, 185}, 2, rgb(0x3F7FBF));
    c.textCentred(160, 48, "CORVAN", 40, kWhite);
    c.rect(70, 96, 180, 3, kRed);
    c.textCentred(160, 110, "DIAGNOSIS", 12, rgb(0x9CC3E8));
    const Body b = bodyOf("sedan");
    const Rgb car = rgb(0x2F6DB0);
    c.polygon(scaled(b.outline, 1.6, 1.2, 84, 140), car);
    c.polygon(scaled(b.glass, 1.6, 1.2, 84, 140), rgb(0x6FA8DC));
    for (double x : {b.wheelRear, b.wheelFront}) {
        c.disc(84 + x * 1.6, 140 + 42 * 1.2, 10, rgb(0x0B1F3A));
        c.disc(84 + x * 1.6, 140 + 42 * 1.2, 5, rgb(0x6F8FAF));
    }
    c.text(8, 226, "VARBOX - KELM ZUL", 7, rgb(0x6F8FAF));
    return c;
}

Canvas icon(std::string_view kind, int size) {
    const double k = size / 22.0;  // drawn for 22 x 22, scaled
    auto P = [k](double x, double y) { return Point{x * k, y * k}; };
    Canvas c(size, size, rgb(0xF2F2F2));
    if (kind == "home") {
        c.polygon({P(11, 3), P(20, 11), P(2, 11)}, kNavy);
        c.rect(5 * k, 10 * k, 12 * k, 9 * k, kNavy);
        c.rect(9.5 * k, 13 * k, 3 * k, 6 * k, rgb(0xF2F2F2));
    } else if (kind == "back") {
        c.arrow(P(19, 11), P(3, 11), 4 * k, kNavy);
    } else if (kind == "about") {
        c.disc(11 * k, 11 * k, 9.5 * k, kNavy);
        c.textCentred(11 * k, 6 * k, "?", 10 * k, kWhite);
    } else if (kind == "diagnosis") {
        c.roundRect(2 * k, 2 * k, 18 * k, 18 * k, 3 * k, kGreen);
        c.polygon({P(5, 7), P(17, 7), P(15, 16), P(7, 16)}, kWhite);
        for (int i = 0; i < 4; ++i) c.rect((7 + i * 2.3) * k, 9 * k, 1.2 * k, 2 * k, kGreen);
    } else if (kind == "simulation") {
        c.roundRect(1 * k, 4 * k, 20 * k, 14 * k, 3 * k, kOrange);
        c.textCentred(11 * k, 8 * k, "DEMO", 6 * k, kWhite);
    } else if (kind == "select") {
        c.line(P(4, 12), P(9, 17), 3.5 * k, kGreen);
        c.line(P(9, 17), P(18, 5), 3.5 * k, kGreen);
    } else if (kind == "cancel") {
        c.line(P(5, 5), P(17, 17), 3.5 * k, kRed);
        c.line(P(17, 5), P(5, 17), 3.5 * k, kRed);
    } else {  // the program's icon
        c.roundRect(0, 0, 22 * k, 22 * k, 4 * k, kNavy);
        const Body b = bodyOf("hatch");
        const double f = 0.22 * k;
        c.polygon(scaled(b.outline, f, f, -1 * k, 2 * k), kWhite);
        c.polygon(scaled(b.glass, f, f, -1 * k, 2 * k), kGlass);
        for (double x : {b.wheelRear, b.wheelFront})
            c.disc(x * f - 1 * k, 42 * f + 2 * k, 2.2 * k, kTyre);
        c.rect(2 * k, 16.5 * k, 18 * k, 1.5 * k, kRed);
    }
    return c;
}

}  // namespace corvan::sample
