#pragma once
// Which adapter cable is plugged into the box. The cables differ only in which of the
// box's outputs they loop back to which input, so each test drives an output through the
// box's registers and watches the input follow (or, for the MB cable, invert it).
#include <string>

#include "plugins/boxstart/box_link.h"

namespace corvan::boxstart {

// Register exchanges of the detection.
inline constexpr Pacing kRegisterExchange{4, 0, 350};

// One of "OBDII", "MB", "SAE", "NISS", "KLIA", "CANYK"; "KLIA" when no loop answers.
std::string DetectAdapter(BoxLink& link);

}  // namespace corvan::boxstart
