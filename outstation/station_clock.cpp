#include "outstation/station_clock.h"

#include <chrono>
#include <ctime>

namespace tc101 {

ClockReading ReadSystemClock() {
    using namespace std::chrono;
    const auto steady = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::int64_t ofDay = ((local.tm_hour * 60LL + local.tm_min) * 60 + local.tm_sec) * 1000 + ms;
    constexpr int kTmYearBase = 1900;
    return {steady, ofDay, local.tm_year + kTmYearBase, local.tm_mon + 1, local.tm_mday};
}

}  // namespace tc101
