// 报文详解 on any burst under a random profile: the frame search, the
// explanation of every frame, its text and its JSON line, which must be
// well-formed JSON. The same octets also go through as one complete variable
// frame, so the ASDU decoding sees them whatever the search finds.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/explain/explanation_text.h"
#include "protocol/explain/frame_explanation.h"
#include "protocol/frame.h"

namespace {

// A recursive-descent check of RFC 8259 syntax; the position after the value, or npos.
class JsonCheck {
public:
    explicit JsonCheck(std::string_view text) : text_(text) {}
    bool Whole() { return Value() && pos_ == text_.size(); }

private:
    bool Value() {
        if (++depth_ > 64 || pos_ >= text_.size()) return false;
        bool ok = false;
        switch (text_[pos_]) {
            case '{': ok = Container('}', true); break;
            case '[': ok = Container(']', false); break;
            case '"': ok = String(); break;
            case 't': ok = Word("true"); break;
            case 'f': ok = Word("false"); break;
            case 'n': ok = Word("null"); break;
            default: ok = Number();
        }
        --depth_;
        return ok;
    }
    bool Container(char close, bool object) {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == close) return ++pos_, true;
        for (;;) {
            if (object) {
                if (pos_ >= text_.size() || text_[pos_] != '"' || !String()) return false;
                if (pos_ >= text_.size() || text_[pos_++] != ':') return false;
            }
            if (!Value()) return false;
            if (pos_ >= text_.size()) return false;
            const char c = text_[pos_++];
            if (c == close) return true;
            if (c != ',') return false;
        }
    }
    bool String() {
        for (++pos_; pos_ < text_.size(); ++pos_) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c < 0x20) return false;
            if (c == '"') return ++pos_, true;
            if (c == '\\') {
                if (++pos_ >= text_.size()) return false;
                if (text_[pos_] == 'u') {
                    if (pos_ + 4 >= text_.size()) return false;
                    pos_ += 4;
                } else if (std::string_view("\"\\/bfnrt").find(text_[pos_]) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }
    bool Number() {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        std::size_t digits = 0;
        while (pos_ < text_.size() && std::string_view("0123456789.eE+-").find(text_[pos_]) != std::string_view::npos)
            ++pos_, ++digits;
        return digits > 0 && pos_ > start;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

void Check(const tc101::FrameExplanation& frame) {
    const std::string line = tc101::ExplanationJsonLine(frame, "rx", "2026-12-08T12:00:00.000");
    if (!JsonCheck(line).Whole() || line.find('\n') != std::string::npos) __builtin_trap();
    std::string text;
    tc101::AppendExplanationText(text, frame);
    const tc101::ExplainNode tree = frame.Tree();
    tc101::AppendExplanationTree(text, tree);
    if (tree.text.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t p = data[0];
    tc101::ExplainOptions options;
    options.sizes = tc101::FieldSizes{p % 3, 1 + (p >> 2) % 2, 1 + (p >> 3) % 2, 1 + (p >> 4) % 3};
    options.balanced = (p & 0x80) != 0;
    const std::span<const std::uint8_t> burst(data + 1, size - 1);
    for (const tc101::FrameExplanation& frame : tc101::ExplainFrames(burst, options)) {
        if (frame.start + frame.size > burst.size()) __builtin_trap();
        Check(frame);
    }
    // The octets as the user data of one variable frame (at most 255 of them).
    if (!burst.empty()) {
        const std::size_t length = burst.size() < 255 ? burst.size() : 255;
        std::vector<std::uint8_t> frame{tc101::kVariableStart, static_cast<std::uint8_t>(length),
                                        static_cast<std::uint8_t>(length), tc101::kVariableStart};
        frame.insert(frame.end(), burst.begin(), burst.begin() + static_cast<std::ptrdiff_t>(length));
        frame.push_back(0);
        frame.push_back(tc101::kFrameEnd);
        Check(tc101::ExplainFrame(frame, options));
    }
    return 0;
}
