// The explanation as the JSON contract's object, written straight to text
// from where the decoder found the frame's parts.

#include "protocol/explain/explanation_text.h"
#include "protocol/explain/frame_parts.h"
#include "protocol/explain/information_elements.h"
#include "protocol/explain/standard_names.h"
#include "protocol/explain/text_append.h"
#include "protocol/explain/type_table.h"
#include "protocol/frame.h"

namespace tc101 {

namespace {

using explain::AppendHexOctets;
using explain::AppendInt;
using explain::FrameParts;
using explain::LittleEndian;


// ,"key": before a member; the first member of an object has no comma.
void Key(std::string& out, std::string_view key, bool first = false) {
    if (!first) out += ',';
    out += '"';
    out += key;
    out += "\":";
}

void Bit(std::string& out, std::string_view key, bool set) {
    Key(out, key);
    out += set ? '1' : '0';
}

void Link(std::string& out, std::span<const std::uint8_t> frame, const FrameParts& parts,
          const ExplainOptions& options) {
    const std::uint8_t control = frame[parts.controlAt];
    const bool primary = control & kPrmMask;
    const std::uint8_t fc = control & kFunctionMask;
    out += "{\"prm\":";
    out += primary ? '1' : '0';
    Key(out, "fc");
    AppendInt(out, fc);
    Key(out, "fc_name");
    AppendJsonString(out, FunctionName(primary, fc, options.balanced).abbreviation);
    if (options.balanced) Bit(out, "dir", control & kDirMask);
    Key(out, "address");
    if (parts.hasAddress)
        AppendInt(out, LittleEndian(frame, parts.controlAt + 1, static_cast<std::size_t>(options.sizes.linkAddress)));
    else
        out += "null";
    if (primary) {
        Bit(out, "fcb", control & kFcbAcdMask);
        Bit(out, "fcv", control & kFcvDfcMask);
    } else {
        if (!options.balanced) Bit(out, "acd", control & kFcbAcdMask);
        Bit(out, "dfc", control & kFcvDfcMask);
    }
    out += '}';
}

class ObjectWriter {
public:
    ObjectWriter(std::string& out, std::span<const std::uint8_t> frame, const TypeInfo& type)
        : out_(out), frame_(frame), type_(type) {
        afterValue_.reserve(64);
        time_.reserve(24);
    }

    void Write(const ExplainedObject& object) {
        // The quality and time come before the fields but are found among the elements.
        time_.clear();
        ElementOutput found{nullptr, nullptr, &time_, nullptr};
        ForEachElement(object, found);
        afterValue_.assign(",\"quality\":[");
        AppendQualityNames(afterValue_, found.quality, true);
        afterValue_ += "],\"time\":";
        if (found.timeSeen)
            AppendJsonString(afterValue_, time_);
        else
            afterValue_ += "null";

        out_ += "{\"ioa\":";
        AppendInt(out_, object.ioa);
        out_ += ",\"value\":";
        ObjectJson json(out_, type_.ti >= 45, afterValue_);
        ElementOutput fields{nullptr, nullptr, nullptr, &json};
        ForEachElement(object, fields);
        json.Finish();
    }

private:
    void ForEachElement(const ExplainedObject& object, ElementOutput& output) const {
        std::size_t pos = object.at;
        for (const Element element : type_.elements) {
            std::size_t size = static_cast<std::size_t>(ElementSize(element));
            if (element == Element::Segment) size += frame_[pos];
            ExplainElement(element, frame_.subspan(pos, size), output);
            pos += size;
        }
    }

    std::string& out_;
    std::span<const std::uint8_t> frame_;
    const TypeInfo& type_;
    std::string afterValue_;
    std::string time_;
};

void Asdu(std::string& out, const FrameExplanation& f, const FrameParts& parts) {
    const std::span<const std::uint8_t> frame = f.octets;
    const std::size_t at = parts.asduAt;
    const std::size_t end = parts.asduEnd;
    const auto causeSize = static_cast<std::size_t>(f.options.sizes.cause);
    const auto caSize = static_cast<std::size_t>(f.options.sizes.commonAddress);
    // Whatever the header holds is told; what it lacks stays null.
    const TypeInfo* type = at < end ? FindType(frame[at]) : nullptr;
    out += "{\"ti\":";
    if (at < end)
        AppendInt(out, frame[at]);
    else
        out += "null";
    Key(out, "ti_name");
    if (type)
        AppendJsonString(out, type->name);
    else
        out += "null";
    if (at + 1 < end) {
        const std::uint8_t vsq = frame[at + 1];
        Bit(out, "sq", vsq & kVsqSequenceMask);
        Key(out, "count");
        AppendInt(out, vsq & 0x7F);
    } else {
        out += ",\"sq\":null,\"count\":null";
    }
    const std::size_t pos = at + 2;
    if (pos < end) {
        const std::uint8_t octet = frame[pos];
        const std::uint8_t cause = octet & kCauseMask;
        Key(out, "cot");
        AppendInt(out, cause);
        Key(out, "cot_name");
        AppendJsonString(out, CauseName(cause).abbreviation);
        out += (octet & kCauseNegativeMask) ? ",\"negative\":true" : ",\"negative\":false";
        out += (octet & kCauseTestMask) ? ",\"test\":true" : ",\"test\":false";
    } else {
        out += ",\"cot\":null,\"cot_name\":null,\"negative\":null,\"test\":null";
    }
    Key(out, "originator");
    if (pos < end && causeSize == 2 && pos + 1 < end)
        AppendInt(out, frame[pos + 1]);
    else
        out += "null";
    Key(out, "ca");
    if (pos + causeSize + caSize <= end)
        AppendInt(out, LittleEndian(frame, pos + causeSize, caSize));
    else
        out += "null";
    out += ",\"objects\":[";
    if (type && !f.objects.empty()) {
        ObjectWriter writer(out, frame, *type);
        bool first = true;
        for (const ExplainedObject& object : f.objects) {
            if (!first) out += ',';
            first = false;
            writer.Write(object);
        }
    }
    out += "]}";
}

}  // namespace

void AppendExplanationJson(std::string& out, const FrameExplanation& frame) {
    const FrameParts parts = explain::PartsOf(frame.octets, frame.options);
    out += "{\"frame\":\"";
    AppendHexOctets(out, frame.octets);
    out += "\",\"format\":";
    switch (parts.format) {
        case FrameParts::Format::Single:
            out += "\"single\",\"checksum_ok\":true,\"error\":null}";
            return;
        case FrameParts::Format::Fixed: out += "\"fixed\""; break;
        case FrameParts::Format::Variable: out += "\"variable\""; break;
    }
    out += frame.checksumOk ? ",\"checksum_ok\":true" : ",\"checksum_ok\":false";
    const bool variable = parts.format == FrameParts::Format::Variable;
    if (parts.hasControl) {
        Key(out, "link");
        Link(out, frame.octets, parts, frame.options);
    } else {
        out += ",\"link\":null";
    }
    if (variable) {
        Key(out, "asdu");
        if (parts.hasAsdu)
            Asdu(out, frame, parts);
        else
            out += "null";
    }
    Key(out, "error");
    if (frame.stop.kind == ExplainStop::Kind::None) {
        out += "null";
    } else {
        std::string text;
        explain::AppendStopText(text, frame);
        AppendJsonString(out, text);
    }
    out += '}';
}

JsonValue FrameExplanation::Json() const {
    std::string text;
    AppendExplanationJson(text, *this);
    return JsonValue::Parse(text);
}

}  // namespace tc101
