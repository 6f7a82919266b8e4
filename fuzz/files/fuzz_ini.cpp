// The INI reader and writer over any file bytes: no crash, and a value just
// written reads back while another section's value stays as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto other = tc101::ini::FindValue(bytes, "bwset", "grdShort");
    if (other) (void)tc101::ini::ParseInteger(*other);

    const auto updated = tc101::ini::SetValue(bytes, "YcYxDef", "YcUseByte", "遥测 4");
    if (tc101::ini::FindValue(updated, "ycyxdef", "YCUSEBYTE") != "遥测 4") std::abort();
    if (tc101::ini::FindValue(updated, "bwset", "grdShort") != other) std::abort();
    return 0;
}
