#include "plugins/boxstart/box_texts.h"

namespace corvan::boxstart {

std::string fillIn(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string out;
    auto next = values.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() &&
            (format[i + 1] == 's' || format[i + 1] == 'i')) {
            if (next != values.end()) out += *next++;
            ++i;
            continue;
        }
        out += format[i];
    }
    return out;
}

}  // namespace corvan::boxstart
