// corvan-menutool: the shell's menu files for authors.
//
//   corvan-menutool scramble SOURCE FILE.mnu     readable source -> installed menu file
//   corvan-menutool descramble FILE.mnu [SOURCE] installed menu file -> readable text
//
// A source is UTF-8 text, one menu line per text line ("\n" or "\r\n"), fields separated by
// "¬". The installed file is Windows-1252, every line ended by "\r\n" (the shell ignores
// text after the last one) and every byte XOR 0x9E. Characters Windows-1252 lacks cannot be
// installed: the tool names them and fails.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "shell/menu_text.h"

namespace {

using namespace corvan;

int fail(const std::string& message) {
    std::fprintf(stderr, "corvan-menutool: %s\n", message.c_str());
    return 1;
}

// Source text -> menu text: every source line ended by "\r\n".
std::string menuTextOf(const std::string& source) {
    std::string text;
    size_t pos = 0;
    while (pos < source.size()) {
        size_t end = source.find('\n', pos);
        if (end == std::string::npos) end = source.size();
        std::string line = source.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line + "\r\n";
        pos = end + 1;
    }
    return text;
}

int scramble(const std::string& sourcePath, const std::string& outPath) {
    auto source = readWholeFile(sourcePath);
    if (!source) return fail("cannot read " + sourcePath);
    if (source->starts_with("\xEF\xBB\xBF")) source->erase(0, 3);  // an editor's byte-order mark
    const std::string text = menuTextOf(*source);
    if (cp1252ToUtf8(utf8ToCp1252(text)) != text) {
        // Name the first line that does not survive, so the author can mend it.
        int lineNo = 1;
        for (const auto line : shell::menuLines(text)) {
            if (cp1252ToUtf8(utf8ToCp1252(line)) != line)
                return fail(sourcePath + ":" + std::to_string(lineNo) +
                            ": a character has no Windows-1252 byte");
            ++lineNo;
        }
        return fail(sourcePath + ": not UTF-8 text");
    }
    if (!writeFileAtomic(outPath, shell::scrambleMenu(text)))
        return fail("cannot write " + outPath);
    return 0;
}

int descramble(const std::string& menuPath, const std::string& outPath) {
    const auto bytes = readWholeFile(menuPath);
    if (!bytes) return fail("cannot read " + menuPath);
    const std::string text = shell::descrambleMenu(*bytes);
    std::string source;
    for (const auto line : shell::menuLines(text)) source.append(line).append("\n");
    const size_t lastEnd = text.rfind("\r\n");
    const size_t tail = lastEnd == std::string::npos ? 0 : lastEnd + 2;
    if (tail < text.size())
        std::fprintf(stderr, "corvan-menutool: %s: text after the last line end, not a line: %s\n",
                     menuPath.c_str(), text.substr(tail).c_str());
    if (outPath.empty()) {
        std::cout << source;
        return 0;
    }
    if (!writeFileAtomic(outPath, source)) return fail("cannot write " + outPath);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    static constexpr const char* kUsage =
        "usage: corvan-menutool scramble SOURCE FILE.mnu\n"
        "       corvan-menutool descramble FILE.mnu [SOURCE]\n"
        "Writes the shell's scrambled menu files from readable sources and back.\n"
        "Exit status: 0 done, 1 bad command line or a file that cannot be read or written.\n";
    const std::string command = argc > 1 ? argv[1] : "";
    if (argc == 2 && (command == "-h" || command == "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "scramble" && argc == 4) return scramble(argv[2], argv[3]);
    if (command == "descramble" && (argc == 3 || argc == 4))
        return descramble(argv[2], argc == 4 ? argv[3] : "");
    std::fputs(kUsage, stderr);
    return 1;
}
