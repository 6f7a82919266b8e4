#include "zip_reader.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace tc101::testing {

namespace {

constexpr uint32_t kEndOfDirectory = 0x06054b50;
constexpr uint32_t kDirectoryEntry = 0x02014b50;
constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kEntrySize = 46;
constexpr size_t kLocalHeaderSize = 30;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;

class Bytes {
public:
    explicit Bytes(std::string data) : data_(std::move(data)) {}
    size_t Size() const { return data_.size(); }
    uint32_t At(size_t offset, size_t width) const {
        if (offset + width > data_.size()) throw std::runtime_error("zip: read past the end");
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(data_[offset + i])) << (8 * i);
        return value;
    }
    std::string Slice(size_t offset, size_t length) const {
        if (offset + length > data_.size()) throw std::runtime_error("zip: member past the end");
        return data_.substr(offset, length);
    }

private:
    std::string data_;
};

std::string Inflate(const std::string& packed, size_t size) {
    std::string out(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw std::runtime_error("zip: inflateInit2");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    if (result != Z_STREAM_END || stream.total_out != size) throw std::runtime_error("zip: bad deflate data");
    return out;
}

}  // namespace

std::map<std::string, std::string> ReadZip(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("zip: cannot open " + file.string());
    std::string data(static_cast<size_t>(std::filesystem::file_size(file)), '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    const Bytes zip(std::move(data));

    if (zip.Size() < kEndRecordSize) throw std::runtime_error("zip: too short");
    size_t end = zip.Size() - kEndRecordSize;
    while (zip.At(end, 4) != kEndOfDirectory) {
        if (end == 0) throw std::runtime_error("zip: no end record");
        --end;
    }
    const size_t count = zip.At(end + 10, 2);
    size_t entry = zip.At(end + 16, 4);

    std::map<std::string, std::string> members;
    for (size_t i = 0; i < count; ++i) {
        if (zip.At(entry, 4) != kDirectoryEntry) throw std::runtime_error("zip: bad directory entry");
        const auto method = static_cast<uint16_t>(zip.At(entry + 10, 2));
        const size_t packedSize = zip.At(entry + 20, 4);
        const size_t size = zip.At(entry + 24, 4);
        const size_t nameLength = zip.At(entry + 28, 2);
        const size_t extraLength = zip.At(entry + 30, 2);
        const size_t commentLength = zip.At(entry + 32, 2);
        const size_t local = zip.At(entry + 42, 4);
        const std::string name = zip.Slice(entry + kEntrySize, nameLength);

        if (zip.At(local, 4) != kLocalHeader) throw std::runtime_error("zip: bad local header for " + name);
        const size_t dataStart = local + kLocalHeaderSize + zip.At(local + 26, 2) + zip.At(local + 28, 2);
        const std::string packed = zip.Slice(dataStart, packedSize);
        if (method == kStored)
            members[name] = packed;
        else if (method == kDeflated)
            members[name] = Inflate(packed, size);
        else
            throw std::runtime_error("zip: unknown method for " + name);
        entry += kEntrySize + nameLength + extraLength + commentLength;
    }
    return members;
}

}  // namespace tc101::testing
