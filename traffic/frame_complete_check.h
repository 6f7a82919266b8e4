#pragma once

// The serial component's early block end for frame-complete delivery: a
// block of whole frames with the profile's link address size goes up at once.

#include "serial/comm.h"

namespace tc101 {

// On: the check for frames with `linkOctets` link address octets; off: none.
TComm::BlockEndCheck FrameCompleteCheck(bool on, int linkOctets);

}  // namespace tc101
