#include <charconv>
#include <string_view>

#include "protocol/explain/frame_explanation.h"
#include "protocol/explain/information_elements.h"
#include "protocol/explain/standard_names.h"
#include "protocol/explain/type_table.h"
#include "protocol/frame.h"

namespace tc101 {

namespace {

constexpr std::uint8_t kDirMask = 0x80;
constexpr std::uint8_t kCauseMask = 0x3F;
constexpr std::uint8_t kTestMask = 0x80;
constexpr std::uint8_t kVsqNumberMask = 0x7F;
// 68 L L 68 before the control field.
constexpr std::size_t kVarHead = 4;

void AppendInt(std::string& out, std::int64_t value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendHexByte(std::string& out, std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[value >> 4];
    out += kDigits[value & 0x0F];
}

void AppendHex(std::string& out, std::span<const std::uint8_t> octets) {
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i) out += ' ';
        AppendHexByte(out, octets[i]);
    }
}

std::uint32_t LittleEndian(std::span<const std::uint8_t> octets, std::size_t from, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint32_t>(octets[from + i]) << (8 * i);
    return value;
}

ExplainNode& AddNode(ExplainNode& parent, std::string text) {
    parent.children.push_back(ExplainNode{std::move(text), {}});
    return parent.children.back();
}

// "第N个八位位组" counts from 1 as engineers count octets in a frame.
std::string StopText(std::string_view what, std::size_t offset, std::size_t needed, std::size_t left) {
    std::string text(what);
    text += "在第";
    AppendInt(text, static_cast<std::int64_t>(offset + 1));
    text += "个八位位组处超出帧尾 (需要";
    AppendInt(text, static_cast<std::int64_t>(needed));
    text += "个, 仅剩";
    AppendInt(text, static_cast<std::int64_t>(left));
    text += "个)";
    return text;
}

struct Decoder {
    std::span<const std::uint8_t> frame;
    const ExplainOptions& options;
    FrameExplanation result;
    std::string error;

    void Fail(std::string text) {
        if (error.empty()) error = std::move(text);
    }

    // The control field and link address; returns the link node.
    ExplainNode& Link(std::size_t controlAt, std::string_view frameHead, bool withAddress = true) {
        ExplainNode& link = AddNode(result.tree, "链路层 (link)");
        link.children.reserve(6);
        AddNode(link, std::string(frameHead));
        const std::uint8_t control = frame[controlAt];
        const bool primary = control & kPrmMask;
        const std::uint8_t fc = control & kFunctionMask;
        const StandardName name = FunctionName(primary, fc, options.balanced);
        JsonValue json = JsonValue::Object(8);
        json.Add("prm", JsonValue::Int(primary ? 1 : 0));
        json.Add("fc", JsonValue::Int(fc));
        json.Add("fc_name", JsonValue::Text(std::string(name.abbreviation)));
        std::string text;
        text.reserve(200);
        text += "控制域 C=0x";
        AppendHexByte(text, control);
        text += ":";
        if (options.balanced) {
            text += (control & kDirMask) ? " DIR=1" : " DIR=0";
            json.Add("dir", JsonValue::Int((control & kDirMask) ? 1 : 0));
        }
        text += primary ? " PRM=1 启动站," : " PRM=0 从动站,";
        const bool bit5 = control & kFcbAcdMask;
        const bool bit4 = control & kFcvDfcMask;
        if (primary) {
            text += bit5 ? " FCB=1" : " FCB=0";
            text += bit4 ? " FCV=1 (FCB有效)," : " FCV=0 (FCB无效),";
        } else {
            if (!options.balanced) text += bit5 ? " ACD=1 有一级数据," : " ACD=0 无一级数据,";
            text += bit4 ? " DFC=1 不能接收后续报文," : " DFC=0 可以接收后续报文,";
        }
        text += " 功能码 FC=";
        AppendInt(text, fc);
        text += ' ';
        text += name.chinese;
        text += " (";
        text += name.abbreviation;
        text += ')';
        AddNode(link, std::move(text));

        const auto addressSize = static_cast<std::size_t>(options.sizes.linkAddress);
        if (addressSize == 0 || !withAddress) {
            json.Add("address", JsonValue());
        } else {
            const std::uint32_t address = LittleEndian(frame, controlAt + 1, addressSize);
            json.Add("address", JsonValue::Int(address));
            std::string a = "链路地址 A=";
            AppendInt(a, address);
            if (addressSize > 1) {
                a += " [";
                AppendHex(a, frame.subspan(controlAt + 1, addressSize));
                a += ']';
            }
            AddNode(link, std::move(a));
        }
        if (primary) {
            json.Add("fcb", JsonValue::Int(bit5 ? 1 : 0));
            json.Add("fcv", JsonValue::Int(bit4 ? 1 : 0));
        } else {
            if (!options.balanced) json.Add("acd", JsonValue::Int(bit5 ? 1 : 0));
            json.Add("dfc", JsonValue::Int(bit4 ? 1 : 0));
        }
        linkJson = std::move(json);
        return link;
    }

