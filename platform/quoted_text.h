#pragma once
// Texts written between double quotes in the project's text files (screen dumps, the
// registry file): `"` and `\` escaped, line ends and tabs as \n \r \t, other control bytes
// as \xHH; every other byte, UTF-8 included, as it is.
#include <string>
#include <string_view>

namespace corvan {

std::string quoteText(std::string_view text);

}  // namespace corvan
