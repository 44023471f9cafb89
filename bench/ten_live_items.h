#pragma once
// Ten live-data items sharing three requests (21 01, 21 02, 21 03), and the ECU's answers to
// them: the catalogue both live-data benchmarks poll.
#include <string>

namespace corvan::bench {

inline constexpr int kLiveRequests = 3, kLiveItems = 10;

// The table model's rules answering the three requests (a JSON array's members).
inline constexpr const char* kTenItemsRules = R"(
    {"request": "21 01", "reply": "61 01 0C 80 40 5A C8"},
    {"request": "21 02", "reply": "61 02 88 02 FF 10"},
    {"request": "21 03", "reply": "61 03 01 02"})";

inline const std::string kTenItems =
    "<MNU\r\n"
    "@D001 [\"Speed\"] [2101] [2,3] [CAL *0.25;0] [\"rpm\"] []\r\n"
    "@D002 [\"Injection\"] [2101] [4] [CAL *0.1;1] [\"mg\"] []\r\n"
    "@D003 [\"Coolant\"] [2101] [5] [CAL -40;0] [\"C\"] []\r\n"
    "@D004 [\"Trim\"] [2101] [6] [CAL #*0.1|-256*0.1;2] [\"%\"] []\r\n"
    "@D005 [\"Switch\"] [2102] [2] [LOG 3] [\"OFF\"/\"ON\"] []\r\n"
    "@D006 [\"Gear\"] [2102] [3] [TBL GEARS] [] []\r\n"
    "@D007 [\"Boost\"] [2102] [4,5] [CAL *1;0] [\"mbar\"] []\r\n"
    "@D008 [\"Status\"] [2103] [0] [HEX] [] []\r\n"
    "@D009 [\"Valve\"] [2103] [2] [CAL *1;0] [\"%\"] []\r\n"
    "@D010 [\"Stage\"] [2103] [3] [CAL *1;0] [] []\r\n"
    "ENDDATA\r\n>\r\nGEARS={N,1,2,3,4,5}\r\n";

}  // namespace corvan::bench