    void Checksum(ExplainNode& link, std::size_t first, std::size_t last) {
        const std::uint8_t expected = FrameChecksum(frame, static_cast<int>(first), static_cast<int>(last));
        const std::uint8_t actual = frame[last + 1];
        checksumOk = expected == actual;
        std::string text = "校验和 CS=0x";
        AppendHexByte(text, actual);
        if (checksumOk) {
            text += " 正确";
        } else {
            text += " 错误, 应为 0x";
            AppendHexByte(text, expected);
        }
        AddNode(link, std::move(text));
        AddNode(link, "结束字符 16");
    }

    void Fixed() {
        result.json.Add("format", JsonValue::Text("fixed"));
        const std::size_t controlAt = 1;
        const std::size_t last = controlAt + static_cast<std::size_t>(options.sizes.linkAddress);
        ExplainNode& link = Link(controlAt, "固定帧长帧, 启动字符 10");
        Checksum(link, controlAt, last);
    }

    void Variable() {
        result.json.Add("format", JsonValue::Text("variable"));
        const std::size_t length = frame[kVarLengthOffset];
        std::string head = "可变帧长帧, 启动字符 68, 长度 L=";
        AppendInt(head, static_cast<std::int64_t>(length));
        head += " (0x";
        AppendHexByte(head, static_cast<std::uint8_t>(length));
        head += "), 重复 L, 启动字符 68";
        const std::size_t userEnd = kVarHead + length;  // first octet after the user data (the checksum)
        const auto addressSize = static_cast<std::size_t>(options.sizes.linkAddress);
        if (length < 1 + addressSize) {
            Fail(StopText("控制域和链路地址", kVarHead, 1 + addressSize, length));
            if (length == 0) {
                ExplainNode& link = AddNode(result.tree, "链路层 (link)");
                AddNode(link, std::move(head));
                Checksum(link, kVarHead, userEnd - 1);
                return;
            }
            ExplainNode& link = Link(kVarHead, head, false);
            Checksum(link, kVarHead, userEnd - 1);
            return;
        }
        ExplainNode& link = Link(kVarHead, head);
        Checksum(link, kVarHead, userEnd - 1);
        Asdu(kVarHead + 1 + addressSize, userEnd);
    }

