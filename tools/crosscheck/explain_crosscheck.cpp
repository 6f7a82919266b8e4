// explain_crosscheck [FOLDER]: generates frames of every standard type under
// every field size profile (link 1|2, cause 1|2, common address 1|2, object
// address 1|2|3), writes one capture per profile, has tshark decode it and
// compares type, cause, common address, object addresses and values with
// the explanation. Prints each disagreement and a summary; exit 1 on any.

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "files/file_io.h"
#include "protocol/explain/frame_explanation.h"
#include "protocol/explain/type_table.h"
#include "protocol/frame.h"
#include "protocol/hex_text.h"
#include "traffic/pcapng.h"

namespace tc101 {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& out, std::uint32_t value, int octets) {
    for (int i = 0; i < octets; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    std::uint32_t Below(std::uint32_t limit) { return static_cast<std::uint32_t>(random_() % limit); }

    void Element(Bytes& out, Element element) {
        switch (element) {
            case Element::Cp56:
                Put(out, Below(60000), 2);
                out.push_back(static_cast<std::uint8_t>(Below(60)));
                out.push_back(static_cast<std::uint8_t>(Below(24)));
                out.push_back(static_cast<std::uint8_t>((1 + Below(31)) | (Below(8) << 5)));
                out.push_back(static_cast<std::uint8_t>(1 + Below(12)));
                out.push_back(static_cast<std::uint8_t>(Below(100)));
                return;
            case Element::Cp24:
                Put(out, Below(60000), 2);
                out.push_back(static_cast<std::uint8_t>(Below(60)));
                return;
            case Element::Float: {
                const auto value = static_cast<float>((static_cast<double>(random_()) / random_.max() - 0.5) * 2e5);
                Put(out, std::bit_cast<std::uint32_t>(value), 4);
                return;
            }
            case Element::Segment: {
                const std::uint32_t length = Below(5);
                out.push_back(static_cast<std::uint8_t>(length));
                for (std::uint32_t i = 0; i < length; ++i) out.push_back(static_cast<std::uint8_t>(random_()));
                return;
            }
            default:
                for (int i = 0; i < ElementSize(element); ++i) out.push_back(static_cast<std::uint8_t>(random_()));
        }
    }

    Bytes Frame(const FieldSizes& sizes, const TypeInfo& type, bool sequence) {
        const std::uint32_t count = sequence ? 3 : 2;
        Bytes user{static_cast<std::uint8_t>(0x08 | (Below(2) << 5))};
        Put(user, 1 + Below(sizes.linkAddress == 2 ? 65000 : 254), sizes.linkAddress);
        user.push_back(type.ti);
        user.push_back(static_cast<std::uint8_t>(count | (sequence ? kVsqSequenceMask : 0)));
        user.push_back(static_cast<std::uint8_t>((1 + Below(47)) | (Below(4) << 6)));
        if (sizes.cause == 2) user.push_back(static_cast<std::uint8_t>(Below(256)));
        Put(user, 1 + Below(sizes.commonAddress == 2 ? 65000 : 254), sizes.commonAddress);
        const std::uint32_t ioaLimit = sizes.objectAddress == 3 ? 0xFFFF00 : (sizes.objectAddress == 2 ? 0xFF00 : 0xF0);
        for (std::uint32_t k = 0; k < count; ++k) {
            if (!sequence || k == 0) Put(user, Below(ioaLimit), sizes.objectAddress);
            for (const tc101::Element element : type.elements) Element(user, element);
        }
        const auto length = static_cast<std::uint8_t>(user.size());
        Bytes frame{kVariableStart, length, length, kVariableStart};
        // One octet at a time: GCC 12 at -O2 misreads an insert after a short list as an overflow.
        for (const std::uint8_t octet : user) frame.push_back(octet);
        frame.push_back(FrameChecksum(frame, 4, static_cast<int>(frame.size()) - 1));
        frame.push_back(kFrameEnd);
        return frame;
    }

private:
    std::mt19937 random_;
};

// The tshark field that holds a type's value, and where our JSON has it.
struct ValueField {
    std::string_view tshark;
    std::string_view member;  // in "value" (an object) or empty: "value" itself
    bool real = false;
};

ValueField ValueFieldOf(std::uint8_t ti) {
    switch (ti) {
        case 1: case 2: case 30: return {"iec60870_asdu.siq.spi", ""};
        case 3: case 4: case 31: return {"iec60870_asdu.diq.dpi", ""};
        case 5: case 6: case 32: return {"iec60870_asdu.vti.v", ""};
        case 7: case 8: case 33: return {"iec60870_asdu.bitstring", ""};
        case 51: case 64: return {"iec60870_asdu.bitstring", "BSI"};
        case 9: case 10: case 21: case 34: return {"iec60870_asdu.normval", "fraction", true};
        case 48: case 61: case 110: return {"iec60870_asdu.normval", "fraction", true};
        case 11: case 12: case 35: return {"iec60870_asdu.scalval", ""};
        case 49: case 62: case 111: return {"iec60870_asdu.scalval", "SVA"};
        case 13: case 14: case 36: return {"iec60870_asdu.float", "", true};
        case 50: case 63: case 112: return {"iec60870_asdu.float", "IEEE754", true};
        case 15: case 16: case 37: return {"iec60870_asdu.bcr.count", ""};
        case 45: case 58: return {"iec60870_asdu.sco.on", "SCS"};
        case 46: case 59: return {"iec60870_asdu.dco.on", "DCS"};
        case 47: case 60: return {"iec60870_asdu.rco.up", "RCS"};
        case 70: return {"iec60870_asdu.coi_r", "COI"};
        case 100: return {"iec60870_asdu.qoi", "QOI"};
        case 101: return {"iec60870_asdu.rqt", "RQT"};
        case 105: return {"iec60870_asdu.qrp", "QRP"};
        default: return {};
    }
}

constexpr std::string_view kValueFields[] = {
    "iec60870_asdu.siq.spi", "iec60870_asdu.diq.dpi", "iec60870_asdu.vti.v",    "iec60870_asdu.bitstring",
    "iec60870_asdu.normval", "iec60870_asdu.scalval", "iec60870_asdu.float",    "iec60870_asdu.bcr.count",
    "iec60870_asdu.sco.on",  "iec60870_asdu.dco.on",  "iec60870_asdu.rco.up",   "iec60870_asdu.coi_r",
    "iec60870_asdu.qoi",     "iec60870_asdu.rqt",     "iec60870_asdu.qrp"};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

std::string Number(const JsonValue& value) {
    switch (value.GetKind()) {
        case JsonValue::Kind::Int: return std::to_string(value.AsInt());
        case JsonValue::Kind::Float: return value.Dump();
        default: return "?";
    }
}

bool SameNumber(const std::string& ours, const std::string& theirs, bool real) {
    if (!real) return ours == theirs;
    try {
        const double a = std::stod(ours);
        const double b = std::stod(theirs);
        // tshark prints six significant digits.
        return std::fabs(a - b) <= 5e-6 * std::max(1e-3, std::fabs(a));
    } catch (const std::exception&) {
        return false;
    }
}

// Columns: type, cause, common address, object addresses, raw data, expert messages, then the values.
constexpr std::size_t kFirstValueColumn = 6;

struct Tally {
    int frames = 0;
    int disagreements = 0;
    std::map<int, int> objectsUndecoded;  // types whose objects tshark leaves as raw data
    std::map<std::string, int> shortAsdu;  // profile: complete frames tshark calls short
    int bitStrings = 0;                    // read with the octets the other way round
};

// tshark shows a bit string as hex with the first octet highest: the standard
// puts bit 1 in the first octet's lowest bit, as every other field is low
// octet first.
std::string SwappedHex(const std::string& number) {
    const std::uint32_t value = static_cast<std::uint32_t>(std::stoull(number));
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", __builtin_bswap32(value));
    return text;
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : ",") + item;
    return out;
}

