#include "protocol/explain/frame_explanation.h"
#include "protocol/explain/explanation_text.h"
#include "protocol/frame.h"

namespace tc101 {

namespace {

// The frame search of the analyser, with the fixed frame's length following
// the link address size (10 C A.. CS 16).
bool FindFrame(std::span<const std::uint8_t> buffer, std::size_t from, std::size_t linkAddress, std::size_t& start,
               std::size_t& size) {
    const std::size_t fixedSize = 4 + linkAddress;
    const std::size_t total = buffer.size();
    for (std::size_t j = from; j < total; ++j) {
        switch (buffer[j]) {
            case kFixedStart:
                if (total - j >= fixedSize && buffer[j + fixedSize - 1] == kFrameEnd) {
                    start = j;
                    size = fixedSize;
                    return true;
                }
                break;
            case kVariableStart: {
                if (total - j < kVariableFrameOverhead) break;
                const std::size_t length = buffer[j + kVarLengthOffset];
                const std::size_t frameSize = length + kVariableFrameOverhead;
                if (total - j >= frameSize && buffer[j + kVarLengthRepeatOffset] == length &&
                    buffer[j + kVarStartRepeatOffset] == kVariableStart && buffer[j + frameSize - 1] == kFrameEnd) {
                    start = j;
                    size = frameSize;
                    return true;
                }
                break;
            }
            case kSingleChar:
                start = j;
                size = 1;
                return true;
            default:
                break;
        }
    }
    return false;
}

}  // namespace

std::vector<FrameExplanation> ExplainFrames(std::span<const std::uint8_t> burst, const ExplainOptions& options) {
    std::vector<FrameExplanation> frames;
    const auto linkAddress = static_cast<std::size_t>(options.sizes.linkAddress);
    std::size_t start = 0;
    std::size_t size = 0;
    for (std::size_t from = 0; FindFrame(burst, from, linkAddress, start, size); from = start + size) {
        frames.push_back(ExplainFrame(burst.subspan(start, size), options));
        frames.back().start = start;
    }
    return frames;
}

}  // namespace tc101

namespace tc101 {

std::vector<std::string> ExplanationUnderAccount(std::span<const std::uint8_t> burst, std::size_t accountLines,
                                                 const ExplainOptions& options) {
    std::vector<std::string> blocks(accountLines);
    if (accountLines == 0) return blocks;
    const std::vector<FrameExplanation> frames = ExplainFrames(burst, options);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (i < accountLines)
            AppendExplanationText(blocks[i], frames[i]);
        else
            AppendFrameExplanationText(blocks.back(), frames[i], 1);
    }
    return blocks;
}

std::string ExplanationJsonLine(const FrameExplanation& frame, std::string_view dir, std::string_view time) {
    std::string out;
    // About what a frame of table values writes, so the line seldom grows.
    out.reserve(64 + frame.octets.size() * 20);
    if (dir.empty() && time.empty()) {
        AppendExplanationJson(out, frame);
        return out;
    }
    out += '{';
    if (!dir.empty()) {
        out += "\"dir\":";
        AppendJsonString(out, dir);
        out += ',';
    }
    if (!time.empty()) {
        out += "\"time\":";
        AppendJsonString(out, time);
        out += ',';
    }
    // The frame's own object without its opening brace.
    const std::size_t brace = out.size();
    AppendExplanationJson(out, frame);
    out.erase(brace, 1);
    return out;
}

}  // namespace tc101
