#include "protocol/decoding_settings.h"

namespace tc101 {

std::uint8_t YcUseByte = kDefaultYcUseByte;
std::uint8_t YxUseByte = kDefaultYxUseByte;

}  // namespace tc101
