// The explanation's lines, written from where the decoder found the frame's
// parts: as indented text, or as a tree of nodes for the window.

#include <array>

#include "protocol/explain/explanation_text.h"
#include "protocol/explain/frame_parts.h"
#include "protocol/explain/information_elements.h"
#include "protocol/explain/standard_names.h"
#include "protocol/explain/text_append.h"
#include "protocol/explain/type_table.h"
#include "protocol/frame.h"

namespace tc101 {

namespace {

using explain::AppendHexByte;
using explain::AppendHexOctets;
using explain::AppendInt;
using explain::FrameParts;
using explain::LittleEndian;


// "A=258 [02 01]": a number of more than one octet shows its octets too.
void AppendAddress(std::string& out, std::span<const std::uint8_t> frame, std::size_t at, std::size_t size) {
    AppendInt(out, LittleEndian(frame, at, size));
    if (size > 1) {
        out += " [";
        AppendHexOctets(out, frame.subspan(at, size));
        out += ']';
    }
}

void AppendControl(std::string& out, std::uint8_t control, bool balanced) {
    const bool primary = control & kPrmMask;
    const std::uint8_t fc = control & kFunctionMask;
    const StandardName name = FunctionName(primary, fc, balanced);
    out += "控制域 C=0x";
    AppendHexByte(out, control);
    out += ":";
    if (balanced) out += (control & kDirMask) ? " DIR=1" : " DIR=0";
    out += primary ? " PRM=1 启动站," : " PRM=0 从动站,";
    const bool bit5 = control & kFcbAcdMask;
    const bool bit4 = control & kFcvDfcMask;
    if (primary) {
        out += bit5 ? " FCB=1" : " FCB=0";
        out += bit4 ? " FCV=1 (FCB有效)," : " FCV=0 (FCB无效),";
    } else {
        if (!balanced) out += bit5 ? " ACD=1 有一级数据," : " ACD=0 无一级数据,";
        out += bit4 ? " DFC=1 不能接收后续报文," : " DFC=0 可以接收后续报文,";
    }
    out += " 功能码 FC=";
    AppendInt(out, fc);
    out += ' ';
    out += name.chinese;
    out += " (";
    out += name.abbreviation;
    out += ')';
}

template <class Emit>
class LineWriter {
public:
    LineWriter(const FrameExplanation& frame, Emit& emit)
        : f_(frame), frame_(frame.octets), parts_(explain::PartsOf(frame.octets, frame.options)), emit_(emit) {
        line_.reserve(256);
    }

    void Write() {
        if (parts_.format == FrameParts::Format::Single) {
            emit_(0, "单字符 E5");
            emit_(1, "单字符 E5 (single character): 肯定确认 (ACK) 或无所请求的数据 (NACK)");
            return;
        }
        const bool variable = parts_.format == FrameParts::Format::Variable;
        Start(variable ? "可变帧长帧 " : "固定帧长帧 ");
        AppendHexOctets(line_, frame_);
        emit_(0, line_);
        Link(variable);
        if (parts_.hasAsdu) Asdu();
        if (f_.stop.kind != ExplainStop::Kind::None) {
            Start("解析停止: ");
            explain::AppendStopText(line_, f_);
            emit_(1, line_);
        }
    }

private:
    std::string& Start(std::string_view text) {
        line_.assign(text);
        return line_;
    }

    void Link(bool variable) {
        emit_(1, "链路层 (link)");
        if (variable) {
            const std::uint8_t length = frame_[kVarLengthOffset];
            Start("可变帧长帧, 启动字符 68, 长度 L=");
            AppendInt(line_, length);
            line_ += " (0x";
            AppendHexByte(line_, length);
            line_ += "), 重复 L, 启动字符 68";
            emit_(2, line_);
        } else {
            emit_(2, "固定帧长帧, 启动字符 10");
        }
        if (parts_.hasControl) {
            line_.clear();
            AppendControl(line_, frame_[parts_.controlAt], f_.options.balanced);
            emit_(2, line_);
        }
        if (parts_.hasAddress) {
            Start("链路地址 A=");
            AppendAddress(line_, frame_, parts_.controlAt + 1, static_cast<std::size_t>(f_.options.sizes.linkAddress));
            emit_(2, line_);
        }
        const std::uint8_t expected = FrameChecksum(frame_, static_cast<int>(parts_.checksumFirst),
                                                    static_cast<int>(parts_.checksumLast));
        Start("校验和 CS=0x");
        AppendHexByte(line_, frame_[parts_.checksumLast + 1]);
        if (f_.checksumOk) {
            line_ += " 正确";
        } else {
            line_ += " 错误, 应为 0x";
            AppendHexByte(line_, expected);
        }
        emit_(2, line_);
        emit_(2, "结束字符 16");
    }

