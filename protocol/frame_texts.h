#pragma once

// The analysis texts of single frames, as pure functions of the octets the
// analyser has already checked. Texts are appended to a caller's string so
// that a burst of thousands of frames builds each account line in one go.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/poll_verdict.h"
#include "protocol/standard_objects.h"

namespace tc101 {

inline constexpr std::string_view kSingleCharText = "无变化遥信量";
inline constexpr std::string_view kNoFrameLine = "没有有效的101报文帧";
// After A "#": a frame whose length does not hold the fields and objects the
// profile and its own header call for; nothing of it is read.
inline constexpr std::string_view kLengthMismatchText = "#报文长度与规约参数不符";

// Appends a number in decimal.
void AppendDecimal(std::string& out, long long value);

// "效验有误,效验码应为 " and the expected checksum in two hex digits.
void AppendChecksumErrorText(std::string& out, std::uint8_t expected);

// Text of a fixed frame whose checksum is right; returns the verdict the
// frame sets, or nothing when it leaves the verdict alone.
std::optional<PollVerdict> AppendFixedFrameText(std::string& out, std::uint8_t control, std::uint16_t address);

// What a variable frame with a good checksum is, by its control field, type
// identification and cause of transmission.
enum class VariableReading : std::uint8_t {
    Interrogation,         // primary user data, confirm expected
    CorrectPrefixed,       // "报文校验正确 " A "#"
    InterrogationConfirm,  // A "#总召确认"
    InterrogationDenied,   // A "#总召否定确认"
    InterrogationEnd,      // A "#总召结束"
    Correct,               // A "#报文校验正确"
    CorrectOtherFunction,  // A "# 报文校验正确 "
    YxInterrogation,       // telesignal interrogation reply: writes GrdYX
    YxChanges,             // telesignal changes: writes GrdYX
    Events,                // single points with time tag: writes GrdYX and GrdSJ
    YcInterrogation,       // measured value interrogation reply: writes GrdYC
    YcChanges,             // measured value changes: writes GrdYC
};

// A type identification or cause of transmission outside the frame's L octets.
inline constexpr int kAbsentOctet = -1;

VariableReading ClassifyVariableFrame(std::uint8_t control, int type, int cause);

// Secondary user data of a type the standard decoding reads, by its kind,
// whether it carries a time tag, and its cause: the same readings and texts.
VariableReading ClassifyStandardUserData(PointKind kind, bool timeTagged, int cause);

// Whether the reading's text carries the value count N.
bool ReadingHasCount(VariableReading reading);

void AppendVariableFrameText(std::string& out, VariableReading reading, std::uint16_t address, long long count);

// H " 时" M " 分" S " 秒" MS " 毫秒"; the frame carries no hour, so the caller gives it.
std::string EventTimeText(int hour, std::uint8_t minutes, std::uint16_t milliseconds);

}  // namespace tc101
