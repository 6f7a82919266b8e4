#include "protocol/frame_texts.h"

#include <array>
#include <charconv>

#include "protocol/frame.h"

namespace tc101 {

namespace {

// A text is prefix, the link address, middle, and for value-carrying
// frames the count and suffix.
struct TextPieces {
    std::string_view prefix;
    std::string_view middle;
    std::string_view suffix = {};
};

struct FixedReading {
    TextPieces text;
    std::optional<PollVerdict> verdict;
};

constexpr TextPieces kPrimarySendCorrect{"发送报文校验正确 ", "#"};
constexpr TextPieces kPrimaryUserData{"传送数据", "#"};

constexpr std::array<TextPieces, 16> kPrimaryFixed{{
    {"复位远方链路 ", "#"},
    {"复位远动终端的用户进程(撤消命令) ", "#"},
    {"用于平衡式传输过程测试链路功能", "#"},
    kPrimaryUserData,
    kPrimaryUserData,
    kPrimarySendCorrect,
    kPrimarySendCorrect,
    kPrimarySendCorrect,
    {"响应帧应说明访问要求", "#"},
    {"召唤链路状态 ", "#"},
    {"召唤一级数据 ", "#"},
    {"召唤二级数据 ", "#"},
    kPrimarySendCorrect,
    kPrimarySendCorrect,
    kPrimarySendCorrect,
    kPrimarySendCorrect,
}};

constexpr FixedReading kSecondaryCorrect{{"", "#报文校验正确 "}, std::nullopt};

constexpr std::array<FixedReading, 16> kSecondaryFixed{{
    {{"复位链路 ", "# 确认"}, PollVerdict::LinkReady},
    {{"", "#链路忙"}, std::nullopt},
    kSecondaryCorrect,
    kSecondaryCorrect,
    kSecondaryCorrect,
    kSecondaryCorrect,
    kSecondaryCorrect,
    kSecondaryCorrect,
    kSecondaryCorrect,
    {{"", "#无变化遥信"}, PollVerdict::NoClass1Waiting},  // with ACD set: see below
    kSecondaryCorrect,
    {{"", "#链路完好"}, PollVerdict::LinkReady},
    kSecondaryCorrect,
    kSecondaryCorrect,
    {{"", "#链路服务未工作"}, std::nullopt},
    {{"", "#链路服务未完成"}, std::nullopt},
}};

constexpr FixedReading kNoDataWithClass1{{"", "#有变化遥信 "}, PollVerdict::Class1Waiting};

constexpr TextPieces VariableTextPieces(VariableReading reading) {
    switch (reading) {
        case VariableReading::Interrogation: return {"总召", "#"};
        case VariableReading::CorrectPrefixed: return {"报文校验正确 ", "#"};
        case VariableReading::InterrogationConfirm: return {"", "#总召确认"};
        case VariableReading::InterrogationDenied: return {"", "#总召否定确认"};
        case VariableReading::InterrogationEnd: return {"", "#总召结束"};
        case VariableReading::Correct: return {"", "#报文校验正确"};
        case VariableReading::CorrectOtherFunction: return {"", "# 报文校验正确 "};
        case VariableReading::YxInterrogation: return {"", "# 遥信回复帧   共", "个遥信量"};
        case VariableReading::YxChanges: return {"#", "变化遥信帧"};
        case VariableReading::Events: return {"【", "#事件纪录帧】"};
        case VariableReading::YcInterrogation: return {"", "# 遥测回复帧   共", "个遥测量"};
        case VariableReading::YcChanges: return {"#", "变化遥测帧   共", "个变化遥测量"};
    }
    return {"", "#报文校验正确"};
}

bool IsInterrogatedCause(int cause) {
    return cause == kCausePeriodic || cause == kCauseBackground ||
           (cause >= kCauseInterrogatedFirst && cause <= kCauseInterrogatedLast);
}

bool IsTelesignalChangeCause(int cause) {
    return cause == kCauseSpontaneous || cause == kCauseRequested || cause == kCauseReturnRemote ||
           cause == kCauseReturnLocal;
}

bool IsMeasuredChangeCause(int cause) { return cause == kCauseSpontaneous || cause == kCauseRequested; }

VariableReading ClassifyUserData(int type, int cause) {
    switch (type) {
        case kTypeSinglePoint:
            if (IsInterrogatedCause(cause)) return VariableReading::YxInterrogation;
            if (IsTelesignalChangeCause(cause)) return VariableReading::YxChanges;
            return VariableReading::Correct;
        case kTypeSinglePointTime:
            return IsTelesignalChangeCause(cause) ? VariableReading::Events : VariableReading::Correct;
        case kTypeDoublePoint:
            return VariableReading::CorrectPrefixed;
        case kTypeMeasuredNormalised:
        case kTypeMeasuredNoQuality:
            if (IsInterrogatedCause(cause)) return VariableReading::YcInterrogation;
            if (IsMeasuredChangeCause(cause)) return VariableReading::YcChanges;
            return VariableReading::CorrectPrefixed;
        case kTypeInterrogation:
            return VariableReading::InterrogationEnd;
        default:
            return VariableReading::Correct;
    }
}

void AppendPieces(std::string& out, const TextPieces& pieces, std::uint16_t address) {
    out += pieces.prefix;
    AppendDecimal(out, address);
    out += pieces.middle;
}

}  // namespace

void AppendDecimal(std::string& out, long long value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

void AppendChecksumErrorText(std::string& out, std::uint8_t expected) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    out += "效验有误,效验码应为 ";
    out.push_back(kDigits[expected >> 4]);
    out.push_back(kDigits[expected & 0x0F]);
}

std::optional<PollVerdict> AppendFixedFrameText(std::string& out, std::uint8_t control, std::uint16_t address) {
    const std::uint8_t function = control & kFunctionMask;
    if (control & kPrmMask) {
        AppendPieces(out, kPrimaryFixed[function], address);
        return std::nullopt;
    }
    const FixedReading& reading = (function == secondary::kNoData && (control & kFcbAcdMask))
                                      ? kNoDataWithClass1
                                      : kSecondaryFixed[function];
    AppendPieces(out, reading.text, address);
    return reading.verdict;
}

VariableReading ClassifyVariableFrame(std::uint8_t control, int type, int cause) {
    const std::uint8_t function = control & kFunctionMask;
    if (control & kPrmMask)
        return function == primary::kUserDataConfirmed ? VariableReading::Interrogation
                                                       : VariableReading::CorrectPrefixed;
    if (function == secondary::kAck) {
        switch (cause) {
            case kCauseActivationConfirm: return VariableReading::InterrogationConfirm;
            case kCauseDeactivationConfirm: return VariableReading::InterrogationDenied;
            case kCauseActivationTermination: return VariableReading::InterrogationEnd;
            default: return VariableReading::Correct;
        }
    }
    if (function == secondary::kUserData) return ClassifyUserData(type, cause);
    return VariableReading::CorrectOtherFunction;
}

VariableReading ClassifyStandardUserData(PointKind kind, bool timeTagged, int cause) {
    if (kind == PointKind::Measured) {
        if (IsInterrogatedCause(cause)) return VariableReading::YcInterrogation;
        if (IsMeasuredChangeCause(cause)) return VariableReading::YcChanges;
        return VariableReading::CorrectPrefixed;
    }
    if (timeTagged) return IsTelesignalChangeCause(cause) ? VariableReading::Events : VariableReading::Correct;
    if (IsInterrogatedCause(cause)) return VariableReading::YxInterrogation;
    if (IsTelesignalChangeCause(cause)) return VariableReading::YxChanges;
    return VariableReading::Correct;
}

bool ReadingHasCount(VariableReading reading) {
    return reading == VariableReading::YxInterrogation || reading == VariableReading::YcInterrogation ||
           reading == VariableReading::YcChanges;
}

void AppendVariableFrameText(std::string& out, VariableReading reading, std::uint16_t address, long long count) {
    const TextPieces pieces = VariableTextPieces(reading);
    AppendPieces(out, pieces, address);
    if (ReadingHasCount(reading)) {
        AppendDecimal(out, count);
        out += pieces.suffix;
    }
}

std::string EventTimeText(int hour, std::uint8_t minutes, std::uint16_t milliseconds) {
    constexpr int kMillisecondsPerSecond = 1000;
    std::string text;
    AppendDecimal(text, hour);
    text += " 时";
    AppendDecimal(text, minutes);
    text += " 分";
    AppendDecimal(text, milliseconds / kMillisecondsPerSecond);
    text += " 秒";
    AppendDecimal(text, milliseconds % kMillisecondsPerSecond);
    text += " 毫秒";
    return text;
}

}  // namespace tc101
