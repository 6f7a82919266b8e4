#include "protocol/explain/information_elements.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstring>
#include <string_view>

namespace tc101 {

namespace {

constexpr std::array<std::string_view, 8> kQualityNames = {"IV", "NT", "SB", "BL", "OV", "EI", "CY", "CA"};

// Quality descriptor bits shared by SIQ, DIQ, QDS, SEP and QDP.
constexpr std::uint8_t kBitIv = 0x80, kBitNt = 0x40, kBitSb = 0x20, kBitBl = 0x10;
constexpr std::uint8_t kBitOv = 0x01, kBitEi = 0x08;
constexpr std::uint8_t kBitSe = 0x80;  // select/execute of command qualifiers

std::uint32_t LittleEndian(std::span<const std::uint8_t> octets, std::size_t from, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint32_t>(octets[from + i]) << (8 * i);
    return value;
}

void AppendInt(std::string& out, std::int64_t value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendHexByte(std::string& out, std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += kDigits[value >> 4];
    out += kDigits[value & 0x0F];
}

void AppendPadded(std::string& out, std::int64_t value, int width) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    for (auto digits = end - buffer; digits < width; ++digits) out += '0';
    out.append(buffer, end);
}

std::string Head(std::string_view name, std::span<const std::uint8_t> octets) {
    std::string text;
    // Room for the usual line, so appending the fields does not reallocate.
    text.reserve(120);
    text += name;
    text += " [";
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i) text += ' ';
        AppendHexByte(text, octets[i]);
    }
    text += "]: ";
    return text;
}

void Flag(std::string& text, std::string_view name, bool set) {
    text += ' ';
    text += name;
    text += set ? "=1" : "=0";
}

class Writer {
public:
    explicit Writer(ElementTarget& target) : t_(target) {}

    // The value's number: the object's "value" or, for commands, a field.
    void Value(std::string_view key, JsonValue value) {
        if (t_.valueIsObject) {
            ValueObject().Add(key, std::move(value));
        } else if (JsonValue* slot = t_.object.Find("value"); slot && slot->IsNull()) {
            *slot = std::move(value);
        } else {
            t_.object.Add(key, std::move(value));
        }
    }
    void Field(std::string_view key, JsonValue value) {
        (t_.valueIsObject ? ValueObject() : t_.object).Add(key, std::move(value));
    }
    void Bit(std::string_view key, bool set) { Field(key, JsonValue::Int(set ? 1 : 0)); }
    void Quality(std::uint8_t octet, bool overflowBit, bool eventBit) {
        if (octet & kBitIv) t_.quality |= kQualityIv;
        if (octet & kBitNt) t_.quality |= kQualityNt;
        if (octet & kBitSb) t_.quality |= kQualitySb;
        if (octet & kBitBl) t_.quality |= kQualityBl;
        if (overflowBit && (octet & kBitOv)) t_.quality |= kQualityOv;
        if (eventBit && (octet & kBitEi)) t_.quality |= kQualityEi;
    }
    void QualityText(std::string& text, std::uint8_t octet, bool overflowBit, bool eventBit) {
        if (overflowBit) Flag(text, "OV", octet & kBitOv);
        if (eventBit) Flag(text, "EI", octet & kBitEi);
        Flag(text, "BL", octet & kBitBl);
        Flag(text, "SB", octet & kBitSb);
        Flag(text, "NT", octet & kBitNt);
        Flag(text, "IV", octet & kBitIv);
    }
    void Node(std::string text) { t_.nodes.push_back(ExplainNode{std::move(text), {}}); }
    void Summary(std::string_view text) {
        if (!t_.summary.empty()) t_.summary += ", ";
        t_.summary += text;
    }
    void Time(std::string text, bool stop) {
        if (!t_.timeSeen || !stop) {
            if (JsonValue* slot = t_.object.Find("time")) *slot = JsonValue::Text(std::move(text));
            t_.timeSeen = true;
        } else {
            Field("stop", JsonValue::Text(std::move(text)));
        }
    }
    bool TimeSeen() const { return t_.timeSeen; }

private:
    JsonValue& ValueObject() {
        JsonValue* slot = t_.object.Find("value");
        if (slot->IsNull()) *slot = JsonValue::Object(6);
        return *slot;
    }
    ElementTarget& t_;
};

