// corvan-sample-gen: writes the installed files of the sample installation that are not
// kept as readable sources.
//
//     corvan-sample-gen driver NAME SIZE FILE   a protocol driver image
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/sample/generator/driver_image.h"
#include "platform/file_io.h"

int main(int argc, char** argv) {
    if (argc == 5 && std::string_view(argv[1]) == "driver") {
        char* end = nullptr;
        const unsigned long size = std::strtoul(argv[3], &end, 10);
        if (!end || *end || size == 0 || size > 4ul * 1024 * 1024) {
            std::fprintf(stderr, "corvan-sample-gen: bad driver size %s\n", argv[3]);
            return 1;
        }
        const auto image = corvan::sample::makeDriverImage(argv[2], size);
        const std::string bytes(image.begin(), image.end());
        if (!corvan::writeFileAtomic(argv[4], bytes)) {
            std::fprintf(stderr, "corvan-sample-gen: cannot write %s\n", argv[4]);
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "usage: corvan-sample-gen driver NAME SIZE FILE\n");
    return 1;
}
