#pragma once

// The link and ASDU profile of one installation: how many octets each
// variable field takes and how information objects are read. The default is
// the tool's original profile (1/1/1/2, objects read by the legacy rules),
// under which every output stays as it always was. A value: whoever needs it
// is handed one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/field_sizes.h"

namespace tc101 {

// legacy: interrogation replies read by position, one address octet picks
// the row. standard: SQ and the VSQ number honoured, each type's element
// layout, rows by full object address from a base per table.
enum class ObjectDecoding : std::uint8_t { Legacy, Standard };

// unbalanced: the master polls a secondary outstation (the tool's original
// procedure). balanced: both stations are primary; the outstation sends its
// data as soon as it has it, each frame confirmed.
enum class LinkMode : std::uint8_t { Unbalanced, Balanced };

// The settings of the balanced procedure; unused in unbalanced mode.
struct BalancedSettings {
    // Link address in the outstation's own (primary) frames and in our
    // answers to them; none: the same address both ways.
    std::optional<std::uint32_t> otherAddress;
    // Positive acknowledgements as the single character E5.
    bool singleCharAck = false;
    // Idle line time before a test function of link; 0: never.
    std::int64_t testPeriodMs = 10'000;
    // Time an answer may take before the frame is sent again, and how often.
    std::int64_t repeatTimeoutMs = 1'000;
    int retries = 3;

    friend bool operator==(const BalancedSettings&, const BalancedSettings&) = default;
};

inline constexpr std::uint32_t kDefaultYxBase = 1;
inline constexpr std::uint32_t kDefaultYcBase = 0x4001;

struct LinkProfile {
    FieldSizes sizes;
    // Second cause octet when the cause takes two.
    std::uint8_t originator = 0;
    // Common address of the ASDU; none: the device address, as always.
    std::optional<std::uint32_t> commonAddress;
    ObjectDecoding decoding = ObjectDecoding::Legacy;
    // Object address of each table's first row (standard decoding).
    std::uint32_t yxBase = kDefaultYxBase;
    std::uint32_t ycBase = kDefaultYcBase;
    LinkMode mode = LinkMode::Unbalanced;
    BalancedSettings balanced;

    friend bool operator==(const LinkProfile&, const LinkProfile&) = default;
};

// Allowed sizes: link 1 or 2, cause 1 or 2, common address 1 or 2, object
// address 1 to 3. (Link 0 belongs to the balanced procedure.)
bool ValidFieldSizes(const FieldSizes& sizes);
// The same, with a link address of 0 octets allowed in balanced mode.
bool ValidFieldSizes(const FieldSizes& sizes, LinkMode mode);

// "LA/COT/CA/IOA", e.g. "2/2/2/3"; nothing for any other text or a size
// outside the allowed ones.
std::optional<FieldSizes> ParseFieldSizes(std::string_view text);
std::optional<FieldSizes> ParseFieldSizes(std::string_view text, LinkMode mode);
std::string FieldSizesText(const FieldSizes& sizes);

// "legacy" / "standard".
std::optional<ObjectDecoding> ParseObjectDecoding(std::string_view text);
std::string_view ObjectDecodingName(ObjectDecoding decoding);

// "unbalanced" / "balanced".
std::optional<LinkMode> ParseLinkMode(std::string_view text);
std::string_view LinkModeName(LinkMode mode);

}  // namespace tc101
