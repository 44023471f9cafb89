#pragma once
// For tests of what a kill leaves on storage: a forked child does the same write over and
// over (the round number tells it which of its versions to write) and is killed with SIGKILL
// at a random point, again and again; after each kill the test looks at the file. A kill can
// land anywhere: in the middle of a write(), between the write and the rename, while the
// folder is synced. No sleeping: the parent spins for a random number of microseconds.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>

namespace corvan::testing {

struct KillFigures {
    int kills = 0;        // children killed by the signal
    bool failed = false;  // a child could not be started, or ended otherwise
};

// `write(round)` runs in each child, rounds 0, 1, 2, ... until it is killed (a child that
// must go on from what the last one left reads it from the file); it must not return false
// (the child then ends with status 1, which the figures report as failed).
// `check(kill)` runs in the parent after each kill. At most `maxSpinUs` between the child's
// start and its kill.
inline KillFigures killWriterRepeatedly(int kills, uint32_t seed, int maxSpinUs,
                                        const std::function<bool(uint64_t round)>& write,
                                        const std::function<void(int kill)>& check) {
    KillFigures figures;
    std::mt19937 random(seed);
    for (int k = 0; k < kills; ++k) {
        int ready[2];
        if (::pipe(ready) != 0) return {figures.kills, true};
        const pid_t child = ::fork();
        if (child < 0) return {figures.kills, true};
        if (child == 0) {
            ::close(ready[0]);
            for (uint64_t r = 0;; ++r) {
                if (r == 1) {
                    const char c = 1;
                    (void)!::write(ready[1], &c, 1);
                }
                if (!write(r)) ::_exit(1);
            }
        }
        ::close(ready[1]);
        char c = 0;
        // The first write is done: the file exists in one version before the kills begin.
        const bool started = ::read(ready[0], &c, 1) == 1;
        ::close(ready[0]);
        const auto until = std::chrono::steady_clock::now() +
                           std::chrono::microseconds(random() % uint32_t(maxSpinUs + 1));
        while (std::chrono::steady_clock::now() < until) {
        }
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!started || !WIFSIGNALED(status))
            figures.failed = true;
        else
            ++figures.kills;
        check(k);
    }
    return figures;
}

}  // namespace corvan::testing
