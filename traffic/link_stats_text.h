#pragma once

// The link statistics as the window's status bar panel and as the line a
// console run ends with on standard error (a fixed form scripts may read).

#include <string>

#include "traffic/link_statistics.h"

namespace tc101 {

// Milliseconds with one decimal, "12.3"; "-" for nothing.
std::string MillisecondsText(std::optional<ResponseTime> time);

// "7.5/12ms 超时:0": last/mean response time (one decimal below 10 ms,
// whole ms from 10 up; "-/-ms" before any answer), timeouts. Short: the
// status bar of the window at its first size has little room left.
std::string LinkPanelText(const LinkStatistics& stats);

// "link: sent=N answered=N timeouts=N repeats=N checksum_errors=N unexpected=N
// min_ms=X median_ms=X p95_ms=X max_ms=X" on one line, "-" for times with no answer.
std::string LinkSummaryLine(const LinkStatistics& stats);

}  // namespace tc101
