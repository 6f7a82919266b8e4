#pragma once

// The control direction: command data units (single and double commands,
// set-points, counter interrogation, read, clock synchronisation, test and
// reset process) in a profile's field sizes, the user-data frame that
// carries one, and the reading of the outstation's confirmations.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/link_profile.h"

namespace tc101 {

enum class CommandType : std::uint8_t {
    Single = 45,         // C_SC_NA_1
    Double = 46,         // C_DC_NA_1
    SetNormalised = 48,  // C_SE_NA_1
    SetScaled = 49,      // C_SE_NB_1
    SetFloat = 50,       // C_SE_NC_1
    CounterInterrogation = 101,
    Read = 102,
    ClockSync = 103,
    Test = 104,
    ResetProcess = 105,
};

// sc, dc, se-nva, se-sva, se-float, ci, rd, cs, ts, rp.
std::optional<CommandType> ParseCommandType(std::string_view name);
// "单点遥控", "双点遥控", "设定值(归一化)" … as the log names them.
std::string_view CommandTypeName(CommandType type);
// Commands that go select then execute; the others are one activation.
bool SelectBeforeOperate(CommandType type);

enum class CommandStep : std::uint8_t { Select, Execute, Cancel };
// "选择", "执行", "撤销"; a command without select: "激活" for execute.
std::string_view CommandStepName(CommandType type, CommandStep step);

// CP56Time2a as sent: local time with its date.
struct Cp56Time {
    int year = 2000;  // 2000 .. 2099
    int month = 1;
    int day = 1;
    int weekday = 0;  // 1 Monday .. 7 Sunday, 0 not used
    int hour = 0;
    int minute = 0;
    int millisecond = 0;  // within the minute, 0 .. 59999
};

inline constexpr std::uint16_t kTestPattern = 0xAA55;

struct CommandRequest {
    CommandType type = CommandType::Single;
    // Zero for the station-wide ones (ci, cs, ts, rp).
    std::uint32_t objectAddress = 0;
    // The state (sc 0/1, dc 1 off / 2 on), the set-point, or QCC / QRP.
    double value = 0;
    // QU of SCO/DCO or QL of QOS.
    std::uint8_t qualifier = 0;
    Cp56Time time;
};

// Type, qualifier, cause (6 activation, 8 for cancel; 5 for read), common
// address, object address and element.
std::vector<std::uint8_t> BuildCommandAsdu(const CommandRequest& request, CommandStep step,
                                           std::uint32_t commonAddress, const LinkProfile& profile);
// User data with confirm (FCV set, FCB clear: the poll cycle sets it) to the link address.
std::vector<std::uint8_t> BuildCommandFrame(const CommandRequest& request, CommandStep step, std::int64_t address,
                                            const LinkProfile& profile);

std::vector<std::uint8_t> Cp56Octets(const Cp56Time& time);
Cp56Time ReadCp56(std::span<const std::uint8_t> octets);

enum class ReplyKind : std::uint8_t { ActivationConfirm, DeactivationConfirm, Termination, Data };
struct CommandReply {
    ReplyKind kind = ReplyKind::ActivationConfirm;
    bool negative = false;
    std::uint8_t cause = 0;  // without the P/N and test bits
};

// The reading of one received ASDU for a command: of its type and object
// address (read: any type answered with cause 5), common address checked;
// nothing for an ASDU that does not belong to it.
std::optional<CommandReply> ReadCommandReply(std::span<const std::uint8_t> asdu, const CommandRequest& request,
                                             std::uint32_t commonAddress, const LinkProfile& profile);
// The ASDUs of every variable frame in a received block.
std::vector<std::vector<std::uint8_t>> AsdusOf(std::span<const std::uint8_t> block, const LinkProfile& profile);

}  // namespace tc101
