#include "serial/ui/integer_text.h"

#include <limits>

#include <QString>

#include "files/ini_text.h"
#include "protocol/hex_text.h"

namespace tc101 {

std::int32_t StrToInt(const QString& text) {
    const std::string utf8 = text.toStdString();
    const auto value = ini::ParseInteger(utf8);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max()) {
        throw ConvertError("'" + utf8 + "' is not a valid integer value");
    }
    return static_cast<std::int32_t>(*value);
}

}  // namespace tc101
