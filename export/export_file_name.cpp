#include "export/export_file_name.h"

#include <cstdio>
#include <ctime>

namespace tc101 {

namespace {

constexpr std::string_view kPrefix = "遥测遥信_";
constexpr std::string_view kExtension = ".xlsx";

std::string Stamp(std::chrono::local_seconds time) {
    using namespace std::chrono;
    const auto day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02u%02ld%02ld%02ld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(clock.hours().count()), static_cast<long>(clock.minutes().count()),
                  static_cast<long>(clock.seconds().count()));
    return text;
}

}  // namespace

std::string ExportFileName(std::chrono::local_seconds time) {
    return std::string(kPrefix) + Stamp(time) + std::string(kExtension);
}

std::filesystem::path ProposedExportPath(std::chrono::local_seconds time, const std::filesystem::path& folder,
                                         const std::function<bool(const std::filesystem::path&)>& exists) {
    const std::string stem = std::string(kPrefix) + Stamp(time);
    std::filesystem::path candidate = folder / (stem + std::string(kExtension));
    for (int n = 2; exists(candidate); ++n)
        candidate = folder / (stem + "_" + std::to_string(n) + std::string(kExtension));
    return candidate;
}

std::chrono::local_seconds LocalNow() {
    using namespace std::chrono;
    const std::time_t now = system_clock::to_time_t(system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    const year_month_day date{year(local.tm_year + 1900), month(static_cast<unsigned>(local.tm_mon + 1)),
                              day(static_cast<unsigned>(local.tm_mday))};
    return local_days(date) + hours(local.tm_hour) + minutes(local.tm_min) + seconds(local.tm_sec);
}

}  // namespace tc101
