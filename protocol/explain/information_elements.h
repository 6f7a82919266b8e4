#pragma once

// One information element explained: its tree line, its part of the object's
// line, and its JSON fields. Each is written only when asked for.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/explain/type_table.h"

namespace tc101 {

// Quality flags collected over an object's elements, listed in this order.
enum QualityFlag : std::uint16_t {
    kQualityIv = 1 << 0, kQualityNt = 1 << 1, kQualitySb = 1 << 2, kQualityBl = 1 << 3,
    kQualityOv = 1 << 4, kQualityEi = 1 << 5, kQualityCy = 1 << 6, kQualityCa = 1 << 7,
};
// The names of the flags set, separated: "IV NT" or, as JSON, "IV","NT".
void AppendQualityNames(std::string& out, std::uint16_t flags, bool json);

// An object's members after "value": the value first, then the other fields;
// for commands, qualifiers and file transfer the value is an object of all of
// them. `afterValue` (",\"quality\":…,\"time\":…") follows the value.
class ObjectJson {
public:
    ObjectJson(std::string& out, bool valueIsObject, std::string_view afterValue)
        : out_(out), valueIsObject_(valueIsObject), afterValue_(afterValue) {}
    // Where the member's value is to be appended, after its key.
    std::string& Member(std::string_view key, bool isValue);
    // Closes the value and the object.
    void Finish();

private:
    void FlushAfterValue();
    std::string& out_;
    bool valueIsObject_;
    std::string_view afterValue_;
    bool valueDone_ = false;
    bool afterPending_ = false;
    bool firstField_ = true;
};

// What an element is explained into; a part left null is not written.
struct ElementOutput {
    std::string* line = nullptr;     // the element's tree line
    std::string* summary = nullptr;  // its piece of the object's line, pieces joined by ", "
    std::string* time = nullptr;     // the object's time tag
    ObjectJson* json = nullptr;
    std::uint16_t quality = 0;
    bool timeSeen = false;           // a later CP56 is the end time
};

// element's octets exactly (a segment: its length octet and data).
void ExplainElement(Element element, std::span<const std::uint8_t> octets, ElementOutput& output);

// JSON numbers as the contract writes them (a float that is not finite is null).
void AppendJsonInt(std::string& out, std::int64_t value);
void AppendJsonReal(std::string& out, double value);
void AppendJsonSingle(std::string& out, float value);

}  // namespace tc101
