#pragma once
// The list of trouble codes the technician sees after a self-test or a reading of the
// stored codes: code and description per row, the number of codes, a panel with the detail
// of the tapped row, the erase button (erasing is done from the trouble-code menu, never
// from this list) and the exit button. Also the loading of the definition text that gives
// the codes their descriptions.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugins/faultcodes/trouble_code.h"
#include "runtime/module_context.h"
#include "runtime/module_dialog.h"
#include "ui/dialog_template.h"

namespace corvan::faultcodes {

inline constexpr int kListId = 1000;
inline constexpr int kDetailId = 1001;
inline constexpr int kCountLabelId = 1002;
inline constexpr int kCountId = 1003;
inline constexpr int kEraseId = 1004;
inline constexpr int kExitId = 2;
inline constexpr std::string_view kEraseCommand = "ERASE";
inline constexpr int kListRows = 30;

ui::DialogTemplate codeListTemplate();

struct ShownCode {
    std::string code, description, detail;
};

// How a code is shown: a description holding kUnidentifiedMark becomes the language's
// unidentified-code text and keeps its detail (the ECU's reply); any other code shows the
// detail-missing text as its detail; a detail is cut at kFrameMark.
ShownCode shownCode(const TroubleCode& code, const ModuleContext& ctx);

// The definition text of data path + "\dtc\" + `fileName`, made readable by DTCBASE.dll.
// A missing file gives an empty text (after the no-definition message when
// `tellWhenMissing`); nullopt means the run ends here: the file cannot be held in memory
// or the library cannot be loaded (each after its message), or the library refused it.
std::optional<std::string> loadDefinitions(const ModuleContext& ctx, std::string_view dataPath,
                                           std::string_view fileName, bool tellWhenMissing);

class CodeList {
  public:
    // The dialog titled `titlePrefix` + `name`, its two columns and 30 empty rows with the
    // searching text in the first; shown with its texts in "EXE" and "DEMO".
    CodeList(const ModuleContext& ctx, std::string_view titlePrefix, std::string_view name);

    // The list loop until the technician leaves (one pass outside "EXE" and "DEMO"); every
    // 500 ms it shows the count, the rows and the detail of the tapped row. Returns the
    // report records "@" code "|" description "|" outside "EXE" and "DEMO".
    std::string run(const std::vector<TroubleCode>& codes);

  private:
    void showRows(const std::vector<TroubleCode>& codes, bool first, std::string& records);

    const ModuleContext& ctx_;
    ModuleDialog dialog_;
    std::string name_;  // the function name, for the host's session report
    int selected_ = -1;
};

}  // namespace corvan::faultcodes
