#include "protocol/explain/information_elements.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>

#include "protocol/explain/json_value.h"
#include "protocol/explain/text_append.h"

namespace tc101 {

namespace {

using explain::AppendHexByte;
using explain::AppendHexOctets;
using explain::AppendInt;
using explain::LittleEndian;

constexpr std::array<std::string_view, 8> kQualityNames = {"IV", "NT", "SB", "BL", "OV", "EI", "CY", "CA"};

// Quality descriptor bits shared by SIQ, DIQ, QDS, SEP and QDP.
constexpr std::uint8_t kBitIv = 0x80, kBitNt = 0x40, kBitSb = 0x20, kBitBl = 0x10;
constexpr std::uint8_t kBitOv = 0x01, kBitEi = 0x08;
constexpr std::uint8_t kBitSe = 0x80;  // select/execute of command qualifiers

// Each element's line starts with its name and octets; in the order of Element.
constexpr std::array<std::string_view, 40> kHeads = {
    "SIQ", "DIQ", "VTI", "QDS", "BSI", "NVA", "SVA", "IEEE STD 754", "BCR", "SEP",
    "SPE", "OCI", "QDP", "SCD", "CP16Time2a", "CP24Time2a", "CP56Time2a", "SCO", "DCO", "RCO",
    "QOS", "QOI", "QCC", "QRP", "QPM", "QPA", "COI", "FBP", "TSC", "NOF",
    "NOS", "LOF", "FRQ", "SRQ", "SCQ", "LSQ", "CHS", "AFQ", "SOF", "LOS",
};
static_assert(static_cast<std::size_t>(Element::Segment) + 1 == kHeads.size());

void AppendHex16(std::string& out, std::uint32_t value) {
    AppendHexByte(out, static_cast<std::uint8_t>(value >> 8));
    AppendHexByte(out, static_cast<std::uint8_t>(value));
}

void AppendPadded(std::string& out, std::int64_t value, int width) {
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    for (auto digits = end - buffer; digits < width; ++digits) out += '0';
    out.append(buffer, end);
}

void AppendCp56(std::string& out, std::span<const std::uint8_t> o) {
    const std::uint32_t ms = LittleEndian(o, 0, 2);
    out += "20";
    AppendPadded(out, o[6] & 0x7F, 2);
    out += '-';
    AppendPadded(out, o[5] & 0x0F, 2);
    out += '-';
    AppendPadded(out, o[4] & 0x1F, 2);
    out += 'T';
    AppendPadded(out, o[3] & 0x1F, 2);
    out += ':';
    AppendPadded(out, o[2] & 0x3F, 2);
    out += ':';
    AppendPadded(out, ms / 1000, 2);
    out += '.';
    AppendPadded(out, ms % 1000, 3);
}

void AppendCp24(std::string& out, std::span<const std::uint8_t> o) {
    const std::uint32_t ms = LittleEndian(o, 0, 2);
    AppendPadded(out, o[2] & 0x3F, 2);
    out += ':';
    AppendPadded(out, ms / 1000, 2);
    out += '.';
    AppendPadded(out, ms % 1000, 3);
}

void AppendTimeTag(std::string& out, Element element, std::span<const std::uint8_t> o) {
    if (element == Element::Cp56)
        AppendCp56(out, o);
    else
        AppendCp24(out, o);
}

// Writes only the parts the output asks for.
class Writer {
public:
    explicit Writer(ElementOutput& output) : o_(output) {}

    // The line.
    void Text(std::string_view text) {
        if (o_.line) *o_.line += text;
    }
    void Int(std::int64_t value) {
        if (o_.line) AppendInt(*o_.line, value);
    }
    void Hex16(std::uint32_t value) {
        if (o_.line) AppendHex16(*o_.line, value);
    }
    void Flag(std::string_view name, bool set) {
        if (!o_.line) return;
        *o_.line += ' ';
        *o_.line += name;
        *o_.line += set ? "=1" : "=0";
    }
    // label, the number, a space and its name from the list (or `other` past its end).
    void Named(std::string_view label, std::uint32_t value, std::span<const std::string_view> names,
               std::string_view other) {
        Text(label);
        Int(value);
        Text(" ");
        Text(value < names.size() ? names[value] : other);
    }
    void QualityText(std::uint8_t octet, bool overflowBit, bool eventBit) {
        if (!o_.line) return;
        if (overflowBit) Flag("OV", octet & kBitOv);
        if (eventBit) Flag("EI", octet & kBitEi);
        Flag("BL", octet & kBitBl);
        Flag("SB", octet & kBitSb);
        Flag("NT", octet & kBitNt);
        Flag("IV", octet & kBitIv);
    }