constexpr std::array<std::string_view, 4> kDoublePoint = {"中间状态", "确定状态分 (OFF)", "确定状态合 (ON)", "不确定状态"};

std::string_view QualifierOfCommand(std::uint8_t qu) {
    switch (qu) {
        case 0: return "无另外的定义";
        case 1: return "短脉冲持续时间";
        case 2: return "长脉冲持续时间";
        case 3: return "持续输出";
        default: return qu < 16 ? "备用" : "特定使用";
    }
}

void Command(Writer& w, std::string text, std::string_view state, std::string_view key, std::uint8_t octet,
             std::uint8_t stateValue, std::string_view stateText) {
    const auto qu = static_cast<std::uint8_t>((octet >> 2) & 0x1F);
    const bool select = octet & kBitSe;
    w.Value(key, JsonValue::Int(stateValue));
    w.Field("QU", JsonValue::Int(qu));
    w.Bit("S/E", select);
    text += state;
    text += '=';
    AppendInt(text, stateValue);
    text += ' ';
    text += stateText;
    text += ", QU=";
    AppendInt(text, qu);
    text += ' ';
    text += QualifierOfCommand(qu);
    text += select ? ", S/E=1 选择" : ", S/E=0 执行";
    w.Node(std::move(text));
    std::string summary(state);
    summary += '=';
    AppendInt(summary, stateValue);
    summary += select ? " 选择" : " 执行";
    w.Summary(summary);
}

std::string_view InterrogationQualifier(std::uint8_t qoi, std::string& scratch) {
    if (qoi == 20) return "站召唤(总召唤)";
    if (qoi >= 21 && qoi <= 36) {
        scratch = "第" + std::to_string(qoi - 20) + "组召唤";
        return scratch;
    }
    return qoi == 0 ? "未用" : "备用";
}

std::string Cp56Text(std::span<const std::uint8_t> o) {
    const std::uint32_t ms = LittleEndian(o, 0, 2);
    std::string text = "20";
    AppendPadded(text, o[6] & 0x7F, 2);
    text += '-';
    AppendPadded(text, o[5] & 0x0F, 2);
    text += '-';
    AppendPadded(text, o[4] & 0x1F, 2);
    text += 'T';
    AppendPadded(text, o[3] & 0x1F, 2);
    text += ':';
    AppendPadded(text, o[2] & 0x3F, 2);
    text += ':';
    AppendPadded(text, ms / 1000, 2);
    text += '.';
    AppendPadded(text, ms % 1000, 3);
    return text;
}

std::string Cp24Text(std::span<const std::uint8_t> o) {
    const std::uint32_t ms = LittleEndian(o, 0, 2);
    std::string text;
    AppendPadded(text, o[2] & 0x3F, 2);
    text += ':';
    AppendPadded(text, ms / 1000, 2);
    text += '.';
    AppendPadded(text, ms % 1000, 3);
    return text;
}

constexpr std::array<std::string_view, 8> kWeekdays = {"(未用)", "星期一", "星期二", "星期三",
                                                       "星期四", "星期五", "星期六", "星期日"};

