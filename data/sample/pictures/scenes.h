#pragma once
// The drawings of the sample installation: brand badges, model, connector and connection
// pictures, the shell's logo, the background behind a running engine, and the buttons.
#include <string_view>
#include <vector>

#include "data/sample/pictures/canvas.h"

namespace corvan::sample {

// Sizes the shell lays its picture boxes out for.
constexpr int kBoxWidth = 96, kBoxHeight = 60;
constexpr int kConnectionWidth = 240, kConnectionHeight = 180;

// style: disc, shield, oval or square.
Canvas brandBadge(std::string_view style, Rgb colour, std::string_view name);
// style: sedan, hatch, estate, suv or van.
Canvas modelPicture(std::string_view style, Rgb colour, std::string_view label);
// type: obd16 or round20; the pins the protocol uses are drawn lit.
Canvas connectorPicture(std::string_view type, const std::vector<int>& pins,
                        std::string_view label);
// location: under-dash-left, centre-console, glovebox or engine-bay; any size.
Canvas connectionPicture(std::string_view location, int w, int h);
Canvas corvanLogo();
Canvas background();
// kind: home, back, about, diagnosis, simulation, select, cancel or program.
Canvas icon(std::string_view kind, int size);

}  // namespace corvan::sample
