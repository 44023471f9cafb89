#pragma once
// The descriptions of the groups, from the record: each "@D" mark starts a group, its number
// the three digits after the mark; ten quoted texts follow for group 0 (one per raw value)
// and four for every other group (one per field).
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::vagchannels {

inline constexpr int kGroups = 256;
inline constexpr int kTextsPerGroup = 10;
inline constexpr int kGroup0Texts = 10;
inline constexpr int kFieldTexts = 4;

class ChannelDescriptions {
  public:
    ChannelDescriptions() : texts_(kGroups) {}
    // Text `index` of `group`; empty when the record gives none.
    const std::string& text(int group, int index) const;
    void set(int group, int index, std::string text);

  private:
    std::vector<std::array<std::string, kTextsPerGroup>> texts_;
};

// The groups of the record from `start` on: the first "@D" mark at or after it, then each
// further mark that lies before the next "ENDDATA" (up to the end of the text when there is
// none), 256 marks at most. A mark without three digits, or with a number above 255, is
// passed over. Texts are stored without their first and last character (the quotes).
ChannelDescriptions readChannelDescriptions(std::string_view text, int start);

}  // namespace corvan::vagchannels