void FileTransfer(Writer& w, Element element, std::span<const std::uint8_t> o, std::string text) {
    const std::uint8_t octet = o[0];
    const auto low = static_cast<std::uint8_t>(octet & 0x0F);
    const auto high = static_cast<std::uint8_t>(octet >> 4);
    static constexpr std::array<std::string_view, 8> kScq = {"缺省", "选择文件", "请求文件", "停止激活文件",
                                                             "删除文件", "选择节", "请求节", "停止激活节"};
    static constexpr std::array<std::string_view, 6> kFileError = {"", "无所请求的存储空间", "校验和错",
                                                                   "非所期望的通信服务", "非所期望的文件名称",
                                                                   "非所期望的节名称"};
    static constexpr std::array<std::string_view, 5> kLsq = {"未用", "不带停止激活的文件传输",
                                                             "带停止激活的文件传输", "不带停止激活的节传输",
                                                             "带停止激活的节传输"};
    static constexpr std::array<std::string_view, 5> kAfq = {"未用", "文件传输的肯定认可", "文件传输的否定认可",
                                                             "节传输的肯定认可", "节传输的否定认可"};
    switch (element) {
        case Element::Frq:
        case Element::Srq: {
            const std::string_view key = element == Element::Frq ? "FRQ" : "SRQ";
            w.Field(key, JsonValue::Int(octet));
            text += key;
            text += '=';
            AppendInt(text, octet & 0x7F);
            text += (octet & 0x80) ? ", BS=1 " : ", BS=0 ";
            text += element == Element::Frq ? ((octet & 0x80) ? "选择否定确认" : "选择肯定确认")
                                            : ((octet & 0x80) ? "节未准备好" : "节准备就绪");
            break;
        }
        case Element::Scq:
        case Element::Afq: {
            const std::string_view key = element == Element::Scq ? "SCQ" : "AFQ";
            w.Field(key, JsonValue::Int(octet));
            text += key;
            text += '=';
            AppendInt(text, low);
            text += ' ';
            if (element == Element::Scq)
                text += low < kScq.size() ? kScq[low] : "备用";
            else
                text += low < kAfq.size() ? kAfq[low] : "备用";
            if (high) {
                text += ", 错误=";
                AppendInt(text, high);
                text += ' ';
                text += high < kFileError.size() ? kFileError[high] : "备用";
            }
            break;
        }
        case Element::Lsq:
            w.Field("LSQ", JsonValue::Int(octet));
            text += "LSQ=";
            AppendInt(text, octet);
            text += ' ';
            text += octet < kLsq.size() ? kLsq[octet] : "备用";
            break;
        case Element::Chs:
            w.Field("CHS", JsonValue::Int(octet));
            text += "校验和 CHS=";
            AppendInt(text, octet);
            break;
        case Element::Sof:
            w.Field("SOF", JsonValue::Int(octet));
            text += "STATUS=";
            AppendInt(text, octet & 0x1F);
            Flag(text, "LFD", octet & 0x20);
            Flag(text, "FOR", octet & 0x40);
            Flag(text, "FA", octet & 0x80);
            break;
        default:
            break;
    }
    w.Node(std::move(text));
}

}  // namespace

JsonValue QualityList(std::uint16_t flags) {
    JsonValue list = JsonValue::Array(static_cast<std::size_t>(std::popcount(flags)));
    for (std::size_t i = 0; i < kQualityNames.size(); ++i)
        if (flags & (1u << i)) list.Push(JsonValue::Text(std::string(kQualityNames[i])));
    return list;
}

