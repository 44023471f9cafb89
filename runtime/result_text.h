#pragma once
// The text a plug-in hands back: empty, a status word, or report data: a section head such
// as "[IDN]" followed by records "@" id "|" label "|" value "|" with nothing in between.
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

// "@i003|VER|2.1|"
std::string resultRecord(std::string_view id, std::string_view label, std::string_view value);

class ResultText {
  public:
    explicit ResultText(std::string_view head = {}) : text_(head) {}
    ResultText& record(std::string_view id, std::string_view label, std::string_view value) {
        text_ += resultRecord(id, label, value);
        return *this;
    }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

struct ResultRecord {
    std::string id, label, value;
    bool operator==(const ResultRecord&) const = default;
};

// The records of a result text, for callers that show a report and for tests. Text before
// the first "@" (the section head) is skipped; a record cut short is dropped.
std::vector<ResultRecord> parseResultRecords(std::string_view text);

}  // namespace corvan