    // The object's line: a new piece to write, or nothing.
    std::string* Piece() {
        if (!o_.summary) return nullptr;
        if (!o_.summary->empty()) *o_.summary += ", ";
        return o_.summary;
    }
    void Summary(std::string_view text) {
        if (std::string* piece = Piece()) *piece += text;
    }
    void Summary(std::string_view label, std::int64_t value) {
        if (std::string* piece = Piece()) {
            *piece += label;
            AppendInt(*piece, value);
        }
    }

    // JSON: the value's number (the object's "value" or, for commands, a field), or a field.
    void Value(std::string_view key, std::int64_t value) {
        if (o_.json) AppendJsonInt(o_.json->Member(key, true), value);
    }
    void Field(std::string_view key, std::int64_t value) {
        if (o_.json) AppendJsonInt(o_.json->Member(key, false), value);
    }
    void Bit(std::string_view key, bool set) { Field(key, set ? 1 : 0); }
    void FieldReal(std::string_view key, double value) {
        if (o_.json) AppendJsonReal(o_.json->Member(key, false), value);
    }
    void ValueSingle(std::string_view key, float value) {
        if (o_.json) AppendJsonSingle(o_.json->Member(key, true), value);
    }
    void FieldHex(std::string_view key, std::span<const std::uint8_t> octets) {
        if (!o_.json) return;
        std::string& out = o_.json->Member(key, false);
        out += '"';
        AppendHexOctets(out, octets);
        out += '"';
    }

    void Quality(std::uint8_t octet, bool overflowBit, bool eventBit) {
        if (octet & kBitIv) o_.quality |= kQualityIv;
        if (octet & kBitNt) o_.quality |= kQualityNt;
        if (octet & kBitSb) o_.quality |= kQualitySb;
        if (octet & kBitBl) o_.quality |= kQualityBl;
        if (overflowBit && (octet & kBitOv)) o_.quality |= kQualityOv;
        if (eventBit && (octet & kBitEi)) o_.quality |= kQualityEi;
    }
    void AddQuality(std::uint16_t flags) { o_.quality |= flags; }

