// A build without the Qt front end: the shell runs headless only.
#include <cstdio>

#include "shell/shell_run.h"

namespace corvan::shell {

bool qtBuilt() {
    return false;
}

bool qtDisplayAvailable() {
    return false;
}

int runWithQt(int&, char**, ShellHost&, const RunOptions&) {
    std::fprintf(stderr, "eCorvanData: this build has no Qt front end\n");
    return 1;
}

}  // namespace corvan::shell
