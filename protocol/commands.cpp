#include "protocol/commands.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <utility>

#include "protocol/frame.h"
#include "protocol/frame_layout.h"
#include "protocol/frame_search.h"
#include "protocol/requests.h"

namespace tc101 {

namespace {

constexpr std::uint8_t kSelectBit = 0x80;       // S/E of SCO, DCO and QOS
constexpr std::uint8_t kQuMask = 0x1F;          // QU, bits 2..6 of SCO/DCO
constexpr int kQuShift = 2;
constexpr std::uint8_t kQlMask = 0x7F;          // QL of QOS
constexpr std::uint8_t kDcsMask = 0x03;
constexpr std::uint8_t kCauseDeactivation = 8;
constexpr double kNormalisedScale = 32768.0;
constexpr std::uint8_t kCommandControl = kPrmMask | kFcvDfcMask | primary::kUserDataConfirmed;

constexpr std::pair<std::string_view, CommandType> kTypeNames[] = {
    {"sc", CommandType::Single},           {"dc", CommandType::Double},
    {"se-nva", CommandType::SetNormalised}, {"se-sva", CommandType::SetScaled},
    {"se-float", CommandType::SetFloat},   {"ci", CommandType::CounterInterrogation},
    {"rd", CommandType::Read},             {"cs", CommandType::ClockSync},
    {"ts", CommandType::Test},             {"rp", CommandType::ResetProcess},
};

std::uint8_t Octet(double value, int low, int high) {
    return static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(value)), low, high));
}

std::int16_t Int16(double value) {
    return static_cast<std::int16_t>(std::clamp<long>(std::lround(value), INT16_MIN, INT16_MAX));
}

void AppendElement(std::vector<std::uint8_t>& asdu, const CommandRequest& request, CommandStep step) {
    const bool select = step != CommandStep::Execute;
    const auto se = static_cast<std::uint8_t>(select ? kSelectBit : 0);
    const auto qu = static_cast<std::uint8_t>((request.qualifier & kQuMask) << kQuShift);
    const auto qos = static_cast<std::uint8_t>(se | (request.qualifier & kQlMask));
    switch (request.type) {
        case CommandType::Single:
            asdu.push_back(static_cast<std::uint8_t>(se | qu | (request.value != 0 ? 1 : 0)));
            return;
        case CommandType::Double:
            asdu.push_back(static_cast<std::uint8_t>(se | qu | (Octet(request.value, 0, 3) & kDcsMask)));
            return;
        case CommandType::SetNormalised:
            AppendLittleEndian(asdu, static_cast<std::uint16_t>(Int16(request.value * kNormalisedScale)), 2);
            asdu.push_back(qos);
            return;
        case CommandType::SetScaled:
            AppendLittleEndian(asdu, static_cast<std::uint16_t>(Int16(request.value)), 2);
            asdu.push_back(qos);
            return;
        case CommandType::SetFloat:
            AppendLittleEndian(asdu, std::bit_cast<std::uint32_t>(static_cast<float>(request.value)), 4);
            asdu.push_back(qos);
            return;
        case CommandType::CounterInterrogation:
        case CommandType::ResetProcess:
            asdu.push_back(Octet(request.value, 0, 255));
            return;
        case CommandType::Read:
            return;
        case CommandType::ClockSync: {
            const std::vector<std::uint8_t> time = Cp56Octets(request.time);
            asdu.insert(asdu.end(), time.begin(), time.end());
            return;
        }
        case CommandType::Test:
            AppendLittleEndian(asdu, kTestPattern, 2);
            return;
    }
}

}  // namespace

std::optional<CommandType> ParseCommandType(std::string_view name) {
    for (const auto& [text, type] : kTypeNames)
        if (text == name) return type;
    return std::nullopt;
}

std::string_view CommandTypeName(CommandType type) {
    switch (type) {
        case CommandType::Single: return "单点遥控";
        case CommandType::Double: return "双点遥控";
        case CommandType::SetNormalised: return "设定值(归一化)";
        case CommandType::SetScaled: return "设定值(标度化)";
        case CommandType::SetFloat: return "设定值(浮点)";
        case CommandType::CounterInterrogation: return "电度召唤";
        case CommandType::Read: return "读命令";
        case CommandType::ClockSync: return "对时";
        case CommandType::Test: return "测试命令";
        case CommandType::ResetProcess: return "复位进程";
    }
    return "";
}

bool SelectBeforeOperate(CommandType type) {
    switch (type) {
        case CommandType::Single:
        case CommandType::Double:
        case CommandType::SetNormalised:
        case CommandType::SetScaled:
        case CommandType::SetFloat:
            return true;
        default:
            return false;
    }
}

std::string_view CommandStepName(CommandType type, CommandStep step) {
    switch (step) {
        case CommandStep::Select: return "选择";
        case CommandStep::Cancel: return "撤销";
        case CommandStep::Execute: return SelectBeforeOperate(type) ? "执行" : "激活";
    }
    return "";
}

