#include <string_view>

#include "protocol/explain/frame_explanation.h"
#include "protocol/explain/frame_parts.h"
#include "protocol/explain/text_append.h"
#include "protocol/explain/type_table.h"
#include "protocol/frame.h"

namespace tc101 {

namespace explain {

namespace {

// 68 L L 68 before the control field.
constexpr std::size_t kVarHead = 4;

void AppendBeyondEnd(std::string& out, std::string_view what, const ExplainStop& stop) {
    out += what;
    out += "在第";
    AppendInt(out, stop.offset + 1);
    out += "个八位位组处超出帧尾 (需要";
    AppendInt(out, stop.needed);
    out += "个, 仅剩";
    AppendInt(out, stop.left);
    out += "个)";
}

}  // namespace

FrameParts PartsOf(std::span<const std::uint8_t> frame, const ExplainOptions& options) {
    FrameParts parts;
    if (frame.size() == 1 && frame[0] == kSingleChar) return parts;
    const auto addressSize = static_cast<std::size_t>(options.sizes.linkAddress);
    if (frame.empty() || frame[0] != kVariableStart) {
        parts.format = FrameParts::Format::Fixed;
        parts.controlAt = 1;
        parts.hasControl = true;
        parts.hasAddress = addressSize > 0;
        parts.checksumFirst = 1;
        parts.checksumLast = 1 + addressSize;
        return parts;
    }
    const std::size_t length = frame[kVarLengthOffset];
    parts.format = FrameParts::Format::Variable;
    parts.controlAt = kVarHead;
    parts.hasControl = length > 0;
    parts.checksumFirst = kVarHead;
    parts.checksumLast = kVarHead + length - 1;
    if (length >= 1 + addressSize) {
        parts.hasAddress = addressSize > 0;
        parts.hasAsdu = true;
        parts.asduAt = kVarHead + 1 + addressSize;
        parts.asduEnd = kVarHead + length;
    }
    return parts;
}

void AppendStopText(std::string& out, const FrameExplanation& frame) {
    const ExplainStop& stop = frame.stop;
    switch (stop.kind) {
        case ExplainStop::Kind::None: return;
        case ExplainStop::Kind::LinkHeader: AppendBeyondEnd(out, "控制域和链路地址", stop); return;
        case ExplainStop::Kind::AsduHeader: AppendBeyondEnd(out, "ASDU 头", stop); return;
        case ExplainStop::Kind::UnknownType:
            out += "未知的类型标识 TI=";
            AppendInt(out, frame.octets[PartsOf(frame.octets, frame.options).asduAt]);
            out += ", 从第";
            AppendInt(out, stop.offset + 1);
            out += "个八位位组起的信息对象无法解析";
            return;
        case ExplainStop::Kind::ObjectAddress:
        case ExplainStop::Kind::Object:
            out += "第";
            AppendInt(out, stop.object);
            AppendBeyondEnd(out, stop.kind == ExplainStop::Kind::Object ? "个信息对象" : "个信息对象的地址", stop);
            return;
        case ExplainStop::Kind::Trailing:
            out += "信息对象之后多出";
            AppendInt(out, stop.left);
            out += "个八位位组 (从第";
            AppendInt(out, stop.offset + 1);
            out += "个起)";
            return;
    }
}

}  // namespace explain

namespace {

using explain::FrameParts;

ExplainStop Stop(ExplainStop::Kind kind, std::size_t object, std::size_t offset, std::size_t needed,
                 std::size_t left) {
    return ExplainStop{kind, static_cast<std::uint16_t>(object), static_cast<std::uint16_t>(offset),
                       static_cast<std::uint16_t>(needed), static_cast<std::uint16_t>(left)};
}

// Finds the objects of the ASDU; stops at the first that does not fit.
void FindObjects(FrameExplanation& result, const FrameParts& parts) {
    const std::span<const std::uint8_t> frame = result.octets;
    const FieldSizes& sizes = result.options.sizes;
    const std::size_t at = parts.asduAt;
    const std::size_t end = parts.asduEnd;
    const std::size_t headerSize =
        2 + static_cast<std::size_t>(sizes.cause) + static_cast<std::size_t>(sizes.commonAddress);
    if (end - at < headerSize) {
        result.stop = Stop(ExplainStop::Kind::AsduHeader, 0, at, headerSize, end - at);
        return;
    }
    std::size_t pos = at + headerSize;
    const TypeInfo* type = FindType(frame[at]);
    if (!type) {
        result.stop = Stop(ExplainStop::Kind::UnknownType, 0, pos, 0, 0);
        return;
    }
    const std::uint8_t vsq = frame[at + 1];
    const bool sequence = vsq & kVsqSequenceMask;
    const std::size_t count = vsq & 0x7F;
    const auto ioaSize = static_cast<std::size_t>(sizes.objectAddress);
    result.objects.reserve(count);
    std::uint32_t ioa = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (!sequence || k == 0) {
            if (end - pos < ioaSize) {
                result.stop = Stop(ExplainStop::Kind::ObjectAddress, k + 1, pos, ioaSize, end - pos);
                return;
            }
            ioa = explain::LittleEndian(frame, pos, ioaSize);
            pos += ioaSize;
        } else {
            ++ioa;
        }
        const std::size_t objectAt = pos;
        for (const Element element : type->elements) {
            std::size_t size = static_cast<std::size_t>(ElementSize(element));
            if (element == Element::Segment && pos < end) size += frame[pos];
            if (end - pos < size) {
                result.stop = Stop(ExplainStop::Kind::Object, k + 1, pos, size, end - pos);
                return;
            }
            pos += size;
        }
        result.objects.push_back(ExplainedObject{ioa, static_cast<std::uint16_t>(objectAt)});
    }
    if (pos < end) result.stop = Stop(ExplainStop::Kind::Trailing, 0, pos, 0, end - pos);
}

}  // namespace

ExplainOptions ExplainOptionsFor(const LinkProfile& profile) { return ExplainOptions{profile.sizes, false}; }

FrameExplanation ExplainFrame(std::span<const std::uint8_t> frame, const ExplainOptions& options) {
    FrameExplanation result;
    result.size = frame.size();
    result.options = options;
    result.octets.assign(frame.begin(), frame.end());
    const FrameParts parts = explain::PartsOf(frame, options);
    if (parts.format == FrameParts::Format::Single) return result;
    result.checksumOk = FrameChecksum(frame, static_cast<int>(parts.checksumFirst),
                                      static_cast<int>(parts.checksumLast)) == frame[parts.checksumLast + 1];
    if (parts.format == FrameParts::Format::Fixed) return result;
    if (!parts.hasAsdu) {
        const std::size_t needed = 1 + static_cast<std::size_t>(options.sizes.linkAddress);
        result.stop = Stop(ExplainStop::Kind::LinkHeader, 0, parts.controlAt, needed, frame[kVarLengthOffset]);
        return result;
    }
    FindObjects(result, parts);
    return result;
}

}  // namespace tc101
