#include "files/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "files/utf8.h"

namespace tc101 {

namespace {

constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";      // U+FFFD
constexpr std::string_view kGb18030Replacement = "\x84\x31\xA4\x37";  // U+FFFD
constexpr std::string_view kUtf8Euro = "\xE2\x82\xAC";
constexpr std::string_view kCp936Euro = "\x80";
constexpr unsigned char kFirstNonAscii = 0x80;

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < kFirstNonAscii; });
}

// What stands in for input a converter cannot take, and how many bytes of it to skip.
struct Fix {
    std::string_view replacement;
    std::size_t skip;
};

// A malformed sequence is skipped one byte at a time; a well-formed one the
// converter cannot map (none is known) as a whole.
Fix ReplaceBadUtf8(std::string_view rest) {
    return {kGb18030Replacement, std::max<std::size_t>(1, Utf8SequenceLength(rest))};
}

// One iconv conversion descriptor, closed with its owner.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv has no GB18030 converter");
    }
    ~Converter() { ::iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts everything; at an input it cannot take, appends what
    // onError(rest) gives and skips as many bytes as it says.
    template <typename OnError>
    std::string Convert(std::string_view input, OnError onError) {
        std::string output(input.size() * 2 + 8, '\0');
        std::size_t used = 0;
        char* in = const_cast<char*>(input.data());  // iconv's signature; it does not write there
        std::size_t inLeft = input.size();
        while (inLeft > 0) {
            char* out = output.data() + used;
            std::size_t outLeft = output.size() - used;
            const std::size_t result = ::iconv(cd_, &in, &inLeft, &out, &outLeft);
            used = output.size() - outLeft;
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                output.resize(output.size() * 2);
                continue;
            }
            // EILSEQ, or EINVAL for a sequence cut off at the end.
            const auto [replacement, skip] = onError(std::string_view(in, inLeft));
            if (output.size() - used < replacement.size()) output.resize(output.size() * 2 + replacement.size());
            output.replace(used, replacement.size(), replacement);
            used += replacement.size();
            const std::size_t skipped = std::min(inLeft, skip);
            in += skipped;
            inLeft -= skipped;
        }
        output.resize(used);
        return output;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    if (IsAscii(gbk)) return std::string(gbk);
    Converter converter("UTF-8", "GB18030");
    return converter.Convert(gbk, [](std::string_view rest) {
        return Fix{rest.front() == kCp936Euro.front() ? kUtf8Euro : kUtf8Replacement, 1};
    });
}

std::string Utf8ToGbk(std::string_view utf8) {
    if (IsAscii(utf8)) return std::string(utf8);
    Converter converter("GB18030", "UTF-8");
    // The euro sign goes out as Windows' single byte, which GB18030 readers also take.
    std::string gbk;
    for (auto euro = utf8.find(kUtf8Euro); euro != std::string_view::npos; euro = utf8.find(kUtf8Euro)) {
        gbk += converter.Convert(utf8.substr(0, euro), ReplaceBadUtf8);
        gbk += kCp936Euro;
        utf8.remove_prefix(euro + kUtf8Euro.size());
    }
    return gbk + converter.Convert(utf8, ReplaceBadUtf8);
}

}  // namespace tc101
