#pragma once

#include <cstdint>

namespace tc101 {

// What the analyser learnt from a reply; it steers the master simulation's
// next request (stored by the main window as NextRequest).
enum class PollVerdict : std::uint8_t { None = 0, Class1Waiting = 1, NoClass1Waiting = 2, LinkReady = 3 };

}  // namespace tc101
