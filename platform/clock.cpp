#include "platform/clock.h"

#include <ctime>
#include <thread>

namespace corvan {

int64_t RealClock::nowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void RealClock::sleepUs(int64_t us) {
    // The one place where the program really waits; everything else goes through a Clock.
    if (us > 0) std::this_thread::sleep_for(std::chrono::microseconds(us));
}

CivilTime RealClock::civilNow() const {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    return CivilTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

VirtualClock::VirtualClock(CivilTime start) : start_(start) {}

CivilTime VirtualClock::civilNow() const {
    using namespace std::chrono;
    const year_month_day startDay{year{start_.year}, month{static_cast<unsigned>(start_.month)},
                                  day{static_cast<unsigned>(start_.day)}};
    const sys_seconds startTime =
        sys_days{startDay} + hours{start_.hour} + minutes{start_.minute} + seconds{start_.second};
    const sys_seconds t = startTime + duration_cast<seconds>(microseconds{now_});
    const sys_days d = floor<days>(t);
    const year_month_day ymd{d};
    const hh_mm_ss hms{t - d};
    return CivilTime{
        int(ymd.year()),          int(unsigned(ymd.month())), int(unsigned(ymd.day())),
        int(hms.hours().count()), int(hms.minutes().count()), int(hms.seconds().count())};
}

}  // namespace corvan
