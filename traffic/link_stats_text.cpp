#include "traffic/link_stats_text.h"

#include <cstdio>

namespace tc101 {

std::string MillisecondsText(std::optional<ResponseTime> time) {
    if (!time) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", std::chrono::duration<double, std::milli>(*time).count());
    return text;
}

std::string LinkPanelText(const LinkStatistics& stats) {
    // Whole milliseconds from 10 up: the status bar has little room.
    const auto shortText = [](std::optional<ResponseTime> t) {
        if (!t || *t < std::chrono::milliseconds(10)) return MillisecondsText(t);
        return std::to_string(std::chrono::round<std::chrono::milliseconds>(*t).count());
    };
    return shortText(stats.Last()) + "/" + shortText(stats.Mean()) + "ms 超时:" +
           std::to_string(stats.Counts().timeouts);
}

std::string LinkSummaryLine(const LinkStatistics& stats) {
    const LinkCounts& c = stats.Counts();
    const auto summary = stats.Summary();
    const auto pick = [&summary](ResponseTime ResponseSummary::*field) {
        return MillisecondsText(summary ? std::optional((*summary).*field) : std::nullopt);
    };
    return "link: sent=" + std::to_string(c.sent) + " answered=" + std::to_string(c.answered) +
           " timeouts=" + std::to_string(c.timeouts) + " repeats=" + std::to_string(c.repeats) +
           " checksum_errors=" + std::to_string(c.checksumErrors) + " unexpected=" + std::to_string(c.unexpected) +
           " min_ms=" + pick(&ResponseSummary::min) + " median_ms=" + pick(&ResponseSummary::median) +
           " p95_ms=" + pick(&ResponseSummary::p95) + " max_ms=" + pick(&ResponseSummary::max);
}

}  // namespace tc101
