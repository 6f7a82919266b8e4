#pragma once

// The "比例" column of the telemetry definitions holds a number: what the user
// types there is rewritten in the shortest general decimal form.

#include <optional>
#include <string>
#include <string_view>

namespace tc101 {

// The column title's tooltip, wherever the column shows: how a ratio is used.
inline constexpr char16_t kRatioColumnTip[] = u"显示值 = 原始值 ÷ 比例";

// The number typed, rewritten ("2.50" gives "2.5", " 3 " gives "3"); a blank
// entry stays as it is. std::nullopt when the text is not a number.
std::optional<std::string> RatioCellText(std::string_view typed);

}  // namespace tc101
