#include "files/scramble.h"

#include <algorithm>

namespace tc101 {

std::string ScrambleText(std::string_view text, unsigned char key, bool reverse) {
    std::string result(text);
    if (reverse) std::reverse(result.begin(), result.end());
    for (char& c : result) c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
    return result;
}

}  // namespace tc101