void CompareProfile(const FieldSizes& sizes, const std::filesystem::path& folder, Generator& generator, Tally& tally) {
    std::vector<Bytes> frames;
    for (int ti = 0; ti < 256; ++ti) {
        const TypeInfo* type = FindType(static_cast<std::uint8_t>(ti));
        if (!type) continue;
        frames.push_back(generator.Frame(sizes, *type, false));
        // A sequence of elements; none for the file transfer types (a segment has no fixed length)
        // or for the read command (nothing to put in sequence).
        if (ti < 120 && !type->elements.empty()) frames.push_back(generator.Frame(sizes, *type, true));
    }
    std::vector<CaptureEntry> entries;
    for (const Bytes& frame : frames)
        entries.push_back(CaptureEntry{CaptureDirection::Received, std::chrono::system_clock::now(), frame});
    const std::filesystem::path file = folder / ("corpus-" + std::to_string(sizes.linkAddress) +
                                                 std::to_string(sizes.cause) + std::to_string(sizes.commonAddress) +
                                                 std::to_string(sizes.objectAddress) + ".pcapng");
    WriteFileAtomically(file.string(), EncodePcapng(entries, "crosscheck"));

    std::string command = "tshark -r '" + file.string() + "' " + TsharkDecodeOptions(sizes) +
                          " -T fields -E separator=/t -e iec60870_asdu.typeid -e iec60870_asdu.causetx"
                          " -e iec60870_asdu.addr -e iec60870_asdu.ioa -e iec60870_asdu.rawdata -e _ws.expert.message";
    for (std::string_view field : kValueFields) command += " -e " + std::string(field);
    command += " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run tshark");
    std::vector<std::string> lines;
    char buffer[65536];
    std::string line;
    while (std::fgets(buffer, sizeof buffer, pipe)) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            lines.push_back(line);
            line.clear();
        }
    }
    pclose(pipe);
    if (lines.size() != frames.size())
        throw std::runtime_error("tshark decoded " + std::to_string(lines.size()) + " frames of " +
                                 std::to_string(frames.size()) + " (is it installed?)");

    const ExplainOptions options{sizes, false};
    for (std::size_t i = 0; i < frames.size(); ++i) {
        ++tally.frames;
        const FrameExplanation ours = ExplainFrame(frames[i], options);
        const JsonValue json = ours.Json();
        const JsonValue& asdu = *json.Find("asdu");
        const std::vector<std::string> theirs = Split(lines[i], '\t');
        const auto field = [&](std::size_t n) { return n < theirs.size() ? theirs[n] : std::string(); };
        std::vector<std::string> problems;
        const auto ti = static_cast<std::uint8_t>(asdu.Find("ti")->AsInt());
        if (field(0) != std::to_string(ti)) problems.push_back("type " + field(0));
        if (field(1) != std::to_string(asdu.Find("cot")->AsInt())) problems.push_back("cause " + field(1));
        if (field(2) != std::to_string(asdu.Find("ca")->AsInt())) problems.push_back("common address " + field(2));
        std::vector<std::string> ioas;
        std::vector<std::string> values;
        const ValueField valueField = ValueFieldOf(ti);
        for (const JsonValue& object : asdu.Find("objects")->Items()) {
            ioas.push_back(std::to_string(object.Find("ioa")->AsInt()));
            if (valueField.tshark.empty()) continue;
            const JsonValue& value = *object.Find("value");
            if (valueField.member.empty())
                values.push_back(Number(value));
            else if (value.GetKind() == JsonValue::Kind::Object)
                values.push_back(Number(*value.Find(valueField.member)));
            else  // monitor types keep the normalised fraction beside the raw value
                values.push_back(Number(*object.Find(valueField.member)));
        }
        const bool shortAsdu = field(5).find("Short Asdu") != std::string::npos;
        std::vector<std::string> theirIoas = Split(field(3), ',');
        if (shortAsdu) {
            // tshark gave up after the objects it showed: compare those.
            ++tally.shortAsdu[FieldSizesText(sizes)];
            if (ioas.size() > theirIoas.size()) ioas.resize(theirIoas.size());
            if (values.size() > theirIoas.size()) values.resize(theirIoas.size());
        }
        if (!field(4).empty()) {
            ++tally.objectsUndecoded[ti];
        } else {
            if (Join(theirIoas) != Join(ioas)) problems.push_back("object addresses " + field(3) + " / ours " + Join(ioas));
            if (valueField.tshark == "iec60870_asdu.bitstring") {
                ++tally.bitStrings;
                for (std::string& value : values) value = SwappedHex(value);
            }
            if (!valueField.tshark.empty()) {
                std::size_t column = kFirstValueColumn;
                while (kValueFields[column - kFirstValueColumn] != valueField.tshark) ++column;
                const std::vector<std::string> theirValues = Split(field(column), ',');
                bool same = theirValues.size() == values.size();
                for (std::size_t k = 0; same && k < values.size(); ++k)
                    same = SameNumber(values[k], theirValues[k], valueField.real);
                if (!same) problems.push_back("values " + field(column) + " / ours " + Join(values));
            }
        }
        if (!problems.empty()) {
            ++tally.disagreements;
            std::cout << FieldSizesText(sizes) << " TI " << int(ti) << " " << BytesToHexText(frames[i]) << ":";
            for (const auto& problem : problems) std::cout << " [" << problem << "]";
            std::cout << '\n';
        }
    }
}

}  // namespace
}  // namespace tc101

