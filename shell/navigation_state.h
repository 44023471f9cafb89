#pragma once
// Where the technician is in the menus and what has been chosen so far.
#include <string>

namespace corvan::shell {

struct NavigationState {
    std::string rootChoice;     // text of the chosen root entry; empty on the root page
    std::string utilityChoice;  // text of the chosen utility entry
    std::string brand, model, system, variant;
    std::string vehicleText;        // the descrambled vehicle file of the brand
    std::string connectionPicture;  // of the chosen system, for the connect prompt
    bool simulation = false;
    bool reloadDriver = false;  // last state of the connect prompt's check box
    bool utilitiesShown = false;
};

}  // namespace corvan::shell
