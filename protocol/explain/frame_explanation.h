#pragma once

// 报文详解: every frame explained field by field under a profile's field
// sizes, as a tree of labelled nodes for people and as a JSON object for
// scripts. Pure functions over the octets: nothing is read beyond the frame,
// and a frame that breaks off is explained as far as it is valid.

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

struct FrameExplanation {
    std::size_t start = 0;  // of the frame in the buffer it was found in
    std::size_t size = 0;
    ExplainNode tree;       // the frame, then its link layer, ASDU and objects
    JsonValue json;         // the object of the JSON contract
};

// One frame, from its start octet to its end octet as a frame search found it.
FrameExplanation ExplainFrame(std::span<const std::uint8_t> frame, const ExplainOptions& options);

// Every frame of a burst, in order, found with the options' link address size.
std::vector<FrameExplanation> ExplainFrames(std::span<const std::uint8_t> burst, const ExplainOptions& options);

}  // namespace tc101
