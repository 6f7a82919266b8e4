#pragma once

// The link statistics as the window's status bar panel and as the line a
// console run ends with on standard error (a fixed form scripts may read).

#include <string>

#include "traffic/link_statistics.h"

namespace tc101 {

// Milliseconds with one decimal, "12.3"; "-" for nothing.
std::string MillisecondsText(std::optional<ResponseTime> time);

// " 响应:12.3ms 平均:15.0ms 超时:0" (last and mean response time, timeouts).
std::string LinkPanelText(const LinkStatistics& stats);

// "link: sent=N answered=N timeouts=N repeats=N checksum_errors=N unexpected=N
// min_ms=X median_ms=X p95_ms=X max_ms=X" on one line, "-" for times with no answer.
std::string LinkSummaryLine(const LinkStatistics& stats);

}  // namespace tc101
