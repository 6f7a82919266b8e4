#pragma once

// A session capture as a pcapng file that Wireshark and tshark read: link
// type 250 (RTAC serial), each frame behind the 12-octet record header that
// carries its moment and whether it was sent or received, the same direction
// also in the packet's flags.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/field_sizes.h"
#include "traffic/frame_capture.h"

namespace tc101 {

inline constexpr std::uint16_t kLinkTypeRtacSerial = 250;

// Raised for bytes that are not a capture this program can read; the message says why.
class CaptureFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole file: section header, one interface named after the port, a packet per entry.
std::string EncodePcapng(std::span<const CaptureEntry> entries, std::string_view portName);
template <typename Entries>
std::string EncodePcapng(const Entries& entries, std::string_view portName) {
    const std::vector<CaptureEntry> copy(entries.begin(), entries.end());
    return EncodePcapng(std::span<const CaptureEntry>(copy), portName);
}

// The entries of a file EncodePcapng wrote (or any pcapng of RTAC serial
// records, either byte order); records that are neither data sent nor data
// received are skipped. Throws CaptureFormatError.
std::vector<CaptureEntry> DecodePcapng(std::string_view bytes);

// The tshark options that decode the frames as IEC 60870-5-101 with these field sizes.
std::string TsharkDecodeOptions(const FieldSizes& sizes);

}  // namespace tc101
