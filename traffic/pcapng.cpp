#include "traffic/pcapng.h"

#include <limits>

namespace tc101 {

namespace {

constexpr std::uint32_t kSectionHeader = 0x0A0D0D0A;
constexpr std::uint32_t kInterfaceDescription = 1;
constexpr std::uint32_t kEnhancedPacket = 6;
constexpr std::uint32_t kByteOrderMagic = 0x1A2B3C4D;
constexpr std::uint32_t kByteOrderMagicSwapped = 0x4D3C2B1A;  // a big-endian writer
constexpr std::uint16_t kOptionEnd = 0;
constexpr std::uint16_t kOptionUserApplication = 4;  // in the section header
constexpr std::uint16_t kOptionInterfaceName = 2;
constexpr std::uint16_t kOptionTimeResolution = 9;
constexpr std::uint16_t kOptionPacketFlags = 2;
constexpr std::uint32_t kFlagInbound = 1;
constexpr std::uint32_t kFlagOutbound = 2;
constexpr std::uint32_t kDirectionMask = 3;
constexpr std::size_t kBlockOverhead = 12;  // type, length, trailing length

// The RTAC serial record before each frame: seconds and microseconds (big
// endian), the event, the control lines, a two-octet footer.
constexpr std::size_t kRecordHeaderSize = 12;
constexpr std::uint8_t kEventDataSent = 1;      // DATA_TX_START
constexpr std::uint8_t kEventDataReceived = 2;  // DATA_RX_START
constexpr std::uint8_t kEventDataSentEnd = 3;
constexpr std::uint8_t kEventDataReceivedEnd = 4;

constexpr std::int64_t kMicrosPerSecond = 1'000'000;

class Writer {
public:
    void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v) {
        for (int i = 0; i < 2; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void U32Big(std::uint32_t v) {
        for (int i = 3; i >= 0; --i) U8(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Bytes(std::string_view bytes) { out_ += bytes; }
    void Pad() {
        while (out_.size() % 4 != 0) U8(0);
    }
    void Option(std::uint16_t code, std::string_view value) {
        U16(code);
        U16(static_cast<std::uint16_t>(value.size()));
        Bytes(value);
        Pad();
    }
    // Opens a block; Close() writes its length in both places.
    std::size_t Open(std::uint32_t type) {
        const std::size_t start = out_.size();
        U32(type);
        U32(0);
        return start;
    }
    void Close(std::size_t start) {
        const auto length = static_cast<std::uint32_t>(out_.size() - start + 4);
        U32(length);
        for (int i = 0; i < 4; ++i) out_[start + 4 + i] = static_cast<char>(length >> (8 * i));
    }
    std::string Take() { return std::move(out_); }

private:
    std::string out_;
};

std::string LittleEndian32(std::uint32_t v) {
    std::string text(4, '\0');
    for (int i = 0; i < 4; ++i) text[i] = static_cast<char>(v >> (8 * i));
    return text;
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    void SetBigEndian(bool big) { big_ = big; }
    bool BigEndian() const { return big_; }
    std::size_t Size() const { return bytes_.size(); }
    std::uint8_t U8(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }
    std::uint16_t U16(std::size_t at) const {
        return big_ ? static_cast<std::uint16_t>(U8(at) << 8 | U8(at + 1))
                    : static_cast<std::uint16_t>(U8(at + 1) << 8 | U8(at));
    }
    std::uint32_t U32(std::size_t at) const { return big_ ? U32Big(at) : U32Little(at); }
    std::uint32_t U32Big(std::size_t at) const {
        return std::uint32_t{U8(at)} << 24 | std::uint32_t{U8(at + 1)} << 16 | std::uint32_t{U8(at + 2)} << 8 |
               U8(at + 3);
    }
    std::uint32_t U32Little(std::size_t at) const {
        return std::uint32_t{U8(at + 3)} << 24 | std::uint32_t{U8(at + 2)} << 16 | std::uint32_t{U8(at + 1)} << 8 |
               U8(at);
    }
    std::string_view Bytes(std::size_t at, std::size_t count) const { return bytes_.substr(at, count); }

private:
    std::string_view bytes_;
    bool big_ = false;
};

struct Interface {
    std::uint16_t linkType = 0;
    std::int64_t unitsPerSecond = kMicrosPerSecond;
};

// Units per second of an if_tsresol value: a power of ten or, with the top bit, of two.
std::int64_t TimeUnits(std::uint8_t resolution) {
    const int exponent = resolution & 0x7F;
    const bool binary = (resolution & 0x80) != 0;
    if (exponent > (binary ? 62 : 18)) throw CaptureFormatError("unsupported time resolution");
    std::int64_t units = 1;
    for (int i = 0; i < exponent; ++i) units *= binary ? 2 : 10;
    return units;
}

Interface ReadInterface(const Reader& in, std::size_t body, std::size_t end) {
    Interface face;
    face.linkType = in.U16(body);
    for (std::size_t at = body + 8; at + 4 <= end;) {
        const std::uint16_t code = in.U16(at);
        const std::uint16_t length = in.U16(at + 2);
        if (code == kOptionEnd) break;
        if (at + 4 + length > end) throw CaptureFormatError("an interface option runs past its block");
        if (code == kOptionTimeResolution && length >= 1) face.unitsPerSecond = TimeUnits(in.U8(at + 4));
        at += 4 + ((length + 3u) & ~3u);
    }
    return face;
}

std::chrono::system_clock::time_point StampTime(std::uint64_t stamp, std::int64_t unitsPerSecond) {
    const auto units = static_cast<std::int64_t>(stamp);
    const std::int64_t seconds = units / unitsPerSecond;
    const std::int64_t rest = units % unitsPerSecond;
    const auto micros = rest * kMicrosPerSecond / unitsPerSecond;
    return std::chrono::system_clock::time_point(std::chrono::seconds(seconds) + std::chrono::microseconds(micros));
}

}  // namespace

std::string EncodePcapng(std::span<const CaptureEntry> entries, std::string_view portName) {
    Writer out;
    const std::size_t section = out.Open(kSectionHeader);
    out.U32(kByteOrderMagic);
    out.U16(1);
    out.U16(0);
    out.U32(std::numeric_limits<std::uint32_t>::max());  // section length unknown: -1
    out.U32(std::numeric_limits<std::uint32_t>::max());
    out.Option(kOptionUserApplication, "tc101tool");
    out.Option(kOptionEnd, {});
    out.Close(section);

    const std::size_t face = out.Open(kInterfaceDescription);
    out.U16(kLinkTypeRtacSerial);
    out.U16(0);
    out.U32(0);  // no snapshot limit
    if (!portName.empty()) out.Option(kOptionInterfaceName, portName);
    out.Option(kOptionEnd, {});
    out.Close(face);

    for (const CaptureEntry& entry : entries) {
        const auto micros =
            std::chrono::duration_cast<std::chrono::microseconds>(entry.time.time_since_epoch()).count();
        const auto stamp = static_cast<std::uint64_t>(micros);
        const bool sent = entry.direction == CaptureDirection::Sent;
        const auto length = static_cast<std::uint32_t>(kRecordHeaderSize + entry.octets.size());
        const std::size_t packet = out.Open(kEnhancedPacket);
        out.U32(0);
        out.U32(static_cast<std::uint32_t>(stamp >> 32));
        out.U32(static_cast<std::uint32_t>(stamp));
        out.U32(length);
        out.U32(length);
        out.U32Big(static_cast<std::uint32_t>(micros / kMicrosPerSecond));
        out.U32Big(static_cast<std::uint32_t>(micros % kMicrosPerSecond));
        out.U8(sent ? kEventDataSent : kEventDataReceived);
        out.U8(0);   // control lines: not known on this side of the driver
        out.U16(0);  // footer
        out.Bytes({reinterpret_cast<const char*>(entry.octets.data()), entry.octets.size()});
        out.Pad();
        out.Option(kOptionPacketFlags, LittleEndian32(sent ? kFlagOutbound : kFlagInbound));
        out.Option(kOptionEnd, {});
        out.Close(packet);
    }
    return out.Take();
}

std::vector<CaptureEntry> DecodePcapng(std::string_view bytes) {
    Reader in(bytes);
    if (bytes.size() < 28 || in.U32Little(0) != kSectionHeader) throw CaptureFormatError("not a pcapng capture");
    std::vector<Interface> interfaces;
    std::vector<CaptureEntry> entries;
    for (std::size_t at = 0; at < in.Size();) {
        if (in.Size() - at < kBlockOverhead) throw CaptureFormatError("the capture is cut short");
        const std::uint32_t type = in.U32Little(at) == kSectionHeader ? kSectionHeader : in.U32(at);
        if (type == kSectionHeader) {
            const std::uint32_t magic = in.U32Little(at + 8);
            if (magic != kByteOrderMagic && magic != kByteOrderMagicSwapped)
                throw CaptureFormatError("a section header has no byte-order magic");
            in.SetBigEndian(magic != kByteOrderMagic);
            interfaces.clear();
        }
        const std::uint32_t length = in.U32(at + 4);
        if (length < kBlockOverhead || length % 4 != 0 || length > in.Size() - at || in.U32(at + length - 4) != length)
            throw CaptureFormatError("a block at offset " + std::to_string(at) + " is damaged or cut short");
        const std::size_t body = at + 8;
        const std::size_t end = at + length - 4;
        if (type == kInterfaceDescription) {
            if (end - body < 8) throw CaptureFormatError("an interface block is too short");
            interfaces.push_back(ReadInterface(in, body, end));
        } else if (type == kEnhancedPacket) {
            if (end - body < 20) throw CaptureFormatError("a packet block is too short");
            const std::uint32_t face = in.U32(body);
            if (face >= interfaces.size()) throw CaptureFormatError("a packet names an interface that is not there");
            if (interfaces[face].linkType != kLinkTypeRtacSerial)
                throw CaptureFormatError("the capture's link type is " + std::to_string(interfaces[face].linkType) +
                                         ", not " + std::to_string(kLinkTypeRtacSerial) + " (RTAC serial)");
            const std::uint64_t stamp = std::uint64_t{in.U32(body + 4)} << 32 | in.U32(body + 8);
            const std::uint32_t captured = in.U32(body + 12);
            if (captured > end - body - 20) throw CaptureFormatError("a packet runs past its block");
            if (captured < kRecordHeaderSize) throw CaptureFormatError("a packet has no RTAC serial header");
            const std::size_t data = body + 20;
            const std::uint8_t event = in.U8(data + 8);
            CaptureEntry entry;
            if (event == kEventDataSent || event == kEventDataSentEnd) {
                entry.direction = CaptureDirection::Sent;
            } else if (event == kEventDataReceived || event == kEventDataReceivedEnd) {
                entry.direction = CaptureDirection::Received;
            } else {
                at += length;
                continue;
            }
            entry.time = StampTime(stamp, interfaces[face].unitsPerSecond);
            const std::string_view frame = in.Bytes(data + kRecordHeaderSize, captured - kRecordHeaderSize);
            entry.octets.assign(frame.begin(), frame.end());
            entries.push_back(std::move(entry));
        }
        at += length;
    }
    return entries;
}

std::string TsharkDecodeOptions(const FieldSizes& sizes) {
    return "-d rtacser.data,iec60870_101 -o iec60870_101.linkaddr_len:" + std::to_string(sizes.linkAddress) +
           " -o iec60870_101.cot_len:" + std::to_string(sizes.cause) +
           " -o iec60870_101.asdu_addr_len:" + std::to_string(sizes.commonAddress) +
           " -o iec60870_101.asdu_ioa_len:" + std::to_string(sizes.objectAddress);
}

}  // namespace tc101
