#pragma once

// The link profile options analyse, poll, send, outstation and demo share:
// --profile, --decoding, --common-address, --originator, --yx-base,
// --yc-base, --mode and the balanced link's settings. Each one given replaces the stored value of comset.ini
// (section Profile) for this run only; nothing is written back.

#include <string_view>

#include "app/console/args.h"
#include "protocol/link_profile.h"

namespace tc101::console {

// For a usage line.
inline constexpr std::string_view kProfileOptionsSynopsis =
    "[--profile LA/COT/CA/IOA] [--decoding legacy|standard] [--common-address N]\n"
    "            [--originator N] [--yx-base N] [--yc-base N] [--mode unbalanced|balanced]\n"
    "            [--other-address N] [--e5-ack] [--test-period MS] [--repeat-timeout MS] [--retries N]";

// For a --help text: one line per option, then where the unset ones come from.
inline constexpr std::string_view kProfileOptionsHelp =
    "  --profile LA/COT/CA/IOA  octets of the link address (1 or 2), cause of\n"
    "                     transmission (1 or 2), common address (1 or 2) and\n"
    "                     information object address (1 to 3), e.g. 2/2/2/3\n"
    "  --decoding D       information objects read by the legacy rules (by position,\n"
    "                     one address octet picks the row) or the standard ones\n"
    "                     (SQ, VSQ number and each type's layout honoured)\n"
    "  --common-address N\n"
    "                     common address of the ASDU (default: the device address)\n"
    "  --originator N     originator address, the second cause octet, 0 to 255\n"
    "  --yx-base N        standard decoding: object address of GrdYX's first row (1)\n"
    "  --yc-base N        standard decoding: object address of GrdYC's first row\n"
    "                     (0x4001); bases are decimal or 0x hexadecimal\n"
    "  --mode M           link procedure: unbalanced (the master polls) or balanced\n"
    "                     (both stations primary; link address 0, 1 or 2 octets)\n"
    "  --other-address N  balanced: link address of the outstation's own frames and\n"
    "                     of the answers to them (default: the device address)\n"
    "  --e5-ack           balanced: acknowledge with the single character E5\n"
    "  --test-period MS   balanced: idle time before a test of the link (10000; 0 never)\n"
    "  --repeat-timeout MS\n"
    "                     balanced: time an answer may take before a repeat (1000)\n"
    "  --retries N        balanced: repeats before the link counts as lost (3)\n"
    "  Profile options not given come from comset.ini (section Profile), as the main\n"
    "  window's dialog \"规约参数\" stores them; without it the profile is 1/1/1/2 legacy.\n";

// Takes the options out of args over the given profile.
LinkProfile TakeProfileOptions(Args& args, LinkProfile stored);
// Over the profile stored in comset.ini; a stored value that cannot be used
// is named on standard error and its default taken.
LinkProfile TakeProfileOptions(Args& args);

}  // namespace tc101::console
