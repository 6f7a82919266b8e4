#pragma once

// The standard type identifications of IEC 60870-5-101: name, a short
// Chinese description, and the information elements of one object in order.

#include <cstdint>
#include <span>
#include <string_view>

namespace tc101 {

// One information element as it stands in an object.
enum class Element : std::uint8_t {
    Siq, Diq, Vti, Qds, Bsi, Nva, Sva, Float, Bcr,
    Sep, Spe, Oci, Qdp, Scd,
    Cp16, Cp24, Cp56,
    Sco, Dco, Rco, Qos, Qoi, Qcc, Qrp, Qpm, Qpa, Coi, Fbp, Tsc,
    Nof, Nos, Lof, Frq, Srq, Scq, Lsq, Chs, Afq, Sof, Segment,
};

// Octets of an element; the segment's is its length octet, its data follow.
int ElementSize(Element element);

struct TypeInfo {
    std::uint8_t ti;
    std::string_view name;         // "M_SP_NA_1"
    std::string_view description;  // "单点信息"
    std::span<const Element> elements;
};

// Nothing for a type the standard does not define for this companion standard.
const TypeInfo* FindType(std::uint8_t ti);

}  // namespace tc101
