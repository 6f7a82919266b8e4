#include "protocol/analyzer.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string_view>

#include "protocol/balanced_link.h"
#include "protocol/frame.h"
#include "protocol/frame_layout.h"
#include "protocol/frame_search.h"
#include "protocol/frame_texts.h"
#include "protocol/hex_text.h"
#include "protocol/measured_value.h"
#include "protocol/quality.h"
#include "protocol/standard_objects.h"

namespace tc101 {

namespace {

using Octets = std::span<const std::uint8_t>;

constexpr int kMinValueOctets = 1;
constexpr int kMaxValueOctets = 4;
constexpr std::uint8_t kBitModeYx = 1;
constexpr int kBitsPerOctet = 8;

// Legacy objects: a state octet after the address; events add milliseconds
// (2, low first) and minutes after the state.
constexpr int kStateOctets = 1;
constexpr int kEventTimeOctets = 3;
constexpr int kEventMillisecondsOffset = 1;  // after the state
constexpr int kEventMinutesOffset = 3;

constexpr std::uint8_t kVsqNumberMask = 0x7F;
constexpr std::uint8_t kSinglePointState = 0x01;
constexpr std::uint8_t kDoublePointState = 0x03;
constexpr std::uint8_t kDoublePointOff = 1;
constexpr std::uint8_t kDoublePointOn = 2;

constexpr std::string_view kSeveralPrefix = "第";
constexpr std::string_view kSeveralInfix = "个有效帧:";
constexpr std::string_view kSinglePrefix = "有效帧:";
constexpr std::string_view kTextOpen = "  【";
constexpr std::string_view kTextClose = "】";
constexpr size_t kMaxIndexDigits = 20;

const std::string kIntermediateText(kDoublePointIntermediateText);
const std::string kIndeterminateText(kDoublePointIndeterminateText);

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

// What stays the same for every frame of one call.
struct Context {
    Decoding decoding;
    FrameLayout layout;
    const LinkProfile& profile;
    // The default profile keeps its original texts for frames whose length
    // does not fit their reading; any other profile says so instead.
    bool checkLength;
};

struct VariableFrame {
    Octets octets;  // from the first 0x68 to the end octet
    int length;     // L
    LinkAddress address;
};

// An octet beyond the L octets the checksum covers does not exist for the frame.
int OctetOrAbsent(const VariableFrame& frame, int offset) {
    return offset <= frame.length + kVarStartRepeatOffset ? frame.octets[static_cast<size_t>(offset)] : kAbsentOctet;
}

std::uint8_t At(const VariableFrame& frame, int offset) { return frame.octets[static_cast<size_t>(offset)]; }

// A link address read from the frame's own octets only (octets past its end count 0).
LinkAddress LinkAddressAt(Octets octets, int offset, int count) {
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;) {
        const auto at = static_cast<size_t>(offset + i);
        value = (value << 8) | (at < octets.size() ? octets[at] : 0u);
    }
    return static_cast<LinkAddress>(value);
}

long long ValueCount(VariableReading reading, int length, const Decoding& decoding, const FrameLayout& layout) {
    switch (reading) {
        case VariableReading::YxInterrogation:
            return decoding.bitMode ? (length - layout.sequenceHeader) * kBitsPerOctet : length - layout.sequenceHeader;
        case VariableReading::YcInterrogation:
            return (length - layout.sequenceHeader) / decoding.valueOctets;
        case VariableReading::YcChanges:
            return (length - layout.objectHeader) / (decoding.valueOctets + layout.objectOctets);
        default:
            return 0;
    }
}

bool WritesTables(VariableReading reading) {
    switch (reading) {
        case VariableReading::YxInterrogation:
        case VariableReading::YxChanges:
        case VariableReading::Events:
        case VariableReading::YcInterrogation:
        case VariableReading::YcChanges: return true;
        default: return false;
    }
}

// Whether L holds a legacy reading's header and whole objects in the
// profile's sizes: a frame of another profile mostly does not.
bool LegacyLengthFits(VariableReading reading, int length, const Context& ctx) {
    const FrameLayout& layout = ctx.layout;
    const int n = ctx.decoding.valueOctets;
    const auto whole = [length](int header, int objectSize) {
        return length >= header && (length - header) % objectSize == 0;
    };
    switch (reading) {
        case VariableReading::YxInterrogation: return length >= layout.sequenceHeader;
        case VariableReading::YcInterrogation: return whole(layout.sequenceHeader, n);
        case VariableReading::YxChanges: return whole(layout.objectHeader, layout.objectOctets + kStateOctets);
        case VariableReading::Events:
            return whole(layout.objectHeader, layout.objectOctets + kStateOctets + kEventTimeOctets);
        case VariableReading::YcChanges: return whole(layout.objectHeader, layout.objectOctets + n);
        default: return true;
    }
}

// The "0的意义" or "1的意义" text of a GrdYX row; nothing for other states.
const std::string* StateText(const ValueTables& tables, int row, std::uint8_t state) {
    if (state > 1) return nullptr;
    return &tables.Definition(ValuePage::Yx, state == 0 ? kYxState0Col : kYxState1Col, row);
}

void WriteTelesignal(ValueTables& tables, LinkAddress address, int row, std::uint8_t state) {
    if (const std::string* text = StateText(tables, row, state)) tables.WriteValue(ValuePage::Yx, address, row, *text);
}

void WriteMeasured(ValueTables& tables, LinkAddress address, int row, Octets valueOctets) {
    if (row < 1 || row > tables.DataRowCount(ValuePage::Yc)) return;
    const std::int64_t raw = MeasuredRaw(valueOctets);
    tables.WriteValue(ValuePage::Yc, address, row,
                      MeasuredValueText(raw, tables.Definition(ValuePage::Yc, kYcRatioCol, row)));
}

// Legacy decoding: interrogation replies by position, one address octet (the
// low one) picks the row of a change or event.

void ApplyYxInterrogation(const VariableFrame& frame, ValueTables& tables, const Context& ctx) {
    tables.EnsureDeviceColumn(ValuePage::Yx, frame.address);
    const int rows = tables.DataRowCount(ValuePage::Yx);
    const int octets = frame.length - ctx.layout.sequenceHeader;
    const int firstValue = ctx.layout.varFirstObject + ctx.layout.objectOctets;
    if (!ctx.decoding.bitMode) {
        for (int k = 1; k <= std::min(rows, octets); ++k)
            WriteTelesignal(tables, frame.address, k, At(frame, firstValue + k - 1));
        return;
    }
    for (int k = 1; k <= octets && (k - 1) * kBitsPerOctet < rows; ++k) {
        const std::uint8_t bits = At(frame, firstValue + k - 1);
        for (int b = 0; b < kBitsPerOctet; ++b) {
            const int row = (k - 1) * kBitsPerOctet + b + 1;
            WriteTelesignal(tables, frame.address, row, static_cast<std::uint8_t>((bits >> b) & 1));
        }
    }
}

void ApplyYxChanges(const VariableFrame& frame, ValueTables& tables, const Context& ctx) {
    tables.EnsureDeviceColumn(ValuePage::Yx, frame.address);
    const int objectSize = ctx.layout.objectOctets + kStateOctets;
    const int objects = (frame.length - ctx.layout.objectHeader) / objectSize;
    for (int i = 0; i < objects; ++i) {
        const int base = ctx.layout.varFirstObject + i * objectSize;
        WriteTelesignal(tables, frame.address, At(frame, base), At(frame, base + ctx.layout.objectOctets));
    }
}

void ApplyEvents(const VariableFrame& frame, ValueTables& tables, const Context& ctx, EventHour& hour) {
    tables.EnsureDeviceColumn(ValuePage::Yx, frame.address);
    const int objectSize = ctx.layout.objectOctets + kStateOctets + kEventTimeOctets;
    const int objects = std::max(0, (frame.length - ctx.layout.objectHeader) / objectSize);
    tables.AppendEvents(objects);
    for (int i = 0; i < objects; ++i) {
        const int base = ctx.layout.varFirstObject + i * objectSize;
        const int stateAt = base + ctx.layout.objectOctets;
        const int row = At(frame, base);
        const std::uint8_t state = At(frame, stateAt);
        const auto milliseconds = static_cast<std::uint16_t>(At(frame, stateAt + kEventMillisecondsOffset) |
                                                             (At(frame, stateAt + kEventMillisecondsOffset + 1) << 8));
        const std::uint8_t minutes = At(frame, stateAt + kEventMinutesOffset);
        WriteTelesignal(tables, frame.address, row, state);
        tables.WriteEvent(EventTimeText(hour.Get(), minutes, milliseconds),
                          tables.Definition(ValuePage::Yx, kYxNameCol, row), StateText(tables, row, state));
    }
}

void ApplyYcInterrogation(const VariableFrame& frame, ValueTables& tables, const Context& ctx) {
    tables.EnsureDeviceColumn(ValuePage::Yc, frame.address);
    const int n = ctx.decoding.valueOctets;
    const int values =
        std::min(tables.DataRowCount(ValuePage::Yc), (frame.length - ctx.layout.sequenceHeader) / n);
    const int firstValue = ctx.layout.varFirstObject + ctx.layout.objectOctets;
    for (int k = 1; k <= values; ++k) {
        const auto offset = static_cast<size_t>(firstValue + (k - 1) * n);
        WriteMeasured(tables, frame.address, k, frame.octets.subspan(offset, static_cast<size_t>(n)));
    }
}

void ApplyYcChanges(const VariableFrame& frame, ValueTables& tables, const Context& ctx) {
    tables.EnsureDeviceColumn(ValuePage::Yc, frame.address);
    const int n = ctx.decoding.valueOctets;
    const int objectSize = n + ctx.layout.objectOctets;
    const int objects =
        std::min(tables.DataRowCount(ValuePage::Yc), (frame.length - ctx.layout.objectHeader) / objectSize);
    for (int i = 0; i < objects; ++i) {
        const int base = ctx.layout.varFirstObject + i * objectSize;
        const auto valueOffset = static_cast<size_t>(base + ctx.layout.objectOctets);
        WriteMeasured(tables, frame.address, At(frame, base),
                      frame.octets.subspan(valueOffset, static_cast<size_t>(n)));
    }
}

void ApplyLegacy(VariableReading reading, const VariableFrame& frame, ValueTables& tables, const Context& ctx,
                 EventHour& hour) {
    switch (reading) {
        case VariableReading::YxInterrogation: ApplyYxInterrogation(frame, tables, ctx); break;
        case VariableReading::YxChanges: ApplyYxChanges(frame, tables, ctx); break;
        case VariableReading::Events: ApplyEvents(frame, tables, ctx, hour); break;
        case VariableReading::YcInterrogation: ApplyYcInterrogation(frame, tables, ctx); break;
        case VariableReading::YcChanges: ApplyYcChanges(frame, tables, ctx); break;
        default: break;
    }
}

// Standard decoding: SQ and the number of the qualifier, each type's
// element, rows by full object address from the table's base.

// Row of an object address: address - base + 1; 0 (no row) below the base.
int RowOf(std::uint32_t address, std::uint32_t base) {
    if (address < base) return 0;
    return static_cast<int>(std::min<std::uint32_t>(address - base, INT32_MAX - 1)) + 1;
}

const std::string* PointStateText(const ValueTables& tables, int row, PointKind kind, std::uint8_t element) {
    if (kind == PointKind::SinglePoint) return StateText(tables, row, element & kSinglePointState);
    switch (element & kDoublePointState) {
        case kDoublePointOff: return StateText(tables, row, 0);
        case kDoublePointOn: return StateText(tables, row, 1);
        case 0: return &kIntermediateText;
        default: return &kIndeterminateText;
    }
}

void WriteStandardMeasured(ValueTables& tables, LinkAddress address, int row, const ElementLayout& layout,
                           Octets element) {
    if (row < 1 || row > tables.DataRowCount(ValuePage::Yc)) return;
    const std::string& ratio = tables.Definition(ValuePage::Yc, kYcRatioCol, row);
    const bool isFloat = layout.form == ValueForm::ShortFloat;
    std::string text = isFloat ? FloatValueText(ShortFloatValue(element), ratio)
                               : MeasuredValueText(RawValue16(element), ratio);
    const std::size_t valueOctets = isFloat ? 4 : 2;
    const std::uint8_t quality = layout.hasQuality ? (element[valueOctets] & kQualityFlagsMask) : 0;
    tables.WriteValue(ValuePage::Yc, address, row, std::move(text), quality);
}

struct StandardObjects {
    bool sequence;
    int count;  // N of the qualifier
};

// The qualifier when L holds exactly its N objects after the header.
std::optional<StandardObjects> FittingObjects(const VariableFrame& frame, const ElementLayout& element,
                                              const FrameLayout& layout) {
    if (frame.length < layout.objectHeader) return std::nullopt;
    const std::uint8_t vsq = At(frame, layout.varQualifier);
    const StandardObjects objects{(vsq & kVsqSequenceMask) != 0, vsq & kVsqNumberMask};
    int need = layout.objectHeader;
    if (objects.count > 0)
        need += objects.sequence ? layout.objectOctets + objects.count * element.size
                                 : objects.count * (layout.objectOctets + element.size);
    if (frame.length != need) return std::nullopt;
    return objects;
}

void ApplyStandard(const VariableFrame& frame, const ElementLayout& element, const StandardObjects& objects,
                   bool events, ValueTables& tables, const Context& ctx, EventHour& hour) {
    const bool measured = element.kind == PointKind::Measured;
    const ValuePage page = measured ? ValuePage::Yc : ValuePage::Yx;
    const std::uint32_t base = measured ? ctx.profile.ycBase : ctx.profile.yxBase;
    tables.EnsureDeviceColumn(page, frame.address);
    if (events) tables.AppendEvents(objects.count);
    auto at = static_cast<std::size_t>(ctx.layout.varFirstObject);
    const auto objectOctets = static_cast<std::size_t>(ctx.layout.objectOctets);
    const auto elementOctets = static_cast<std::size_t>(element.size);
    std::uint32_t address = 0;
    for (int i = 0; i < objects.count; ++i) {
        if (!objects.sequence || i == 0) {
            address = ReadLittleEndian(frame.octets, at, ctx.layout.objectOctets);
            at += objectOctets;
        } else {
            ++address;
        }
        const Octets octets = frame.octets.subspan(at, elementOctets);
        at += elementOctets;
        const int row = RowOf(address, base);
        if (measured) {
            WriteStandardMeasured(tables, frame.address, row, element, octets);
            continue;
        }
        const std::string* state = PointStateText(tables, row, element.kind, octets[0]);
        if (state) tables.WriteValue(ValuePage::Yx, frame.address, row, *state, octets[0] & kPointQualityMask);
        if (!events) continue;
        const int localHour = element.time == TimeTag::Cp24 ? hour.Get() : 0;
        tables.WriteEvent(TimeTagText(element.time, octets.subspan(1), localHour),
                          tables.Definition(ValuePage::Yx, kYxNameCol, row), state);
    }
}

// A secondary user-data frame of a type the standard decoding reads.
void DecodeStandard(const VariableFrame& frame, const ElementLayout& element, ValueTables& tables,
                    const Context& ctx, EventHour& hour, std::string& text) {
    const VariableReading reading = ClassifyStandardUserData(element.kind, element.time != TimeTag::None,
                                                             OctetOrAbsent(frame, ctx.layout.varCause));
    if (!WritesTables(reading)) {
        AppendVariableFrameText(text, reading, frame.address, 0);
        return;
    }
    const auto objects = FittingObjects(frame, element, ctx.layout);
    if (!objects) {
        AppendDecimal(text, frame.address);
        text += kLengthMismatchText;
        return;
    }
    AppendVariableFrameText(text, reading, frame.address, objects->count);
    ApplyStandard(frame, element, *objects, reading == VariableReading::Events, tables, ctx, hour);
}

PollVerdict AcdVerdict(std::uint8_t control) {
    return (control & kFcbAcdMask) ? PollVerdict::Class1Waiting : PollVerdict::NoClass1Waiting;
}

void DecodeFixed(Octets octets, const FrameLayout& layout, std::string& text, PollVerdict& verdict) {
    const std::uint8_t control = octets[kFixedControlOffset];
    const std::uint8_t expected = FrameChecksum(octets, kFixedControlOffset, layout.fixedChecksum - 1);
    if (expected != octets[static_cast<size_t>(layout.fixedChecksum)]) {
        AppendChecksumErrorText(text, expected);
        return;
    }
    const LinkAddress address = LinkAddressAt(octets, kFixedAddressOffset, layout.linkOctets);
    if (const auto changed = AppendFixedFrameText(text, control, address)) verdict = *changed;
}

bool IsSecondaryUserData(std::uint8_t control) {
    return !(control & kPrmMask) && (control & kFunctionMask) == secondary::kUserData;
}

// On a balanced link the outstation sends its data as primary user data
// (function 3 or 4, DIR 0): read as the unbalanced link's user data reply.
std::uint8_t ReadAsReply(std::uint8_t control, LinkMode mode) {
    const std::uint8_t function = control & kFunctionMask;
    const bool outstationData = (control & kPrmMask) && !(control & kDirMask) &&
                                (function == primary::kUserDataConfirmed || function == primary::kUserDataUnconfirmed);
    if (mode != LinkMode::Balanced || !outstationData) return control;
    return secondary::kUserData;
}

void DecodeVariable(Octets octets, ValueTables& tables, const Context& ctx, EventHour& hour, std::string& text,
                    PollVerdict& verdict) {
    const VariableFrame frame{octets, octets[kVarLengthOffset],
                              LinkAddressAt(octets, kVarAddressOffset, ctx.layout.linkOctets)};
    const int lastSummed = kVarStartRepeatOffset + frame.length;
    const std::uint8_t expected = FrameChecksum(octets, kVarControlOffset, lastSummed);
    if (expected != At(frame, lastSummed + 1)) {
        AppendChecksumErrorText(text, expected);
        verdict = PollVerdict::None;
        return;
    }
    const std::uint8_t control = ReadAsReply(At(frame, kVarControlOffset), ctx.profile.mode);
    verdict = AcdVerdict(control);
    const int type = OctetOrAbsent(frame, ctx.layout.varType);
    if (ctx.profile.decoding == ObjectDecoding::Standard && IsSecondaryUserData(control) && type != kAbsentOctet) {
        if (const auto element = StandardElement(static_cast<std::uint8_t>(type))) {
            DecodeStandard(frame, *element, tables, ctx, hour, text);
            return;
        }
    }
    const VariableReading reading = ClassifyVariableFrame(control, type, OctetOrAbsent(frame, ctx.layout.varCause));
    if (ctx.checkLength && !LegacyLengthFits(reading, frame.length, ctx)) {
        AppendDecimal(text, frame.address);
        text += kLengthMismatchText;
        return;
    }
    AppendVariableFrameText(text, reading, frame.address, ValueCount(reading, frame.length, ctx.decoding, ctx.layout));
    ApplyLegacy(reading, frame, tables, ctx, hour);
}

size_t CountFrames(Octets buffer, const FrameLayout& layout) {
    size_t count = 0;
    for (auto frame = FindNextFrame(buffer, 0, layout); frame;
         frame = FindNextFrame(buffer, frame->start + frame->size, layout))
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
    return AnalyzeFrames(buffer, tables, settings, LinkProfile{}, hour);
}

FrameAnalysis AnalyzeFrames(std::span<const std::uint8_t> buffer, ValueTables& tables, const DecodingSettings& settings,
                            const LinkProfile& profile, const HourClock& hour) {
    FrameAnalysis result;
    const Context ctx{InRange(settings), LayoutOf(profile.sizes), profile,
                      !(profile.sizes == FieldSizes{} && profile.decoding == ObjectDecoding::Legacy)};
    // The search is cheap next to the decoding; knowing the count first
    // sizes the account once and picks the line form at once.
    const size_t frameCount = CountFrames(buffer, ctx.layout);
    if (frameCount == 0) {
        result.lines.emplace_back(kNoFrameLine);
        return result;
    }
    result.lines.reserve(frameCount);
    EventHour eventHour(hour);
    std::string text;
    for (auto frame = FindNextFrame(buffer, 0, ctx.layout); frame;
         frame = FindNextFrame(buffer, frame->start + frame->size, ctx.layout)) {
        const Octets octets = buffer.subspan(frame->start, frame->size);
        text.clear();
        switch (frame->kind) {
            case FrameKind::Fixed: DecodeFixed(octets, ctx.layout, text, result.verdict); break;
            case FrameKind::Variable: DecodeVariable(octets, tables, ctx, eventHour, text, result.verdict); break;
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