    // A time tag: the object's time, or for a second CP56 its end time.
    void Time(Element element, std::span<const std::uint8_t> o) {
        const bool stop = element == Element::Cp56 && o_.timeSeen;
        if (o_.line) {
            *o_.line += "时标 ";
            AppendTimeTag(*o_.line, element, o);
        }
        if (!stop && o_.time) {
            o_.time->clear();
            AppendTimeTag(*o_.time, element, o);
        } else if (stop && o_.json) {
            std::string& out = o_.json->Member("stop", false);
            out += '"';
            AppendTimeTag(out, element, o);
            out += '"';
        }
        o_.timeSeen = true;
    }
    bool TimeSeen() const { return o_.timeSeen; }

private:
    ElementOutput& o_;
};

constexpr std::array<std::string_view, 4> kDoublePoint = {"中间状态", "确定状态分 (OFF)", "确定状态合 (ON)", "不确定状态"};

constexpr std::array<std::string_view, 8> kWeekdays = {"(未用)", "星期一", "星期二", "星期三",
                                                       "星期四", "星期五", "星期六", "星期日"};

// Elements that are one number with a label, perhaps a name from a list.
struct NumberShape {
    std::string_view key;
    std::string_view label;
    std::string_view suffix = {};
    bool isValue = false;  // the object's value, shown on its line as key=number
    bool signed16 = false;
    std::span<const std::string_view> names = {};
    std::string_view other = {};  // the name past the list's end
};

constexpr std::array<std::string_view, 5> kLsq = {"未用", "不带停止激活的文件传输", "带停止激活的文件传输",
                                                  "不带停止激活的节传输", "带停止激活的节传输"};
constexpr std::array<std::string_view, 4> kQpa = {"未用", "激活/停止激活之前装载的参数",
                                                  "激活/停止激活所寻址信息对象的参数",
                                                  "激活/停止激活持续循环或周期传输所寻址的信息对象"};
constexpr std::array<std::string_view, 3> kQrp = {"未采用或备用", "进程的总复位", "复位事件缓冲区等待处理的带时标的信息"};

constexpr NumberShape kSva{"SVA", "标度化值=", {}, true, true};
constexpr NumberShape kCp16{"CP16", "经过时间=", " ms"};
constexpr NumberShape kTsc{"TSC", "测试序列计数器="};
constexpr NumberShape kNof{"NOF", "文件名称="};
constexpr NumberShape kNos{"NOS", "节名称="};
constexpr NumberShape kLof{"LOF", "文件或节的长度="};
constexpr NumberShape kChs{"CHS", "校验和 CHS="};
constexpr NumberShape kLsqShape{"LSQ", "LSQ=", {}, false, false, kLsq, "备用"};
constexpr NumberShape kQpaShape{"QPA", "QPA=", {}, false, false, kQpa, "备用"};
constexpr NumberShape kQrpShape{"QRP", "QRP=", {}, false, false, kQrp, "未采用或备用"};

const NumberShape* NumberShapeOf(Element element) {
    switch (element) {
        case Element::Sva: return &kSva;
        case Element::Cp16: return &kCp16;
        case Element::Tsc: return &kTsc;
        case Element::Nof: return &kNof;
        case Element::Nos: return &kNos;
        case Element::Lof: return &kLof;
        case Element::Chs: return &kChs;
        case Element::Lsq: return &kLsqShape;
        case Element::Qpa: return &kQpaShape;
        case Element::Qrp: return &kQrpShape;
        default: return nullptr;
    }
}

void Number(Writer& w, const NumberShape& shape, std::span<const std::uint8_t> o) {
    const std::uint32_t raw = LittleEndian(o, 0, o.size());
    const std::int64_t value = shape.signed16 ? static_cast<std::int16_t>(raw) : static_cast<std::int64_t>(raw);
    if (shape.isValue) {
        w.Value(shape.key, value);
        if (std::string* piece = w.Piece()) {
            *piece += shape.key;
            *piece += '=';
            AppendInt(*piece, value);
        }
    } else {
        w.Field(shape.key, value);
    }
    if (shape.names.empty()) {
        w.Text(shape.label);
        w.Int(value);
        w.Text(shape.suffix);
    } else {
        w.Named(shape.label, raw, shape.names, shape.other);
    }
}

// Single, double and regulating step commands: the state, QU and S/E.
struct CommandShape {
    std::string_view state;
    std::uint8_t mask;
    std::array<std::string_view, 4> names;
};
constexpr CommandShape kSco{"SCS", 0x01, {"分 (OFF)", "合 (ON)"}};
constexpr CommandShape kDco{"DCS", 0x03, {"不允许", "分 (OFF)", "合 (ON)", "不允许"}};
constexpr CommandShape kRco{"RCS", 0x03, {"不允许", "降一步", "升一步", "不允许"}};

std::string_view QualifierOfCommand(std::uint8_t qu) {
    switch (qu) {
        case 0: return "无另外的定义";
        case 1: return "短脉冲持续时间";
        case 2: return "长脉冲持续时间";
        case 3: return "持续输出";
        default: return qu < 16 ? "备用" : "特定使用";
    }
}

void Command(Writer& w, const CommandShape& shape, std::uint8_t octet) {
    const auto qu = static_cast<std::uint8_t>((octet >> 2) & 0x1F);
    const bool select = octet & kBitSe;
    const std::uint8_t state = octet & shape.mask;
    w.Value(shape.state, state);
    w.Field("QU", qu);
    w.Bit("S/E", select);
    w.Text(shape.state);
    w.Text("=");
    w.Int(state);
    w.Text(" ");
    w.Text(shape.names[state]);
    w.Text(", QU=");
    w.Int(qu);
    w.Text(" ");
    w.Text(QualifierOfCommand(qu));
    w.Text(select ? ", S/E=1 选择" : ", S/E=0 执行");
    if (std::string* piece = w.Piece()) {
        *piece += shape.state;
        *piece += '=';
        AppendInt(*piece, state);
        *piece += select ? " 选择" : " 执行";
    }
}

void InterrogationQualifier(Writer& w, std::uint8_t qoi) {
    if (qoi >= 21 && qoi <= 36) {
        w.Text("第");
        w.Int(qoi - 20);
        w.Text("组召唤");
        return;
    }
    w.Text(qoi == 20 ? "站召唤(总召唤)" : (qoi == 0 ? "未用" : "备用"));
}

void FileTransfer(Writer& w, Element element, std::uint8_t octet) {
    const auto low = static_cast<std::uint8_t>(octet & 0x0F);
    const auto high = static_cast<std::uint8_t>(octet >> 4);
    static constexpr std::array<std::string_view, 8> kScq = {"缺省", "选择文件", "请求文件", "停止激活文件",
                                                             "删除文件", "选择节", "请求节", "停止激活节"};
    static constexpr std::array<std::string_view, 6> kFileError = {"", "无所请求的存储空间", "校验和错",
                                                                   "非所期望的通信服务", "非所期望的文件名称",
                                                                   "非所期望的节名称"};
    static constexpr std::array<std::string_view, 5> kAfq = {"未用", "文件传输的肯定认可", "文件传输的否定认可",
                                                             "节传输的肯定认可", "节传输的否定认可"};
    const std::string_view key = kHeads[static_cast<std::size_t>(element)];
    w.Field(key, octet);
    w.Text(key);
    w.Text("=");
    switch (element) {
        case Element::Frq:
        case Element::Srq: {
            const bool bs = octet & 0x80;
            w.Int(octet & 0x7F);
            w.Text(bs ? ", BS=1 " : ", BS=0 ");
            if (element == Element::Frq)
                w.Text(bs ? "选择否定确认" : "选择肯定确认");
            else
                w.Text(bs ? "节未准备好" : "节准备就绪");
            return;
        }
        case Element::Scq:
        case Element::Afq:
            w.Named({}, low, element == Element::Scq ? std::span<const std::string_view>(kScq)
                                                     : std::span<const std::string_view>(kAfq),
                    "备用");
            if (high) w.Named(", 错误=", high, kFileError, "备用");
            return;
        default:
            return;
    }
}

}  // namespace

void AppendJsonInt(std::string& out, std::int64_t value) { AppendInt(out, value); }

void AppendJsonReal(std::string& out, double value) {
    // JSON has no NaN or infinity: a float octet pattern that is one reads as null.
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendJsonSingle(std::string& out, float value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendQualityNames(std::string& out, std::uint16_t flags, bool json) {
    bool first = true;
    for (std::size_t i = 0; i < kQualityNames.size(); ++i) {
        if (!(flags & (1u << i))) continue;
        if (!first) out += json ? ',' : ' ';
        first = false;
        if (json) out += '"';
        out += kQualityNames[i];
        if (json) out += '"';
    }
}

void ObjectJson::FlushAfterValue() {
    if (afterPending_) {
        out_ += afterValue_;
        afterPending_ = false;
    }
}

std::string& ObjectJson::Member(std::string_view key, bool isValue) {
    FlushAfterValue();
    if (valueIsObject_) {
        out_ += firstField_ ? '{' : ',';
        firstField_ = false;
    } else if (isValue && !valueDone_) {
        valueDone_ = true;
        afterPending_ = true;
        return out_;
    } else {
        if (!valueDone_) {
            out_ += "null";
            out_ += afterValue_;
            valueDone_ = true;
        }
        out_ += ',';
    }
    AppendJsonString(out_, key);
    out_ += ':';
    return out_;
}

void ObjectJson::Finish() {
    FlushAfterValue();
    if (valueIsObject_) {
        out_ += firstField_ ? "{}" : "}";
        out_ += afterValue_;
    } else if (!valueDone_) {
        out_ += "null";
        out_ += afterValue_;
    }
    out_ += '}';
}

void ExplainElement(Element element, std::span<const std::uint8_t> o, ElementOutput& output) {
    Writer w(output);
    const std::uint8_t octet = o[0];
    if (output.line) {
        std::string& line = *output.line;
        line += element == Element::Cp56 && output.timeSeen ? "CP56Time2a (结束)"
                                                            : kHeads[static_cast<std::size_t>(element)];
        line += " [";
        AppendHexOctets(line, element == Element::Segment ? o.first(1) : o);
        line += "]: ";
    }
    if (const NumberShape* shape = NumberShapeOf(element)) {
        Number(w, *shape, o);
        return;
    }
    switch (element) {
        case Element::Siq: {
            const int spi = octet & 0x01;
            w.Value("SPI", spi);
            w.Quality(octet, false, false);
            w.Text(spi ? "SPI=1 合 (ON)," : "SPI=0 分 (OFF),");
            w.QualityText(octet, false, false);
            w.Summary(spi ? "SPI=1 合" : "SPI=0 分");
            return;
        }
        case Element::Diq:
        case Element::Sep: {
            // A double point, or a protection event's state with its elapsed-time bit.
            const bool event = element == Element::Sep;
            const int state = octet & 0x03;
            w.Value(event ? "ES" : "DPI", state);
            w.Quality(octet, false, event);
            w.Text(event ? "事件状态 ES=" : "DPI=");
            w.Int(state);
            w.Text(" ");
            w.Text(kDoublePoint[static_cast<std::size_t>(state)]);
            w.Text(",");
            w.QualityText(octet, false, event);
            w.Summary(event ? "ES=" : "DPI=", state);
            return;
        }
        case Element::Vti: {
            // Seven-bit two's complement: -64 to +63.
            const int value = (octet & 0x40) ? (octet & 0x7F) - 128 : (octet & 0x3F);
            const bool transient = octet & 0x80;
            w.Value("VTI", value);
            w.Bit("T", transient);
            w.Text("步位置=");
            w.Int(value);
            w.Text(transient ? ", T=1 设备在瞬变状态" : ", T=0 设备未在瞬变状态");
            w.Summary("步位置=", value);
            return;
        }
        case Element::Qds:
        case Element::Qdp: {
            const bool qds = element == Element::Qds;
            w.Quality(octet, qds, !qds);
            w.Text("品质:");
            w.QualityText(octet, qds, !qds);
            return;
        }
        case Element::Bsi: {
            const std::uint32_t bits = LittleEndian(o, 0, 4);
            w.Value("BSI", bits);
            w.Text("32比特串=0x");
            w.Hex16(bits >> 16);
            w.Hex16(bits);
            w.Text(" (");
            w.Int(bits);
            w.Text(")");
            w.Summary("BSI=", bits);
            return;
        }
        case Element::Nva: {
            const auto raw = static_cast<std::int16_t>(LittleEndian(o, 0, 2));
            const double fraction = raw / 32768.0;
            w.Value("NVA", raw);
            w.FieldReal("fraction", fraction);
            w.Text("归一化值=");
            w.Int(raw);
            if (output.line) {
                char buffer[32];
                *output.line += " (";
                output.line->append(buffer, std::to_chars(buffer, buffer + sizeof buffer, fraction).ptr);
                *output.line += ')';
            }
            w.Summary("NVA=", raw);
            return;
        }
        case Element::Float: {
            const float value = std::bit_cast<float>(LittleEndian(o, 0, 4));
            w.ValueSingle("IEEE754", value);
            char buffer[32];
            const std::string_view text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
            w.Text("短浮点数=");
            w.Text(text);
            if (std::string* piece = w.Piece()) {
                *piece += "值=";
                *piece += text;
            }
            return;
        }
        case Element::Bcr: {
            const auto counter = static_cast<std::int32_t>(LittleEndian(o, 0, 4));
            const std::uint8_t flags = o[4];
            w.Value("BCR", counter);
            w.Field("SQ", flags & 0x1F);
            if (flags & 0x20) w.AddQuality(kQualityCy);
            if (flags & 0x40) w.AddQuality(kQualityCa);
            if (flags & 0x80) w.AddQuality(kQualityIv);
            w.Text("计数量读数=");
            w.Int(counter);
            w.Text(", 顺序号 SQ=");
            w.Int(flags & 0x1F);
            w.Flag("CY", flags & 0x20);
            w.Flag("CA", flags & 0x40);
            w.Flag("IV", flags & 0x80);
            w.Summary("BCR=", counter);
            return;
        }
        case Element::Spe:
        case Element::Oci: {
            const bool start = element == Element::Spe;
            static constexpr std::array<std::string_view, 6> kStart = {"GS", "SL1", "SL2", "SL3", "SIE", "SRD"};
            static constexpr std::array<std::string_view, 4> kOutput = {"GC", "CL1", "CL2", "CL3"};
            const std::span<const std::string_view> names = start ? std::span<const std::string_view>(kStart)
                                                                  : std::span<const std::string_view>(kOutput);
            w.Value(kHeads[static_cast<std::size_t>(element)], octet);
            w.Text(start ? "启动事件:" : "输出电路:");
            for (std::size_t bit = 0; bit < names.size(); ++bit) {
                w.Bit(names[bit], octet & (1u << bit));
                w.Flag(names[bit], octet & (1u << bit));
            }
            if (std::string* piece = w.Piece()) {
                *piece += start ? "SPE=0x" : "OCI=0x";
                AppendHexByte(*piece, octet);
            }
            return;
        }
        case Element::Scd: {
            const std::uint32_t st = LittleEndian(o, 0, 2);
            const std::uint32_t cd = LittleEndian(o, 2, 2);
            w.Value("ST", st);
            w.Field("CD", cd);
            w.Text("状态 ST=0x");
            w.Hex16(st);
            w.Text(", 变位检出 CD=0x");
            w.Hex16(cd);
            w.Summary("ST=", st);
            return;
        }
        case Element::Cp24:
            w.Time(element, o);
            w.Text(" (分:秒.毫秒)");
            w.Flag("IV", o[2] & 0x80);
            return;
        case Element::Cp56:
            w.Time(element, o);
            w.Text(" ");
            w.Text(kWeekdays[o[4] >> 5]);
            w.Flag("SU", o[3] & 0x80);
            w.Flag("IV", o[2] & 0x80);
            return;
        case Element::Sco: Command(w, kSco, octet); return;
        case Element::Dco: Command(w, kDco, octet); return;
        case Element::Rco: Command(w, kRco, octet); return;
        case Element::Qos: {
            const bool select = octet & kBitSe;
            w.Field("QL", octet & 0x7F);
            w.Bit("S/E", select);
            w.Text("QL=");
            w.Int(octet & 0x7F);
            w.Text(select ? ", S/E=1 选择" : ", S/E=0 执行");
            return;
        }
        case Element::Qoi:
            w.Value("QOI", octet);
            w.Text("召唤限定词=");
            w.Int(octet);
            w.Text(" ");
            InterrogationQualifier(w, octet);
            w.Summary("QOI=", octet);
            return;
        case Element::Qcc: {
            const int rqt = octet & 0x3F;
            const int frz = octet >> 6;
            static constexpr std::array<std::string_view, 4> kFrz = {"读 (不冻结, 不复位)", "冻结不带复位",
                                                                     "冻结带复位", "计数量复位"};
            w.Field("RQT", rqt);
            w.Field("FRZ", frz);
            w.Text("RQT=");
            w.Int(rqt);
            if (rqt >= 1 && rqt <= 4) {
                w.Text(" 请求第");
                w.Int(rqt);
                w.Text("组计数量");
            } else {
                w.Text(rqt == 5 ? " 总的请求计数量" : (rqt == 0 ? " 未采用" : " 备用"));
            }
            w.Named(", FRZ=", static_cast<std::uint32_t>(frz), kFrz, {});
            return;
        }
        case Element::Qpm: {
            const auto kpa = static_cast<std::uint32_t>(octet & 0x3F);
            static constexpr std::array<std::string_view, 5> kKpa = {"未用", "门限值", "平滑系数(滤波时间常数)",
                                                                     "传送测量值的下限", "传送测量值的上限"};
            w.Field("KPA", kpa);
            w.Bit("LPC", octet & 0x40);
            w.Bit("POP", octet & 0x80);
            w.Named("KPA=", kpa, kKpa, "备用");
            w.Text((octet & 0x40) ? ", LPC=1 改变" : ", LPC=0 未改变");
            w.Text((octet & 0x80) ? ", POP=1 未运行" : ", POP=0 运行");
            return;
        }
        case Element::Coi: {
            const auto cause = static_cast<std::uint32_t>(octet & 0x7F);
            static constexpr std::array<std::string_view, 3> kCoi = {"当地电源合上", "当地手动复位", "远方复位"};
            w.Field("COI", cause);
            w.Bit("BS", octet & 0x80);
            w.Named("初始化原因=", cause, kCoi, "备用");
            w.Text((octet & 0x80) ? ", BS=1 改变当地参数后的初始化" : ", BS=0 未改变当地参数的初始化");
            w.Summary("COI=", cause);
            return;
        }
        case Element::Fbp: {
            const std::uint32_t value = LittleEndian(o, 0, 2);
            w.Field("FBP", value);
            w.Text("固定测试图像=0x");
            w.Hex16(value);
            w.Text(value == 0x55AA ? " (正确)" : " (应为 0x55AA)");
            return;
        }
        case Element::Segment: {
            const std::span<const std::uint8_t> data = o.subspan(1);
            w.Field("LOS", octet);
            w.Text("段的长度=");
            w.Int(octet);
            w.Text(", 段数据: ");
            if (output.line) AppendHexOctets(*output.line, data);
            w.FieldHex("segment", data);
            return;
        }
        case Element::Frq: case Element::Srq: case Element::Scq: case Element::Afq:
            FileTransfer(w, element, octet);
            return;
        case Element::Sof:
            w.Field("SOF", octet);
            w.Text("STATUS=");
            w.Int(octet & 0x1F);
            w.Flag("LFD", octet & 0x20);
            w.Flag("FOR", octet & 0x40);
            w.Flag("FA", octet & 0x80);
            return;
        default:
            return;
    }
}

}  // namespace tc101
