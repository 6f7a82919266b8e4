#pragma once

// The send list's side of sending: the octets of a content text, the limit
// on their number, and the walk through the list.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tc101 {

// Octets of one send-list message at most.
inline constexpr std::size_t kMaxMessageOctets = 1024;

// A content text longer than the limit; the message is the user's.
class EMessageTooLong : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// (length + 1) / 3: how many octets a canonical content text stands for.
std::size_t MessageOctetCount(std::string_view content);

// A send-list message ready for the line.
struct OutgoingMessage {
    std::string text;                  // the canonical hex text of the octets, for the "Tx:" line
    std::vector<std::uint8_t> octets;
};

// The content text tidied (TidyHexText: canonical text stays as it is) and its
// octets. Throws HexTextError for a text that cannot be tidied, and
// EMessageTooLong when the tidied text stands for more than the limit.
OutgoingMessage PrepareMessage(std::string_view content);

// "报文太长：一条报文最多1024个字节，这条有N个字节。"
std::string MessageTooLongText(std::size_t octets);

// The row selected after sending from row with "是否循环(&R)" ticked: the next
// data row, and row 1 after the last. rowCount includes the title row.
int NextSendRow(int row, int rowCount);

}  // namespace tc101