    void Asdu(std::size_t at, std::size_t end) {
        ExplainNode& node = AddNode(result.tree, "应用服务数据单元 (ASDU)");
        JsonValue asdu = JsonValue::Object(11);
        const auto causeSize = static_cast<std::size_t>(options.sizes.cause);
        const auto caSize = static_cast<std::size_t>(options.sizes.commonAddress);
        const std::size_t headerSize = 2 + causeSize + caSize;
        // Whatever the header holds is told; what it lacks stays null.
        asdu.Add("ti", JsonValue());
        asdu.Add("ti_name", JsonValue());
        asdu.Add("sq", JsonValue());
        asdu.Add("count", JsonValue());
        asdu.Add("cot", JsonValue());
        asdu.Add("cot_name", JsonValue());
        asdu.Add("negative", JsonValue());
        asdu.Add("test", JsonValue());
        asdu.Add("originator", JsonValue());
        asdu.Add("ca", JsonValue());
        asdu.Add("objects", JsonValue::Array());
        const TypeInfo* type = nullptr;
        if (end - at < headerSize) {
            Fail(StopText("ASDU 头", at, headerSize, end - at));
        }
        std::uint8_t ti = 0;
        if (at < end) {
            ti = frame[at];
            type = FindType(ti);
            std::string text = "类型标识 TI=";
            AppendInt(text, ti);
            if (type) {
                text += ' ';
                text += type->name;
                text += ' ';
                text += type->description;
                *asdu.Find("ti_name") = JsonValue::Text(std::string(type->name));
            } else {
                text += " 未知类型";
            }
            *asdu.Find("ti") = JsonValue::Int(ti);
            AddNode(node, std::move(text));
        }
        bool sequence = false;
        std::size_t count = 0;
        if (at + 1 < end) {
            const std::uint8_t vsq = frame[at + 1];
            sequence = vsq & kVsqSequenceMask;
            count = vsq & kVsqNumberMask;
            std::string text = "可变结构限定词 VSQ=0x";
            AppendHexByte(text, vsq);
            text += sequence ? ": SQ=1 顺序的信息元素, 数目 N=" : ": SQ=0 独立的信息对象, 数目 N=";
            AppendInt(text, static_cast<std::int64_t>(count));
            *asdu.Find("sq") = JsonValue::Int(sequence ? 1 : 0);
            *asdu.Find("count") = JsonValue::Int(static_cast<std::int64_t>(count));
            AddNode(node, std::move(text));
        }
        std::size_t pos = at + 2;
        if (pos < end) {
            const std::uint8_t octet = frame[pos];
            const std::uint8_t cause = octet & kCauseMask;
            const StandardName name = CauseName(cause);
            std::string text = "传送原因 COT=";
            AppendInt(text, cause);
            text += ' ';
            text += name.chinese;
            text += " (";
            text += name.abbreviation;
            text += (octet & kCauseNegativeMask) ? "), P/N=1 否定确认" : "), P/N=0 肯定确认";
            text += (octet & kTestMask) ? ", T=1 试验" : ", T=0 未试验";
            *asdu.Find("cot") = JsonValue::Int(cause);
            *asdu.Find("cot_name") = JsonValue::Text(std::string(name.abbreviation));
            *asdu.Find("negative") = JsonValue::Bool(octet & kCauseNegativeMask);
            *asdu.Find("test") = JsonValue::Bool(octet & kTestMask);
            AddNode(node, std::move(text));
            if (causeSize == 2 && pos + 1 < end) {
                std::string oa = "源发站地址 OA=";
                AppendInt(oa, frame[pos + 1]);
                *asdu.Find("originator") = JsonValue::Int(frame[pos + 1]);
                AddNode(node, std::move(oa));
            }
        }
        pos += causeSize;
        if (pos + caSize <= end) {
            const std::uint32_t ca = LittleEndian(frame, pos, caSize);
            std::string text = "公共地址 CA=";
            AppendInt(text, ca);
            if (caSize > 1) {
                text += " [";
                AppendHex(text, frame.subspan(pos, caSize));
                text += ']';
            }
            *asdu.Find("ca") = JsonValue::Int(ca);
            AddNode(node, std::move(text));
        }
        pos += caSize;
        if (error.empty()) {
            if (!type) {
                std::string text = "未知的类型标识 TI=";
                AppendInt(text, ti);
                text += ", 从第";
                AppendInt(text, static_cast<std::int64_t>(pos + 1));
                text += "个八位位组起的信息对象无法解析";
                Fail(std::move(text));
            } else {
                Objects(*type, sequence, count, pos, end, node, *asdu.Find("objects"));
            }
        }
        asduJson = std::move(asdu);
    }

