// corvan-sample-pictures LIST IMAGES-FOLDER
//
// Draws every picture LIST names into IMAGES-FOLDER (the installation's "Imagenes"). A
// line of LIST is a kind, the file (relative to the folder) and the kind's arguments;
// texts in double quotes, colours as RRGGBB, pin lists as 6,14; "#" starts a comment.
//
//   brand       FILE STYLE COLOUR "NAME"      disc, shield, oval, square
//   model       FILE STYLE COLOUR "LABEL"     sedan, hatch, estate, suv, van
//   connector   FILE TYPE PINS "LABEL"        obd16, round20
//   connection  FILE LOCATION                 also writes Small/FILE for the connect prompt
//   icon        FILE KIND SIZE
//   logo        FILE
//   background  FILE
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/sample/pictures/scenes.h"

namespace {

using namespace corvan::sample;

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    std::string w;
    while (in >> std::ws && in.peek() != EOF) {
        if (in.peek() == '#') break;
        if (in.peek() == '"') {
            in.get();
            std::getline(in, w, '"');
        } else {
            in >> w;
        }
        out.push_back(w);
    }
    return out;
}

std::vector<int> pins(const std::string& list) {
    std::vector<int> out;
    std::istringstream in(list);
    for (std::string p; std::getline(in, p, ',');)
        if (!p.empty()) out.push_back(std::stoi(p));
    return out;
}

bool save(const std::filesystem::path& file, const Canvas& c) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << c.bmp();
    return static_cast<bool>(out);
}

Rgb colour(const std::string& hex) {
    return rgb(static_cast<uint32_t>(std::stoul(hex, nullptr, 16)));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvan-sample-pictures LIST IMAGES-FOLDER\n");
        return 1;
    }
    std::ifstream list(argv[1]);
    if (!list) {
        std::fprintf(stderr, "corvan-sample-pictures: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::filesystem::path out = argv[2];
    int lineNo = 0, failures = 0;
    for (std::string line; std::getline(list, line);) {
        ++lineNo;
        const auto w = words(line);
        if (w.empty()) continue;
        const std::string& kind = w[0];
        auto need = [&](size_t n) {
            if (w.size() == n) return true;
            std::fprintf(stderr, "%s:%d: %s takes %zu words\n", argv[1], lineNo, kind.c_str(), n);
            ++failures;
            return false;
        };
        try {
            bool ok = true;
            if (kind == "brand" && need(5))
                ok = save(out / w[1], brandBadge(w[2], colour(w[3]), w[4]));
            else if (kind == "model" && need(5))
                ok = save(out / w[1], modelPicture(w[2], colour(w[3]), w[4]));
            else if (kind == "connector" && need(5))
                ok = save(out / w[1], connectorPicture(w[2], pins(w[3]), w[4]));
            else if (kind == "connection" && need(3))
                ok = save(out / w[1],
                          connectionPicture(w[2], kConnectionWidth, kConnectionHeight)) &&
                     save(out / std::filesystem::path(w[1]).parent_path() / "Small" /
                              std::filesystem::path(w[1]).filename(),
                          connectionPicture(w[2], kBoxWidth, kBoxHeight));
            else if (kind == "icon" && need(4))
                ok = save(out / w[1], icon(w[2], std::stoi(w[3])));
            else if (kind == "logo" && need(2))
                ok = save(out / w[1], corvanLogo());
            else if (kind == "background" && need(2))
                ok = save(out / w[1], background());
            else if (kind != "brand" && kind != "model" && kind != "connector" &&
                     kind != "connection" && kind != "icon" && kind != "logo" &&
                     kind != "background") {
                std::fprintf(stderr, "%s:%d: unknown kind %s\n", argv[1], lineNo, kind.c_str());
                ++failures;
            }
            if (!ok) {
                std::fprintf(stderr, "%s:%d: cannot write %s\n", argv[1], lineNo, w[1].c_str());
                ++failures;
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s:%d: %s\n", argv[1], lineNo, e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