void ExplainElement(Element element, std::span<const std::uint8_t> o, ElementTarget& target) {
    Writer w(target);
    const std::uint8_t octet = o[0];
    switch (element) {
        case Element::Siq: {
            std::string text = Head("SIQ", o);
            const int spi = octet & 0x01;
            w.Value("SPI", JsonValue::Int(spi));
            w.Quality(octet, false, false);
            text += spi ? "SPI=1 合 (ON)," : "SPI=0 分 (OFF),";
            w.QualityText(text, octet, false, false);
            w.Node(std::move(text));
            w.Summary(spi ? "SPI=1 合" : "SPI=0 分");
            return;
        }
        case Element::Diq: {
            std::string text = Head("DIQ", o);
            const int dpi = octet & 0x03;
            w.Value("DPI", JsonValue::Int(dpi));
            w.Quality(octet, false, false);
            text += "DPI=";
            AppendInt(text, dpi);
            text += ' ';
            text += kDoublePoint[static_cast<std::size_t>(dpi)];
            text += ',';
            w.QualityText(text, octet, false, false);
            w.Node(std::move(text));
            std::string summary = "DPI=";
            AppendInt(summary, dpi);
            w.Summary(summary);
            return;
        }
        case Element::Vti: {
            std::string text = Head("VTI", o);
            // Seven-bit two's complement: -64 to +63.
            const int value = (octet & 0x40) ? (octet & 0x7F) - 128 : (octet & 0x3F);
            const bool transient = octet & 0x80;
            w.Value("VTI", JsonValue::Int(value));
            w.Bit("T", transient);
            text += "步位置=";
            AppendInt(text, value);
            text += transient ? ", T=1 设备在瞬变状态" : ", T=0 设备未在瞬变状态";
            w.Node(std::move(text));
            std::string summary = "步位置=";
            AppendInt(summary, value);
            w.Summary(summary);
            return;
        }
        case Element::Qds:
        case Element::Qdp: {
            const bool qds = element == Element::Qds;
            std::string text = Head(qds ? "QDS" : "QDP", o);
            w.Quality(octet, qds, !qds);
            text += "品质:";
            w.QualityText(text, octet, qds, !qds);
            w.Node(std::move(text));
            return;
        }
        case Element::Bsi: {
            std::string text = Head("BSI", o);
            const std::uint32_t bits = LittleEndian(o, 0, 4);
            w.Value("BSI", JsonValue::Int(bits));
            text += "32比特串=0x";
            for (int i = 3; i >= 0; --i) AppendHexByte(text, static_cast<std::uint8_t>(bits >> (8 * i)));
            text += " (";
            AppendInt(text, bits);
            text += ')';
            w.Node(std::move(text));
            std::string summary = "BSI=";
            AppendInt(summary, bits);
            w.Summary(summary);
            return;
        }
        case Element::Nva: {
            std::string text = Head("NVA", o);
            const auto raw = static_cast<std::int16_t>(LittleEndian(o, 0, 2));
            const double fraction = raw / 32768.0;
            w.Value("NVA", JsonValue::Int(raw));
            w.Field("fraction", JsonValue::Float(fraction));
            text += "归一化值=";
            AppendInt(text, raw);
            text += " (";
            char buffer[32];
            text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, fraction).ptr);
            text += ')';
            w.Node(std::move(text));
            std::string summary = "NVA=";
            AppendInt(summary, raw);
            w.Summary(summary);
            return;
        }
        case Element::Sva: {
            std::string text = Head("SVA", o);
            const auto raw = static_cast<std::int16_t>(LittleEndian(o, 0, 2));
            w.Value("SVA", JsonValue::Int(raw));
            text += "标度化值=";
            AppendInt(text, raw);
            w.Node(std::move(text));
            std::string summary = "SVA=";
            AppendInt(summary, raw);
            w.Summary(summary);
            return;
        }
        case Element::Float: {
            std::string text = Head("IEEE STD 754", o);
            const float value = std::bit_cast<float>(LittleEndian(o, 0, 4));
            w.Value("IEEE754", JsonValue::Single(value));
            char buffer[32];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
            text += "短浮点数=";
            text.append(buffer, end);
            w.Node(std::move(text));
            w.Summary("值=" + std::string(buffer, end));
            return;
        }
        case Element::Bcr: {
            std::string text = Head("BCR", o);
            const auto counter = static_cast<std::int32_t>(LittleEndian(o, 0, 4));
            const std::uint8_t flags = o[4];
            w.Value("BCR", JsonValue::Int(counter));
            w.Field("SQ", JsonValue::Int(flags & 0x1F));
            if (flags & 0x20) target.quality |= kQualityCy;
            if (flags & 0x40) target.quality |= kQualityCa;
            if (flags & 0x80) target.quality |= kQualityIv;
            text += "计数量读数=";
            AppendInt(text, counter);
            text += ", 顺序号 SQ=";
            AppendInt(text, flags & 0x1F);
            Flag(text, "CY", flags & 0x20);
            Flag(text, "CA", flags & 0x40);
            Flag(text, "IV", flags & 0x80);
            w.Node(std::move(text));
            std::string summary = "BCR=";
            AppendInt(summary, counter);
            w.Summary(summary);
            return;
        }
        case Element::Sep: {
            std::string text = Head("SEP", o);
            const int es = octet & 0x03;
            w.Value("ES", JsonValue::Int(es));
            w.Quality(octet, false, true);
            text += "事件状态 ES=";
            AppendInt(text, es);
            text += ' ';
            text += kDoublePoint[static_cast<std::size_t>(es)];
            text += ',';
            w.QualityText(text, octet, false, true);
            w.Node(std::move(text));
            std::string summary = "ES=";
            AppendInt(summary, es);
            w.Summary(summary);
            return;
        }
        case Element::Spe:
        case Element::Oci: {
            const bool start = element == Element::Spe;
            std::string text = Head(start ? "SPE" : "OCI", o);
            w.Value(start ? "SPE" : "OCI", JsonValue::Int(octet));
            static constexpr std::array<std::string_view, 6> kStart = {"GS", "SL1", "SL2", "SL3", "SIE", "SRD"};
            static constexpr std::array<std::string_view, 4> kOutput = {"GC", "CL1", "CL2", "CL3"};
            const std::span<const std::string_view> names = start ? std::span<const std::string_view>(kStart)
                                                                  : std::span<const std::string_view>(kOutput);
            text += start ? "启动事件:" : "输出电路:";
            for (std::size_t bit = 0; bit < names.size(); ++bit) {
                w.Bit(names[bit], octet & (1u << bit));
                Flag(text, names[bit], octet & (1u << bit));
            }
            w.Node(std::move(text));
            std::string summary(start ? "SPE=0x" : "OCI=0x");
            AppendHexByte(summary, octet);
            w.Summary(summary);
            return;
        }
        case Element::Scd: {
            std::string text = Head("SCD", o);
            const std::uint32_t st = LittleEndian(o, 0, 2);
            const std::uint32_t cd = LittleEndian(o, 2, 2);
            w.Value("ST", JsonValue::Int(st));
            w.Field("CD", JsonValue::Int(cd));
            text += "状态 ST=0x";
            AppendHexByte(text, static_cast<std::uint8_t>(st >> 8));
            AppendHexByte(text, static_cast<std::uint8_t>(st));
            text += ", 变位检出 CD=0x";
            AppendHexByte(text, static_cast<std::uint8_t>(cd >> 8));
            AppendHexByte(text, static_cast<std::uint8_t>(cd));
            w.Node(std::move(text));
            std::string summary = "ST=";
            AppendInt(summary, st);
            w.Summary(summary);
            return;
        }
        case Element::Cp16: {
            std::string text = Head("CP16Time2a", o);
            const std::uint32_t ms = LittleEndian(o, 0, 2);
            w.Field("CP16", JsonValue::Int(ms));
            text += "经过时间=";
            AppendInt(text, ms);
            text += " ms";
            w.Node(std::move(text));
            return;
        }
        case Element::Cp24: {
            std::string text = Head("CP24Time2a", o);
            std::string time = Cp24Text(o);
            text += "时标 ";
            text += time;
            text += " (分:秒.毫秒)";
            Flag(text, "IV", o[2] & 0x80);
            w.Node(std::move(text));
            w.Time(std::move(time), false);
            return;
        }
        case Element::Cp56: {
            const bool stop = w.TimeSeen();
            std::string text = Head(stop ? "CP56Time2a (结束)" : "CP56Time2a", o);
            std::string time = Cp56Text(o);
            text += "时标 ";
            text += time;
            text += ' ';
            text += kWeekdays[o[4] >> 5];
            Flag(text, "SU", o[3] & 0x80);
            Flag(text, "IV", o[2] & 0x80);
            w.Node(std::move(text));
            w.Time(std::move(time), true);
            return;
        }
        case Element::Sco:
            Command(w, Head("SCO", o), "SCS", "SCS", octet, octet & 0x01, (octet & 0x01) ? "合 (ON)" : "分 (OFF)");
            return;
        case Element::Dco: {
            static constexpr std::array<std::string_view, 4> kDcs = {"不允许", "分 (OFF)", "合 (ON)", "不允许"};
            Command(w, Head("DCO", o), "DCS", "DCS", octet, octet & 0x03, kDcs[octet & 0x03]);
            return;
        }
        case Element::Rco: {
            static constexpr std::array<std::string_view, 4> kRcs = {"不允许", "降一步", "升一步", "不允许"};
            Command(w, Head("RCO", o), "RCS", "RCS", octet, octet & 0x03, kRcs[octet & 0x03]);
            return;
        }
        case Element::Qos: {
            std::string text = Head("QOS", o);
            const bool select = octet & kBitSe;
            w.Field("QL", JsonValue::Int(octet & 0x7F));
            w.Bit("S/E", select);
            text += "QL=";
            AppendInt(text, octet & 0x7F);
            text += select ? ", S/E=1 选择" : ", S/E=0 执行";
            w.Node(std::move(text));
            return;
        }
        case Element::Qoi: {
            std::string text = Head("QOI", o);
            std::string scratch;
            w.Value("QOI", JsonValue::Int(octet));
            text += "召唤限定词=";
            AppendInt(text, octet);
            text += ' ';
            text += InterrogationQualifier(octet, scratch);
            w.Node(std::move(text));
            std::string summary = "QOI=";
            AppendInt(summary, octet);
            w.Summary(summary);
            return;
        }
        case Element::Qcc: {
            std::string text = Head("QCC", o);
            const int rqt = octet & 0x3F;
            const int frz = octet >> 6;
            static constexpr std::array<std::string_view, 4> kFrz = {"读 (不冻结, 不复位)", "冻结不带复位",
                                                                     "冻结带复位", "计数量复位"};
            w.Field("RQT", JsonValue::Int(rqt));
            w.Field("FRZ", JsonValue::Int(frz));
            text += "RQT=";
            AppendInt(text, rqt);
            if (rqt >= 1 && rqt <= 4) {
                text += " 请求第";
                AppendInt(text, rqt);
                text += "组计数量";
            } else {
                text += rqt == 5 ? " 总的请求计数量" : (rqt == 0 ? " 未采用" : " 备用");
            }
            text += ", FRZ=";
            AppendInt(text, frz);
            text += ' ';
            text += kFrz[static_cast<std::size_t>(frz)];
            w.Node(std::move(text));
            return;
        }
        case Element::Qrp: {
            std::string text = Head("QRP", o);
            w.Field("QRP", JsonValue::Int(octet));
            text += "QRP=";
            AppendInt(text, octet);
            text += octet == 1 ? " 进程的总复位" : (octet == 2 ? " 复位事件缓冲区等待处理的带时标的信息" : " 未采用或备用");
            w.Node(std::move(text));
            return;
        }
        case Element::Qpm: {
            std::string text = Head("QPM", o);
            const int kpa = octet & 0x3F;
            static constexpr std::array<std::string_view, 5> kKpa = {"未用", "门限值", "平滑系数(滤波时间常数)",
                                                                     "传送测量值的下限", "传送测量值的上限"};
            w.Field("KPA", JsonValue::Int(kpa));
            w.Bit("LPC", octet & 0x40);
            w.Bit("POP", octet & 0x80);
            text += "KPA=";
            AppendInt(text, kpa);
            text += ' ';
            text += kpa < static_cast<int>(kKpa.size()) ? kKpa[static_cast<std::size_t>(kpa)] : "备用";
            text += (octet & 0x40) ? ", LPC=1 改变" : ", LPC=0 未改变";
            text += (octet & 0x80) ? ", POP=1 未运行" : ", POP=0 运行";
            w.Node(std::move(text));
            return;
        }
        case Element::Qpa: {
            std::string text = Head("QPA", o);
            w.Field("QPA", JsonValue::Int(octet));
            static constexpr std::array<std::string_view, 4> kQpa = {
                "未用", "激活/停止激活之前装载的参数", "激活/停止激活所寻址信息对象的参数",
                "激活/停止激活持续循环或周期传输所寻址的信息对象"};
            text += "QPA=";
            AppendInt(text, octet);
            text += ' ';
            text += octet < kQpa.size() ? kQpa[octet] : "备用";
            w.Node(std::move(text));
            return;
        }
        case Element::Coi: {
            std::string text = Head("COI", o);
            const int cause = octet & 0x7F;
            static constexpr std::array<std::string_view, 3> kCoi = {"当地电源合上", "当地手动复位", "远方复位"};
            w.Field("COI", JsonValue::Int(cause));
            w.Bit("BS", octet & 0x80);
            text += "初始化原因=";
            AppendInt(text, cause);
            text += ' ';
            text += cause < static_cast<int>(kCoi.size()) ? kCoi[static_cast<std::size_t>(cause)] : "备用";
            text += (octet & 0x80) ? ", BS=1 改变当地参数后的初始化" : ", BS=0 未改变当地参数的初始化";
            w.Node(std::move(text));
            std::string summary = "COI=";
            AppendInt(summary, cause);
            w.Summary(summary);
            return;
        }
        case Element::Fbp:
        case Element::Tsc: {
            const bool pattern = element == Element::Fbp;
            std::string text = Head(pattern ? "FBP" : "TSC", o);
            const std::uint32_t value = LittleEndian(o, 0, 2);
            w.Field(pattern ? "FBP" : "TSC", JsonValue::Int(value));
            text += pattern ? "固定测试图像=0x" : "测试序列计数器=";
            if (pattern) {
                AppendHexByte(text, static_cast<std::uint8_t>(value >> 8));
                AppendHexByte(text, static_cast<std::uint8_t>(value));
                text += value == 0x55AA ? " (正确)" : " (应为 0x55AA)";
            } else {
                AppendInt(text, value);
            }
            w.Node(std::move(text));
            return;
        }
        case Element::Nof:
        case Element::Nos:
        case Element::Lof: {
            const std::string_view key = element == Element::Nof ? "NOF" : (element == Element::Nos ? "NOS" : "LOF");
            std::string text = Head(key, o);
            const std::uint32_t value = LittleEndian(o, 0, o.size());
            w.Field(key, JsonValue::Int(value));
            text += element == Element::Nof ? "文件名称=" : (element == Element::Nos ? "节名称=" : "文件或节的长度=");
            AppendInt(text, value);
            w.Node(std::move(text));
            return;
        }
        case Element::Segment: {
            std::string text = Head("LOS", o.first(1));
            const std::span<const std::uint8_t> data = o.subspan(1);
            w.Field("LOS", JsonValue::Int(octet));
            std::string hex;
            for (std::size_t i = 0; i < data.size(); ++i) {
                if (i) hex += ' ';
                AppendHexByte(hex, data[i]);
            }
            text += "段的长度=";
            AppendInt(text, octet);
            text += ", 段数据: ";
            text += hex;
            w.Field("segment", JsonValue::Text(std::move(hex)));
            w.Node(std::move(text));
            return;
        }
        case Element::Frq: case Element::Srq: case Element::Scq: case Element::Lsq:
        case Element::Chs: case Element::Afq: case Element::Sof:
            FileTransfer(w, element, o, Head(std::string_view(element == Element::Frq   ? "FRQ"
                                                              : element == Element::Srq ? "SRQ"
                                                              : element == Element::Scq ? "SCQ"
                                                              : element == Element::Lsq ? "LSQ"
                                                              : element == Element::Chs ? "CHS"
                                                              : element == Element::Afq ? "AFQ"
                                                                                        : "SOF"),
                                             o));
            return;
    }
}

}  // namespace tc101