    void Asdu() {
        emit_(1, "应用服务数据单元 (ASDU)");
        const std::size_t at = parts_.asduAt;
        const std::size_t end = parts_.asduEnd;
        const auto causeSize = static_cast<std::size_t>(f_.options.sizes.cause);
        const auto caSize = static_cast<std::size_t>(f_.options.sizes.commonAddress);
        const TypeInfo* type = nullptr;
        if (at < end) {
            const std::uint8_t ti = frame_[at];
            type = FindType(ti);
            Start("类型标识 TI=");
            AppendInt(line_, ti);
            if (type) {
                line_ += ' ';
                line_ += type->name;
                line_ += ' ';
                line_ += type->description;
            } else {
                line_ += " 未知类型";
            }
            emit_(2, line_);
        }
        if (at + 1 < end) {
            const std::uint8_t vsq = frame_[at + 1];
            Start("可变结构限定词 VSQ=0x");
            AppendHexByte(line_, vsq);
            line_ += (vsq & kVsqSequenceMask) ? ": SQ=1 顺序的信息元素, 数目 N=" : ": SQ=0 独立的信息对象, 数目 N=";
            AppendInt(line_, vsq & 0x7F);
            emit_(2, line_);
        }
        std::size_t pos = at + 2;
        if (pos < end) {
            const std::uint8_t octet = frame_[pos];
            const std::uint8_t cause = octet & kCauseMask;
            const StandardName name = CauseName(cause);
            Start("传送原因 COT=");
            AppendInt(line_, cause);
            line_ += ' ';
            line_ += name.chinese;
            line_ += " (";
            line_ += name.abbreviation;
            line_ += (octet & kCauseNegativeMask) ? "), P/N=1 否定确认" : "), P/N=0 肯定确认";
            line_ += (octet & kCauseTestMask) ? ", T=1 试验" : ", T=0 未试验";
            emit_(2, line_);
            if (causeSize == 2 && pos + 1 < end) {
                Start("源发站地址 OA=");
                AppendInt(line_, frame_[pos + 1]);
                emit_(2, line_);
            }
        }
        pos += causeSize;
        if (pos + caSize <= end) {
            Start("公共地址 CA=");
            AppendAddress(line_, frame_, pos, caSize);
            emit_(2, line_);
        }
        if (!type) return;
        for (const ExplainedObject& object : f_.objects) Object(*type, object);
    }

    void Object(const TypeInfo& type, const ExplainedObject& object) {
        elements_.clear();
        summary_.clear();
        time_.clear();
        ElementOutput output{&elements_, &summary_, &time_, nullptr};
        std::array<std::size_t, 8> ends{};
        std::size_t pos = object.at;
        std::size_t n = 0;
        for (const Element element : type.elements) {
            std::size_t size = static_cast<std::size_t>(ElementSize(element));
            if (element == Element::Segment) size += frame_[pos];
            ExplainElement(element, frame_.subspan(pos, size), output);
            pos += size;
            if (n < ends.size()) ends[n++] = elements_.size();
        }
        Start("信息对象 IOA=");
        AppendInt(line_, object.ioa);
        if (!summary_.empty()) {
            line_ += ": ";
            line_ += summary_;
        }
        if (output.quality) {
            line_ += " [";
            AppendQualityNames(line_, output.quality, false);
            line_ += ']';
        }
        if (output.timeSeen) {
            line_ += " @";
            line_ += time_;
        }
        emit_(2, line_);
        const std::string_view all = elements_;
        std::size_t from = 0;
        for (std::size_t i = 0; i < n; ++i) {
            emit_(3, all.substr(from, ends[i] - from));
            from = ends[i];
        }
    }

    const FrameExplanation& f_;
    std::span<const std::uint8_t> frame_;
    FrameParts parts_;
    Emit& emit_;
    std::string line_;
    std::string elements_;
    std::string summary_;
    std::string time_;
};

template <class Emit>
void WriteLines(const FrameExplanation& frame, Emit&& emit) {
    LineWriter<std::remove_reference_t<Emit>> writer(frame, emit);
    writer.Write();
}

void AppendIndented(std::string& out, int depth, std::string_view text) {
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += text;
    out += '\n';
}

void AppendNode(std::string& out, const ExplainNode& node, int depth) {
    AppendIndented(out, depth, node.text);
    for (const ExplainNode& child : node.children) AppendNode(out, child, depth + 1);
}

}  // namespace

ExplainNode FrameExplanation::Tree() const {
    ExplainNode root;
    WriteLines(*this, [&root](int depth, std::string_view text) {
        if (depth == 0) {
            root.text = text;
            return;
        }
        ExplainNode* parent = &root;
        for (int d = 1; d < depth; ++d) parent = &parent->children.back();
        parent->children.push_back(ExplainNode{std::string(text), {}});
    });
    return root;
}

void AppendExplanationText(std::string& out, const FrameExplanation& frame, int depth) {
    WriteLines(frame, [&out, depth](int level, std::string_view text) {
        if (level > 0) AppendIndented(out, depth + level - 1, text);
    });
}

void AppendFrameExplanationText(std::string& out, const FrameExplanation& frame, int depth) {
    WriteLines(frame, [&out, depth](int level, std::string_view text) { AppendIndented(out, depth + level, text); });
}

void AppendExplanationTree(std::string& out, const ExplainNode& node, int depth) { AppendNode(out, node, depth); }

}  // namespace tc101
