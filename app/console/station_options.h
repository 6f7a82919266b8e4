#pragma once

// The simulator's options that outstation and demo share: --yx, --yc,
// --change-every, --event-every, --seed, --strict-fcb, --single-char-ack, and
// in balanced mode --drop-ack, --silence-at, --silence-for.

#include "app/console/args.h"
#include "outstation/station_config.h"

namespace tc101::console {

// Takes the options out of args over the given configuration.
StationConfig TakeStationOptions(Args& args, StationConfig config);

}  // namespace tc101::console
