#include "traffic/send_message.h"

#include "protocol/hex_text.h"

namespace tc101 {

namespace {
// Two digits and one separator per octet; the last octet has no separator.
constexpr std::size_t kCharsPerOctet = 3;
constexpr int kFirstDataRow = 1;
}  // namespace

std::size_t MessageOctetCount(std::string_view content) { return (content.size() + 1) / kCharsPerOctet; }

std::string MessageTooLongText(std::size_t octets) {
    return "报文太长：一条报文最多" + std::to_string(kMaxMessageOctets) + "个字节，这条有" + std::to_string(octets) +
           "个字节。";
}

OutgoingMessage PrepareMessage(std::string_view content) {
    OutgoingMessage message{TidyHexText(content), {}};
    const std::size_t count = MessageOctetCount(message.text);
    if (count > kMaxMessageOctets) throw EMessageTooLong(MessageTooLongText(count));
    message.octets = HexTextToBytes(message.text);
    return message;
}

int NextSendRow(int row, int rowCount) { return row + 1 < rowCount ? row + 1 : kFirstDataRow; }

}  // namespace tc101
