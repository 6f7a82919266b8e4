#pragma once

// 报文详解: every frame explained field by field under a profile's field
// sizes, as a tree of labelled nodes for people and as a JSON object for
// scripts. Pure functions over the octets: nothing is read beyond the frame,
// and a frame that breaks off is explained as far as it is valid.
//
// Explaining a frame only finds where its objects lie and where decoding
// stops; the texts and the JSON are written from that when asked for, so a
// burst of thousands of frames costs little until it is shown.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/explain/json_value.h"
#include "protocol/field_sizes.h"
#include "protocol/link_profile.h"

namespace tc101 {

struct ExplainOptions {
    // Link address 0 to 2 octets (0 only on a balanced link), cause 1 or 2,
    // common address 1 or 2, object address 1 to 3.
    FieldSizes sizes;
    // The control field's bit 0x80 is DIR and secondary frames carry no ACD.
    bool balanced = false;

    friend bool operator==(const ExplainOptions&, const ExplainOptions&) = default;
};

// The field sizes of a profile, on an unbalanced link.
ExplainOptions ExplainOptionsFor(const LinkProfile& profile);

struct ExplainNode {
    std::string text;
    std::vector<ExplainNode> children;
};

// Where decoding stopped, and the figures its text names.
struct ExplainStop {
    enum class Kind : std::uint8_t { None, LinkHeader, AsduHeader, UnknownType, ObjectAddress, Object, Trailing };
    Kind kind = Kind::None;
    std::uint16_t object = 0;  // counted from 1
    std::uint16_t offset = 0;  // of the octet where it stops, counted from 0
    std::uint16_t needed = 0;
    std::uint16_t left = 0;
};

// A complete information object: its address and where its elements start.
struct ExplainedObject {
    std::uint32_t ioa = 0;
    std::uint16_t at = 0;
};

struct FrameExplanation {
    std::size_t start = 0;  // of the frame in the buffer it was found in
    std::size_t size = 0;
    ExplainOptions options;
    std::vector<std::uint8_t> octets;  // the frame's own copy
    std::vector<ExplainedObject> objects;
    ExplainStop stop;
    bool checksumOk = true;

    // The frame, then its link layer, ASDU and objects.
    ExplainNode Tree() const;
    // The object of the JSON contract.
    JsonValue Json() const;
};

// One frame, from its start octet to its end octet as a frame search found it.
FrameExplanation ExplainFrame(std::span<const std::uint8_t> frame, const ExplainOptions& options);

// Every frame of a burst, in order, found with the options' link address size.
std::vector<FrameExplanation> ExplainFrames(std::span<const std::uint8_t> burst, const ExplainOptions& options);

}  // namespace tc101
