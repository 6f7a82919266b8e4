#pragma once

// Names of the link functions and causes of transmission, as the standards
// abbreviate them, with the Chinese terms engineers read.

#include <cstdint>
#include <string_view>

namespace tc101 {

struct StandardName {
    std::string_view abbreviation;  // "spont", "request status of link"
    std::string_view chinese;       // "突发(自发)", "召唤链路状态"
};

// The function code's name by the frame's direction (PRM) and link procedure.
StandardName FunctionName(bool primary, std::uint8_t function, bool balanced);

// Cause of transmission (6 bits); "unknown" names for the reserved ones.
StandardName CauseName(std::uint8_t cause);

}  // namespace tc101
