#include "protocol/analyzer.h"

#include <algorithm>
#include <ctime>
#include <string_view>

#include "protocol/frame.h"
#include "protocol/frame_search.h"
#include "protocol/frame_texts.h"
#include "protocol/hex_text.h"
#include "protocol/measured_value.h"

namespace tc101 {

namespace {

using Octets = std::span<const std::uint8_t>;

constexpr int kMinValueOctets = 1;
constexpr int kMaxValueOctets = 4;
constexpr std::uint8_t kBitModeYx = 1;
constexpr int kBitsPerOctet = 8;

// Objects and values start after these many octets of L (control, address,
// type, qualifier, cause, common address, and for sequences the first
// object address).
constexpr int kSequenceHeaderOctets = 8;
constexpr int kObjectHeaderOctets = 6;
constexpr int kObjectAddressOctets = 2;
constexpr int kTelesignalChangeSize = 3;
constexpr int kEventSize = 6;
// Inside an event object: address (2), state, milliseconds (2, low first), minutes.
constexpr int kEventStateOffset = 2;
constexpr int kEventMillisecondsOffset = 3;
constexpr int kEventMinutesOffset = 5;
constexpr int kFirstValueOffset = kVarFirstObjectOffset + kObjectAddressOctets;

constexpr std::string_view kSeveralPrefix = "第";
constexpr std::string_view kSeveralInfix = "个有效帧:";
constexpr std::string_view kSinglePrefix = "有效帧:";
constexpr std::string_view kTextOpen = "  【";
constexpr std::string_view kTextClose = "】";
constexpr size_t kMaxIndexDigits = 20;

struct Decoding {
    int valueOctets;  // n
    bool bitMode;
};

// Widths the settings dialog never offers are brought into range rather
// than dividing by zero or reading past an object.
Decoding InRange(const DecodingSettings& settings) {
    return {std::clamp(static_cast<int>(settings.ycUseByte), kMinValueOctets, kMaxValueOctets),
            settings.yxUseByte == kBitModeYx};
}

// The hour is read once per call, at the first event that needs it.
class EventHour {
public:
    explicit EventHour(const HourClock& clock) : clock_(clock) {}
    int Get() {
        if (hour_ < 0) hour_ = clock_ ? clock_() : 0;
        return hour_;
    }

private:
    const HourClock& clock_;
    int hour_ = -1;
};

struct VariableFrame {
    Octets octets;  // from the first 0x68 to the end octet
    int length;     // L
    std::uint8_t address;
};

// An octet beyond the L octets the checksum covers does not exist for the frame.
int OctetOrAbsent(const VariableFrame& frame, int offset) {
    return offset <= frame.length + kVarStartRepeatOffset ? frame.octets[static_cast<size_t>(offset)] : kAbsentOctet;
}

std::uint8_t At(const VariableFrame& frame, int offset) { return frame.octets[static_cast<size_t>(offset)]; }

long long ValueCount(VariableReading reading, int length, const Decoding& decoding) {
    switch (reading) {
        case VariableReading::YxInterrogation:
            return decoding.bitMode ? (length - kSequenceHeaderOctets) * kBitsPerOctet : length - kSequenceHeaderOctets;
        case VariableReading::YcInterrogation:
            return (length - kSequenceHeaderOctets) / decoding.valueOctets;
        case VariableReading::YcChanges:
            return (length - kObjectHeaderOctets) / (decoding.valueOctets + kObjectAddressOctets);
        default:
            return 0;
    }
}

// The "0的意义" or "1的意义" text of a GrdYX row; nothing for other states.
const std::string* StateText(const ValueTables& tables, int row, std::uint8_t state) {
    if (state > 1) return nullptr;
    return &tables.Definition(ValuePage::Yx, state == 0 ? kYxState0Col : kYxState1Col, row);
}

void WriteTelesignal(ValueTables& tables, std::uint8_t address, int row, std::uint8_t state) {
    if (const std::string* text = StateText(tables, row, state))
        tables.WriteValue(ValuePage::Yx, address, row, *text);
}

void WriteMeasured(ValueTables& tables, std::uint8_t address, int row, Octets valueOctets) {
    if (row < 1 || row > tables.DataRowCount(ValuePage::Yc)) return;
    const std::int64_t raw = MeasuredRaw(valueOctets);
    tables.WriteValue(ValuePage::Yc, address, row,
                      MeasuredValueText(raw, tables.Definition(ValuePage::Yc, kYcRatioCol, row)));
}

void ApplyYxInterrogation(const VariableFrame& frame, ValueTables& tables, const Decoding& decoding) {
    tables.EnsureDeviceColumn(ValuePage::Yx, frame.address);
    const int rows = tables.DataRowCount(ValuePage::Yx);
    const int octets = frame.length - kSequenceHeaderOctets;
    if (!decoding.bitMode) {
        for (int k = 1; k <= std::min(rows, octets); ++k)
            WriteTelesignal(tables, frame.address, k, At(frame, kFirstValueOffset + k - 1));
        return;
    }
    for (int k = 1; k <= octets && (k - 1) * kBitsPerOctet < rows; ++k) {
        const std::uint8_t bits = At(frame, kFirstValueOffset + k - 1);
        for (int b = 0; b < kBitsPerOctet; ++b) {
            const int row = (k - 1) * kBitsPerOctet + b + 1;
            WriteTelesignal(tables, frame.address, row, static_cast<std::uint8_t>((bits >> b) & 1));
        }
    }
}

void ApplyYxChanges(const VariableFrame& frame, ValueTables& tables) {
    tables.EnsureDeviceColumn(ValuePage::Yx, frame.address);
    const int objects = (frame.length - kObjectHeaderOctets) / kTelesignalChangeSize;
    for (int i = 0; i < objects; ++i) {
        const int base = kVarFirstObjectOffset + i * kTelesignalChangeSize;
        WriteTelesignal(tables, frame.address, At(frame, base), At(frame, base + kObjectAddressOctets));
    }
}

void ApplyEvents(const VariableFrame& frame, ValueTables& tables, EventHour& hour) {
    tables.EnsureDeviceColumn(ValuePage::Yx, frame.address);
    const int objects = std::max(0, (frame.length - kObjectHeaderOctets) / kEventSize);
    tables.AppendEvents(objects);
    for (int i = 0; i < objects; ++i) {
        const int base = kVarFirstObjectOffset + i * kEventSize;
        const int row = At(frame, base);
        const std::uint8_t state = At(frame, base + kEventStateOffset);
        const auto milliseconds = static_cast<std::uint16_t>(At(frame, base + kEventMillisecondsOffset) |
                                                             (At(frame, base + kEventMillisecondsOffset + 1) << 8));
        const std::uint8_t minutes = At(frame, base + kEventMinutesOffset);
        WriteTelesignal(tables, frame.address, row, state);
        tables.WriteEvent(EventTimeText(hour.Get(), minutes, milliseconds),
                          tables.Definition(ValuePage::Yx, kYxNameCol, row), StateText(tables, row, state));
    }
}

void ApplyYcInterrogation(const VariableFrame& frame, ValueTables& tables, const Decoding& decoding) {
    tables.EnsureDeviceColumn(ValuePage::Yc, frame.address);
    const int n = decoding.valueOctets;
    const int values = std::min(tables.DataRowCount(ValuePage::Yc), (frame.length - kSequenceHeaderOctets) / n);
    for (int k = 1; k <= values; ++k) {
        const auto offset = static_cast<size_t>(kFirstValueOffset + (k - 1) * n);
        WriteMeasured(tables, frame.address, k, frame.octets.subspan(offset, static_cast<size_t>(n)));
    }
}

void ApplyYcChanges(const VariableFrame& frame, ValueTables& tables, const Decoding& decoding) {
    tables.EnsureDeviceColumn(ValuePage::Yc, frame.address);
    const int n = decoding.valueOctets;
    const int objectSize = n + kObjectAddressOctets;
    const int objects =
        std::min(tables.DataRowCount(ValuePage::Yc), (frame.length - kObjectHeaderOctets) / objectSize);
    for (int i = 0; i < objects; ++i) {
        const int base = kVarFirstObjectOffset + i * objectSize;
        const auto valueOffset = static_cast<size_t>(base + kObjectAddressOctets);
        WriteMeasured(tables, frame.address, At(frame, base), frame.octets.subspan(valueOffset, static_cast<size_t>(n)));
    }
}

void ApplyReading(VariableReading reading, const VariableFrame& frame, ValueTables& tables,
                  const Decoding& decoding, EventHour& hour) {
    switch (reading) {
        case VariableReading::YxInterrogation: ApplyYxInterrogation(frame, tables, decoding); break;
        case VariableReading::YxChanges: ApplyYxChanges(frame, tables); break;
        case VariableReading::Events: ApplyEvents(frame, tables, hour); break;
        case VariableReading::YcInterrogation: ApplyYcInterrogation(frame, tables, decoding); break;
        case VariableReading::YcChanges: ApplyYcChanges(frame, tables, decoding); break;
        default: break;
    }
}

PollVerdict AcdVerdict(std::uint8_t control) {
    return (control & kFcbAcdMask) ? PollVerdict::Class1Waiting : PollVerdict::NoClass1Waiting;
}

void DecodeFixed(Octets octets, std::string& text, PollVerdict& verdict) {
    const std::uint8_t control = octets[kFixedControlOffset];
    const std::uint8_t address = octets[kFixedAddressOffset];
    const std::uint8_t expected = FrameChecksum(octets, kFixedControlOffset, kFixedAddressOffset);
    if (expected != octets[kFixedChecksumOffset]) {
        AppendChecksumErrorText(text, expected);
        return;
    }
    if (const auto changed = AppendFixedFrameText(text, control, address)) verdict = *changed;
}

void DecodeVariable(Octets octets, ValueTables& tables, const Decoding& decoding, EventHour& hour,
                    std::string& text, PollVerdict& verdict) {
    const VariableFrame frame{octets, octets[kVarLengthOffset], octets[kVarAddressOffset]};
    const int lastSummed = kVarStartRepeatOffset + frame.length;
    const std::uint8_t expected = FrameChecksum(octets, kVarControlOffset, lastSummed);
    if (expected != At(frame, lastSummed + 1)) {
        AppendChecksumErrorText(text, expected);
        verdict = PollVerdict::None;
        return;
    }
    const std::uint8_t control = At(frame, kVarControlOffset);
    const VariableReading reading =
        ClassifyVariableFrame(control, OctetOrAbsent(frame, kVarTypeOffset), OctetOrAbsent(frame, kVarCauseOffset));
    AppendVariableFrameText(text, reading, frame.address, ValueCount(reading, frame.length, decoding));
    ApplyReading(reading, frame, tables, decoding, hour);
    verdict = AcdVerdict(control);
}

size_t CountFrames(Octets buffer) {
    size_t count = 0;
    for (auto frame = FindNextFrame(buffer, 0); frame; frame = FindNextFrame(buffer, frame->start + frame->size))
        ++count;
    return count;
}

}  // namespace

int LocalHour() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local)) return 0;
    return local.tm_hour;
}