    void Objects(const TypeInfo& type, bool sequence, std::size_t count, std::size_t pos, std::size_t end,
                 ExplainNode& node, JsonValue& objects) {
        const auto ioaSize = static_cast<std::size_t>(options.sizes.objectAddress);
        const bool valueIsObject = type.ti >= 45;
        node.children.reserve(node.children.size() + count);
        objects.Reserve(count);
        std::uint32_t ioa = 0;
        for (std::size_t k = 0; k < count; ++k) {
            std::string what = "第";
            AppendInt(what, static_cast<std::int64_t>(k + 1));
            what += "个信息对象";
            if (!sequence || k == 0) {
                if (end - pos < ioaSize) {
                    Fail(StopText(what + "的地址", pos, ioaSize, end - pos));
                    return;
                }
                ioa = LittleEndian(frame, pos, ioaSize);
                pos += ioaSize;
            } else {
                ++ioa;
            }
            // "ioa", "value", "quality", "time" and usually one field more.
            JsonValue object = JsonValue::Object(5);
            object.Add("ioa", JsonValue::Int(ioa));
            object.Add("value", JsonValue());
            object.Add("quality", JsonValue());
            object.Add("time", JsonValue());
            ExplainNode objectNode;
            objectNode.children.reserve(type.elements.size());
            ElementTarget target{objectNode.children, object, valueIsObject, 0, {}, false};
            for (const Element element : type.elements) {
                std::size_t size = static_cast<std::size_t>(ElementSize(element));
                if (element == Element::Segment && pos < end) size += frame[pos];
                if (end - pos < size) {
                    Fail(StopText(what, pos, size, end - pos));
                    return;
                }
                ExplainElement(element, frame.subspan(pos, size), target);
                pos += size;
            }
            if (valueIsObject && object.Find("value")->IsNull()) *object.Find("value") = JsonValue::Object();
            *object.Find("quality") = QualityList(target.quality);
            objectNode.text.reserve(64);
            objectNode.text = "信息对象 IOA=";
            AppendInt(objectNode.text, ioa);
            if (!target.summary.empty()) {
                objectNode.text += ": ";
                objectNode.text += target.summary;
            }
            if (target.quality) {
                objectNode.text += " [";
                const auto& names = object.Find("quality")->Items();
                for (std::size_t i = 0; i < names.size(); ++i) {
                    if (i) objectNode.text += ' ';
                    objectNode.text += names[i].AsText();
                }
                objectNode.text += ']';
            }
            if (const JsonValue* time = object.Find("time"); !time->IsNull()) {
                objectNode.text += " @";
                objectNode.text += time->AsText();
            }
            node.children.push_back(std::move(objectNode));
            objects.Push(std::move(object));
        }
        if (pos < end) {
            std::string text = "信息对象之后多出";
            AppendInt(text, static_cast<std::int64_t>(end - pos));
            text += "个八位位组 (从第";
            AppendInt(text, static_cast<std::int64_t>(pos + 1));
            text += "个起)";
            Fail(std::move(text));
        }
    }

    JsonValue linkJson;
    JsonValue asduJson;
    bool checksumOk = true;
};

}  // namespace

ExplainOptions ExplainOptionsFor(const LinkProfile& profile) { return ExplainOptions{profile.sizes, false}; }

FrameExplanation ExplainFrame(std::span<const std::uint8_t> frame, const ExplainOptions& options) {
    Decoder d{frame, options, {}, {}, {}, {}, true};
    d.result.size = frame.size();
    d.result.tree.text.reserve(frame.size() * 3 + 16);
    d.result.json = JsonValue::Object(7);
    d.result.tree.children.reserve(3);
    std::string hex;
    AppendHex(hex, frame);
    d.result.json.Add("frame", JsonValue::Text(hex));
    if (frame.size() == 1 && frame[0] == kSingleChar) {
        d.result.tree.text = "单字符 E5";
        AddNode(d.result.tree, "单字符 E5 (single character): 肯定确认 (ACK) 或无所请求的数据 (NACK)");
        d.result.json.Add("format", JsonValue::Text("single"));
        d.result.json.Add("checksum_ok", JsonValue::Bool(true));
        d.result.json.Add("error", JsonValue());
        return std::move(d.result);
    }
    const bool variable = !frame.empty() && frame[0] == kVariableStart;
    d.result.tree.text = variable ? "可变帧长帧 " : "固定帧长帧 ";
    d.result.tree.text += hex;
    if (variable)
        d.Variable();
    else
        d.Fixed();
    d.result.json.Add("checksum_ok", JsonValue::Bool(d.checksumOk));
    if (!d.linkJson.IsNull()) d.result.json.Add("link", std::move(d.linkJson));
    else if (variable) d.result.json.Add("link", JsonValue());
    if (variable) d.result.json.Add("asdu", std::move(d.asduJson));
    if (d.error.empty()) {
        d.result.json.Add("error", JsonValue());
    } else {
        AddNode(d.result.tree, "解析停止: " + d.error);
        d.result.json.Add("error", JsonValue::Text(d.error));
    }
    return std::move(d.result);
}

}  // namespace tc101
