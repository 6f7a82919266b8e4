#include <gtest/gtest.h>

#include "protocol/commands.h"
#include "protocol/hex_text.h"

namespace tc101 {
namespace {

LinkProfile Wide() {
    LinkProfile profile;
    profile.sizes = {2, 2, 2, 3};
    profile.originator = 3;
    return profile;
}

CommandRequest Request(CommandType type, std::uint32_t ioa, double value, std::uint8_t qualifier = 0) {
    CommandRequest request;
    request.type = type;
    request.objectAddress = ioa;
    request.value = value;
    request.qualifier = qualifier;
    return request;
}

struct AsduCase {
    CommandRequest request;
    CommandStep step;
    bool wide;
    const char* asdu;
};

TEST(CommandAsduTest, EachTypeInBothProfiles) {
    CommandRequest clock = Request(CommandType::ClockSync, 0, 0);
    clock.time = {2026, 12, 8, 2, 14, 5, 30250};
    const AsduCase cases[] = {
        {Request(CommandType::Single, 0x6001, 1), CommandStep::Select, false, "2D 01 06 01 01 60 81"},
        {Request(CommandType::Single, 0x6001, 1, 1), CommandStep::Execute, false, "2D 01 06 01 01 60 05"},
        {Request(CommandType::Single, 0x6001, 1), CommandStep::Cancel, false, "2D 01 08 01 01 60 81"},
        {Request(CommandType::Single, 0x6001, 0), CommandStep::Select, true, "2D 01 06 03 01 00 01 60 00 80"},
        {Request(CommandType::Double, 0x6002, 2, 2), CommandStep::Select, false, "2E 01 06 01 02 60 8A"},
        {Request(CommandType::Double, 0x6002, 1), CommandStep::Execute, true, "2E 01 06 03 01 00 02 60 00 01"},
        {Request(CommandType::SetNormalised, 0x6201, 0.5), CommandStep::Select, false, "30 01 06 01 01 62 00 40 80"},
        {Request(CommandType::SetNormalised, 0x6201, -1), CommandStep::Execute, true,
         "30 01 06 03 01 00 01 62 00 00 80 00"},
        {Request(CommandType::SetScaled, 0x6201, -2, 5), CommandStep::Execute, false, "31 01 06 01 01 62 FE FF 05"},
        {Request(CommandType::SetScaled, 0x6201, 70000), CommandStep::Select, true,
         "31 01 06 03 01 00 01 62 00 FF 7F 80"},  // held to the scaled range
        {Request(CommandType::SetFloat, 0x6201, 1.5), CommandStep::Execute, false, "32 01 06 01 01 62 00 00 C0 3F 00"},
        {Request(CommandType::CounterInterrogation, 0, 5), CommandStep::Execute, false, "65 01 06 01 00 00 05"},
        {Request(CommandType::CounterInterrogation, 0, 0x45), CommandStep::Execute, true,
         "65 01 06 03 01 00 00 00 00 45"},
        {Request(CommandType::Read, 1, 0), CommandStep::Execute, false, "66 01 05 01 01 00"},
        {clock, CommandStep::Execute, false, "67 01 06 01 00 00 2A 76 05 0E 48 0C 1A"},
        {clock, CommandStep::Execute, true, "67 01 06 03 01 00 00 00 00 2A 76 05 0E 48 0C 1A"},
        {Request(CommandType::Test, 0, 0), CommandStep::Execute, false, "68 01 06 01 00 00 55 AA"},
        {Request(CommandType::ResetProcess, 0, 1), CommandStep::Execute, true, "69 01 06 03 01 00 00 00 00 01"},
    };
    for (const auto& c : cases) {
        const LinkProfile profile = c.wide ? Wide() : LinkProfile{};
        EXPECT_EQ(BytesToHexText(BuildCommandAsdu(c.request, c.step, 1, profile)), c.asdu)
            << static_cast<int>(c.request.type) << (c.wide ? " 2/2/2/3" : " 1/1/1/2");
    }
}

TEST(CommandAsduTest, FramesAreUserDataWithConfirmInTheProfile) {
    const CommandRequest sc = Request(CommandType::Single, 0x6001, 1);
    EXPECT_EQ(BytesToHexText(BuildCommandFrame(sc, CommandStep::Select, 1, {})),
              "68 09 09 68 53 01 2D 01 06 01 01 60 81 6B 16");
    EXPECT_EQ(BytesToHexText(BuildCommandFrame(sc, CommandStep::Select, 0x0102, Wide())),
              "68 0D 0D 68 53 02 01 2D 01 06 03 02 01 01 60 00 81 72 16");
    const Cp56Time time{2031, 2, 28, 5, 23, 59, 59999};
    EXPECT_EQ(ReadCp56(Cp56Octets(time)).millisecond, 59999);
    EXPECT_EQ(ReadCp56(Cp56Octets(time)).year, 2031);
    EXPECT_EQ(ReadCp56(Cp56Octets(time)).weekday, 5);
}

struct ReplyCase {
    bool wide;
    CommandRequest request;
    const char* asdu;
    std::optional<ReplyKind> kind;
    bool negative;
    std::uint8_t cause;
};

TEST(CommandReplyTest, ConfirmationsOfTheCommand) {
    const CommandRequest sc = Request(CommandType::Single, 0x6001, 1);
    const CommandRequest rd = Request(CommandType::Read, 1, 0);
    const ReplyCase cases[] = {
        {false, sc, "2D 01 07 01 01 60 81", ReplyKind::ActivationConfirm, false, 7},
        {false, sc, "2D 01 47 01 01 60 81", ReplyKind::ActivationConfirm, true, 7},
        {false, sc, "2D 01 09 01 01 60 81", ReplyKind::DeactivationConfirm, false, 9},
        {false, sc, "2D 01 0A 01 01 60 01", ReplyKind::Termination, false, 10},
        {false, sc, "2D 01 6F 01 01 60 81", ReplyKind::ActivationConfirm, true, 47},  // unknown object
        {false, sc, "2D 01 6C 01 01 60 81", ReplyKind::ActivationConfirm, true, 44},  // unknown type
        {false, sc, "2D 01 6D 01 01 60 81", ReplyKind::ActivationConfirm, true, 45},
        {false, sc, "2D 01 6E 01 01 60 81", ReplyKind::ActivationConfirm, true, 46},
        {true, sc, "2D 01 07 03 01 00 01 60 00 81", ReplyKind::ActivationConfirm, false, 7},
        {false, sc, "2D 01 07 01 02 60 81", std::nullopt, false, 0},  // another object
        {false, sc, "2D 01 07 02 01 60 81", std::nullopt, false, 0},  // another station
        {false, sc, "2E 01 07 01 01 60 81", std::nullopt, false, 0},  // another type
        {false, sc, "2D 01 03 01 01 60 81", std::nullopt, false, 0},  // not an answer
        {false, sc, "2D 01 07 01", std::nullopt, false, 0},           // cut short
        {false, rd, "01 01 05 01 01 00 01", ReplyKind::Data, false, 5},
        {false, rd, "66 01 6F 01 01 00", ReplyKind::ActivationConfirm, true, 47},
        {false, rd, "01 01 14 01 01 00 01", std::nullopt, false, 0},  // interrogated, not read
    };
    for (const auto& c : cases) {
        const auto reply = ReadCommandReply(HexTextToBytes(c.asdu), c.request, 1, c.wide ? Wide() : LinkProfile{});
        ASSERT_EQ(reply.has_value(), c.kind.has_value()) << c.asdu;
        if (!reply) continue;
        EXPECT_EQ(reply->kind, *c.kind) << c.asdu;
        EXPECT_EQ(reply->negative, c.negative) << c.asdu;
        EXPECT_EQ(reply->cause, c.cause) << c.asdu;
    }
}

TEST(CommandReplyTest, AsdusOfABlock) {
    const auto units = AsdusOf(HexTextToBytes("E5 10 00 01 01 16 68 09 09 68 08 01 2D 01 07 01 01 60 81 BA 16"), {});
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(BytesToHexText(units[0]), "2D 01 07 01 01 60 81");
}

}  // namespace
}  // namespace tc101
