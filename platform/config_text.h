#pragma once
// The configuration file "iCor.cfg" of the terminal: keys written KEY=[value] anywhere in
// the file. The shell, the engine and the device tools read it by the same rule.
#include <string>
#include <string_view>

namespace corvan {

// The value of `key` (written with its "="): from the key's first occurrence, the text
// between the first "[" and the first "]" found from there. Empty when the key or a bracket
// is missing, or the "]" comes first.
std::string configValue(std::string_view text, std::string_view key);

// The language word of the file as a language index: "SPANISH" 0, "ENGLISH" 1, "GERMAN" 2,
// "PORTUGUESE" 5 (the spare slots 3 and 4 are skipped); anything else, lower-case spellings
// included, 0.
int languageIndexOf(std::string_view languageName);

}  // namespace corvan
