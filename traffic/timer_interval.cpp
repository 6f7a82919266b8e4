#include "traffic/timer_interval.h"

#include <charconv>
#include <limits>

namespace tc101 {

std::int64_t SpinnerInterval(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

}  // namespace tc101
