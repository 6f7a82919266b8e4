#pragma once

// One information element explained: its tree line and its JSON fields.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/explain/frame_explanation.h"
#include "protocol/explain/json_value.h"
#include "protocol/explain/type_table.h"

namespace tc101 {

// Quality flags collected over an object's elements, listed in this order.
enum QualityFlag : std::uint16_t {
    kQualityIv = 1 << 0, kQualityNt = 1 << 1, kQualitySb = 1 << 2, kQualityBl = 1 << 3,
    kQualityOv = 1 << 4, kQualityEi = 1 << 5, kQualityCy = 1 << 6, kQualityCa = 1 << 7,
};
// ["IV","NT",...] of the flags set.
JsonValue QualityList(std::uint16_t flags);

// Where an element's results go.
struct ElementTarget {
    std::vector<ExplainNode>& nodes;  // the object's children
    JsonValue& object;                // the object's JSON ("ioa", "value", "quality", "time", fields)
    // True for commands, qualifiers and file transfer: the value is an
    // object of the fields; else the value is the first element's number.
    bool valueIsObject;
    std::uint16_t quality = 0;
    std::string summary;              // the object's line after its address
    bool timeSeen = false;
};

// element's octets exactly (a segment: its length octet and data).
void ExplainElement(Element element, std::span<const std::uint8_t> octets, ElementTarget& target);

}  // namespace tc101
