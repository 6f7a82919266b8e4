#pragma once

// Information objects as the standard lays them out, for the standard
// object decoding: which types are read, each type's element (value,
// quality descriptor, time tag), and the pure readings of those octets.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tc101 {

enum class PointKind : std::uint8_t { SinglePoint, DoublePoint, Measured };
enum class ValueForm : std::uint8_t { State, Normalised, Scaled, ShortFloat };
enum class TimeTag : std::uint8_t { None, Cp24, Cp56 };

struct ElementLayout {
    PointKind kind;
    ValueForm form;
    bool hasQuality;  // a QDS octet after the value (measured values)
    TimeTag time;
    int size;  // octets of one element, without its object address
};

// Types 1, 2, 30 (single points), 3, 4, 31 (double points), 9 to 14, 21,
// 34 to 36 (measured values); nothing for any other.
std::optional<ElementLayout> StandardElement(std::uint8_t type);

// Octets of each time tag.
inline constexpr int kCp24Octets = 3;
inline constexpr int kCp56Octets = 7;

// The texts of double point states 0 (indeterminate or intermediate) and 3
// (indeterminate); 1 and 2 take the row's "0的意义" and "1的意义".
inline constexpr std::string_view kDoublePointIntermediateText = "中间状态";
inline constexpr std::string_view kDoublePointIndeterminateText = "不确定";

// The value octets of a measured element: the 16-bit raw value of a
// normalised or scaled value, or the short float.
std::int64_t RawValue16(std::span<const std::uint8_t> element);
float ShortFloatValue(std::span<const std::uint8_t> element);

// The time a tag carries as an event time text: CP24 as the designed
// H " 时" M " 分" S " 秒" MS " 毫秒" with the given hour; CP56 with its own
// date and hour before it ("2026-03-07 " and the same).
std::string TimeTagText(TimeTag tag, std::span<const std::uint8_t> octets, int localHour);

}  // namespace tc101
