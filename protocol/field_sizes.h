#pragma once

// The octet sizes of the profile's variable fields. The analyser and the
// outstation speak today's profile; the tshark line that decodes a capture
// the same way is derived from these values.

namespace tc101 {

struct FieldSizes {
    int linkAddress = 1;
    int cause = 1;
    int commonAddress = 1;
    int objectAddress = 2;
};

inline constexpr FieldSizes kProfileFieldSizes{};

}  // namespace tc101
