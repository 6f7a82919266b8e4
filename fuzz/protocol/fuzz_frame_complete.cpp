// EndsInCompleteFrames on any block and link address size, with the block
// copied to its own allocation so a read past the end is caught.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/frame_complete.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::vector<std::uint8_t> block(data + 1, data + size);
    (void)tc101::EndsInCompleteFrames(block, data[0] % 4 - 1);  // -1 to 2: one size outside the allowed ones
    return 0;
}
