#pragma once

// The octet sizes of the profile's variable fields. The tshark line that
// decodes a capture the same way is derived from these values.

namespace tc101 {

struct FieldSizes {
    // Octets of the link address, cause of transmission, common address
    // and information object address.
    int linkAddress = 1;
    int cause = 1;
    int commonAddress = 1;
    int objectAddress = 2;

    friend bool operator==(const FieldSizes&, const FieldSizes&) = default;
};

inline constexpr FieldSizes kProfileFieldSizes{};

}  // namespace tc101
