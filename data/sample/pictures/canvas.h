#pragma once
// A small raster for the sample pictures: shapes are drawn at three times the size and
// averaged down, so edges come out smooth at the device's small sizes. Writes 24-bit BMPs,
// the format the device's picture controls load.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvan::sample {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

Rgb rgb(uint32_t hex);  // 0xRRGGBB
Rgb mix(Rgb a, Rgb b, double t);

struct Point {
    double x = 0, y = 0;
};

class Canvas {
  public:
    // A picture of w x h pixels; coordinates below are in those pixels (fractions allowed).
    Canvas(int w, int h, Rgb background);

    int width() const { return w_; }
    int height() const { return h_; }

    void verticalGradient(Rgb top, Rgb bottom);
    void rect(double x, double y, double w, double h, Rgb c);
    void roundRect(double x, double y, double w, double h, double radius, Rgb c);
    void disc(double cx, double cy, double r, Rgb c);
    void ring(double cx, double cy, double r, double thickness, Rgb c);
    void polygon(const std::vector<Point>& points, Rgb c);
    void line(Point a, Point b, double thickness, Rgb c);
    // A filled arrow from `from` to `to` (head at `to`).
    void arrow(Point from, Point to, double thickness, Rgb c);

    // Text in the built-in 5 x 7 font (capitals, digits, a few marks); `size` is the pixel
    // height of a capital.
    void text(double x, double y, std::string_view s, double size, Rgb c);
    void textCentred(double cx, double y, std::string_view s, double size, Rgb c);
    static double textWidth(std::string_view s, double size);

    // The picture at its final size as a 24-bit BMP file.
    std::string bmp() const;

  private:
    void plot(int x, int y, Rgb c);
    template <typename Inside>
    void fillWhere(double x0, double y0, double x1, double y1, Inside inside, Rgb c);

    int w_, h_;
    std::vector<Rgb> px_;  // kSuper times larger in each direction
};

}  // namespace corvan::sample