FrameAnalysis AnalyzeFrames(std::span<const std::uint8_t> buffer, ValueTables& tables, const DecodingSettings& settings,
                            const HourClock& hour) {
    FrameAnalysis result;
    // The search is cheap next to the decoding; knowing the count first
    // sizes the account once and picks the line form at once.
    const size_t frameCount = CountFrames(buffer);
    if (frameCount == 0) {
        result.lines.emplace_back(kNoFrameLine);
        return result;
    }
    result.lines.reserve(frameCount);
    const Decoding decoding = InRange(settings);
    EventHour eventHour(hour);
    std::string text;
    for (auto frame = FindNextFrame(buffer, 0); frame; frame = FindNextFrame(buffer, frame->start + frame->size)) {
        const Octets octets = buffer.subspan(frame->start, frame->size);
        text.clear();
        switch (frame->kind) {
            case FrameKind::Fixed: DecodeFixed(octets, text, result.verdict); break;
            case FrameKind::Variable: DecodeVariable(octets, tables, decoding, eventHour, text, result.verdict); break;
            case FrameKind::SingleChar:
                text = kSingleCharText;
                result.verdict = PollVerdict::NoClass1Waiting;
                break;
        }
        std::string line;
        line.reserve(kSeveralPrefix.size() + kMaxIndexDigits + kSeveralInfix.size() + octets.size() * 3 +
                     kTextOpen.size() + text.size() + kTextClose.size());
        if (frameCount == 1) {
            line += kSinglePrefix;
        } else {
            line += kSeveralPrefix;
            AppendDecimal(line, static_cast<long long>(result.lines.size() + 1));
            line += kSeveralInfix;
        }
        AppendHexText(line, octets);
        line += kTextOpen;
        line += text;
        line += kTextClose;
        result.lines.push_back(std::move(line));
    }
    return result;
}

}  // namespace tc101
