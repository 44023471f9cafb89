#pragma once
// Readings as a CSV file a spreadsheet opens: semicolons between the fields (the decimal
// comma of the workshop's spreadsheets stays unambiguous), a heading line, then one line per
// polling cycle: its time in seconds and the value of each item as the list showed it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "plugins/livedata/live_recording.h"

namespace corvan::livedata {

struct CsvColumn {
    std::string heading;          // "D001 Engine speed (rpm)"
    std::vector<Sample> samples;  // oldest first
};

// The heading of an item's column: key, description and, when it has one, the unit.
std::string csvHeading(const RecordedItem& item);

// The whole text (UTF-8, CR LF line ends). A line's time is that of the first reading of its
// cycle, in seconds after `originMs` with three decimals; an item without a reading in a cycle
// leaves its field empty. A field holding ';', '"' or a line end is quoted.
std::string liveCsv(const std::vector<CsvColumn>& columns, int64_t originMs);

// Every item's kept readings.
std::vector<CsvColumn> recordingColumns(const LiveRecording& recording);

// The file name of a save: the prefix and the terminal's date and time, "LIVE_20070203_090507.CSV".
std::string csvFileName(std::string_view prefix, const CivilTime& at);

}  // namespace corvan::livedata