int main(int argc, char** argv) {
    using namespace tc101;
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    Generator generator(60870);
    Tally tally;
    try {
        for (int la : {1, 2})
            for (int cot : {1, 2})
                for (int ca : {1, 2})
                    for (int ioa : {1, 2, 3}) CompareProfile(FieldSizes{la, cot, ca, ioa}, folder, generator, tally);
    } catch (const std::exception& error) {
        std::cerr << "explain_crosscheck: " << error.what() << '\n';
        return 2;
    }
    std::cout << "frames: " << tally.frames << ", profiles: 24, disagreements: " << tally.disagreements << '\n';
    std::cout << "bit strings compared with their octets swapped (tshark reads them first octet high): "
              << tally.bitStrings << '\n';
    if (!tally.shortAsdu.empty()) {
        std::cout << "complete frames tshark calls \"Short Asdu\" (compared on the objects it shows), by profile:";
        for (const auto& [profile, count] : tally.shortAsdu) std::cout << ' ' << profile << ':' << count;
        std::cout << '\n';
    }
    if (!tally.objectsUndecoded.empty()) {
        std::cout << "types whose objects tshark does not decode (compared on type, cause, common address):";
        for (const auto& [ti, count] : tally.objectsUndecoded) std::cout << ' ' << ti;
        std::cout << '\n';
    }
    return tally.disagreements == 0 ? 0 : 1;
}