std::vector<std::uint8_t> Cp56Octets(const Cp56Time& time) {
    std::vector<std::uint8_t> octets;
    AppendLittleEndian(octets, static_cast<std::uint32_t>(time.millisecond), 2);
    octets.push_back(static_cast<std::uint8_t>(time.minute & 0x3F));
    octets.push_back(static_cast<std::uint8_t>(time.hour & 0x1F));
    octets.push_back(static_cast<std::uint8_t>(((time.weekday & 0x07) << 5) | (time.day & 0x1F)));
    octets.push_back(static_cast<std::uint8_t>(time.month & 0x0F));
    octets.push_back(static_cast<std::uint8_t>((time.year - 2000) & 0x7F));
    return octets;
}

Cp56Time ReadCp56(std::span<const std::uint8_t> octets) {
    Cp56Time time;
    time.millisecond = static_cast<int>(ReadLittleEndian(octets, 0, 2));
    time.minute = octets[2] & 0x3F;
    time.hour = octets[3] & 0x1F;
    time.day = octets[4] & 0x1F;
    time.weekday = octets[4] >> 5;
    time.month = octets[5] & 0x0F;
    time.year = 2000 + (octets[6] & 0x7F);
    return time;
}

std::vector<std::uint8_t> BuildCommandAsdu(const CommandRequest& request, CommandStep step,
                                           std::uint32_t commonAddress, const LinkProfile& profile) {
    const FieldSizes& sizes = profile.sizes;
    std::uint8_t cause = step == CommandStep::Cancel ? kCauseDeactivation : kCauseActivation;
    if (request.type == CommandType::Read) cause = kCauseRequested;
    std::vector<std::uint8_t> asdu{static_cast<std::uint8_t>(request.type), kSingleObject, cause};
    if (sizes.cause > 1) asdu.push_back(profile.originator);
    AppendLittleEndian(asdu, commonAddress, sizes.commonAddress);
    AppendLittleEndian(asdu, request.objectAddress, sizes.objectAddress);
    AppendElement(asdu, request, step);
    return asdu;
}

std::vector<std::uint8_t> BuildCommandFrame(const CommandRequest& request, CommandStep step, std::int64_t address,
                                            const LinkProfile& profile) {
    const std::vector<std::uint8_t> asdu = BuildCommandAsdu(request, step, CommonAddressOf(address, profile), profile);
    return BuildVariableFrame(kCommandControl, LinkAddressOf(address, profile), profile.sizes.linkAddress, asdu);
}

std::optional<CommandReply> ReadCommandReply(std::span<const std::uint8_t> asdu, const CommandRequest& request,
                                             std::uint32_t commonAddress, const LinkProfile& profile) {
    const FieldSizes& sizes = profile.sizes;
    const auto common = static_cast<std::size_t>(2 + sizes.cause);
    const auto object = common + static_cast<std::size_t>(sizes.commonAddress);
    if (asdu.size() < object + static_cast<std::size_t>(sizes.objectAddress)) return std::nullopt;
    if (ReadLittleEndian(asdu, common, sizes.commonAddress) != commonAddress) return std::nullopt;
    if (ReadLittleEndian(asdu, object, sizes.objectAddress) != request.objectAddress) return std::nullopt;
    CommandReply reply;
    reply.negative = (asdu[2] & kCauseNegativeMask) != 0;
    reply.cause = asdu[2] & kCauseMask;
    if (asdu[0] != static_cast<std::uint8_t>(request.type)) {
        // A read is answered by the object itself.
        if (request.type != CommandType::Read || reply.cause != kCauseRequested || reply.negative) return std::nullopt;
        reply.kind = ReplyKind::Data;
        return reply;
    }
    switch (reply.cause) {
        case kCauseActivationConfirm: reply.kind = ReplyKind::ActivationConfirm; return reply;
        case kCauseDeactivationConfirm: reply.kind = ReplyKind::DeactivationConfirm; return reply;
        case kCauseActivationTermination: reply.kind = ReplyKind::Termination; return reply;
        default:
            // A negative reply with any other cause (44 .. 47) answers the step.
            if (!reply.negative) return std::nullopt;
            reply.kind = ReplyKind::ActivationConfirm;
            return reply;
    }
}

std::vector<std::vector<std::uint8_t>> AsdusOf(std::span<const std::uint8_t> block, const LinkProfile& profile) {
    const FrameLayout layout = LayoutOf(profile.sizes);
    std::vector<std::vector<std::uint8_t>> units;
    std::size_t from = 0;
    while (auto found = FindNextFrame(block, from, layout)) {
        from = found->start + found->size;
        if (found->kind != FrameKind::Variable) continue;
        const auto first = found->start + static_cast<std::size_t>(layout.varType);
        const auto last = found->start + found->size - 2;
        if (first < last) units.emplace_back(block.begin() + static_cast<std::ptrdiff_t>(first),
                                             block.begin() + static_cast<std::ptrdiff_t>(last));
    }
    return units;
}

}  // namespace tc101
