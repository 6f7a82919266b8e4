// Commands from the master station to the simulator, in process: each type's
// exchange in the narrow and the wide profile, with the plain and the
// standard link procedure, negative confirmations, silence and a selection
// that runs out.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "outstation/outstation.h"
#include "station_support.h"
#include "traffic/master_station.h"

namespace tc101 {
namespace {

using namespace testing_support;

struct StationPort : FramePort {
    bool SendBytes(const std::uint8_t* data, std::uint16_t count) override {
        if (silent) return true;
        for (const Frame& reply : station->Receive({data, count})) replies.insert(replies.end(), reply.begin(), reply.end());
        return true;
    }
    bool Drain() override { return true; }
    Outstation* station = nullptr;
    Bytes replies;
    bool silent = false;
};

struct Lines : MasterSink {
    void Line(LogColour, std::string_view text) override { lines.emplace_back(text); }
    void Account(const std::vector<std::string>&) override {}
    std::vector<std::string> lines;
};

CommandRequest Request(CommandType type, std::uint32_t ioa, double value) {
    CommandRequest request;
    request.type = type;
    request.objectAddress = ioa;
    request.value = value;
    return request;
}

class CommandRig {
public:
    CommandRig(const char* sizes, bool standardObjects, bool strict) {
        profile.sizes = *ParseFieldSizes(sizes);
        profile.originator = 3;
        if (standardObjects) profile.decoding = ObjectDecoding::Standard;
        config.address = profile.sizes.linkAddress == 2 ? 258 : 7;
        config.changeEveryMs = 0;
        config.eventEveryMs = 0;
        config.strictFcb = strict;
        config.profile = profile;
        config.selectTimeoutMs = 1000;
        station = std::make_unique<Outstation>(config, clock.Reader());
        port.station = station.get();
        master = std::make_unique<MasterStation>(port, sink, tables,
                                                 MasterStationOptions{SendLogging::WhenQueued, [] { return 9; },
                                                                      DecodingSettings{}, profile});
        MasterSettings settings;
        settings.shortValues = {kLinkStatusRequest, kClass1Request, kClass2Request};
        settings.standardLink = strict;
        master->SetSettings(settings);
        master->Cycle().StartSimulation();
    }

    // Ticks until the command ends; a silent line ticks with real pauses so
    // the step's time limit can pass.
    std::optional<CommandOutcome> Run(const CommandPlan& plan) {
        master->StartCommand(plan, config.address);
        for (int tick = 0; tick < 200 && master->CommandRunning(); ++tick) {
            port.replies.clear();
            master->SimulationTick(config.address);
            master->Received(port.replies);
            if (port.silent) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return master->TakeCommandOutcome();
    }

    std::uint32_t YxObject(int point) const {
        return (profile.decoding == ObjectDecoding::Standard ? profile.yxBase : 1) + static_cast<std::uint32_t>(point - 1);
    }
    std::uint32_t YcObject(int point) const {
        return (profile.decoding == ObjectDecoding::Standard ? profile.ycBase : 1) + static_cast<std::uint32_t>(point - 1);
    }
    bool Logged(const std::string& text) const {
        for (const std::string& line : sink.lines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }

    LinkProfile profile;
    StationConfig config;
    ManualClock clock;
    std::unique_ptr<Outstation> station;
    StationPort port;
    Lines sink;
    ValueTables tables;
    std::unique_ptr<MasterStation> master;
};

struct RigSetup {
    const char* sizes;
    bool standardObjects;
    bool strict;
};
const RigSetup kSetups[] = {{"1/1/1/2", false, false}, {"1/1/1/2", false, true}, {"2/2/2/3", true, false},
                         {"2/2/2/3", true, true}};

struct ExchangeCase {
    const char* name;
    std::function<CommandRequest(const CommandRig&)> request;
    CommandMode mode;
    CommandResult result;
    std::uint8_t cause;
    // What the station holds afterwards; what the log shows.
    std::function<bool(const CommandRig&)> holds;
    const char* logged;
};

TEST(CommandExchangeTest, EachTypeInEachProfile) {
    const auto always = [](const CommandRig&) { return true; };
    const ExchangeCase cases[] = {
        {"sc on", [](const CommandRig& r) { return Request(CommandType::Single, r.YxObject(3), 1); },
         CommandMode::SelectExecute, CommandResult::Confirmed, 0,
         [](const CommandRig& r) { return r.station->Points().Telesignals()[2]; }, "执行: 终止 (COT 10)"},
        {"sc off", [](const CommandRig& r) { return Request(CommandType::Single, r.YxObject(1), 0); },
         CommandMode::SelectExecute, CommandResult::Confirmed, 0,
         [](const CommandRig& r) { return !r.station->Points().Telesignals()[0]; }, "选择: 确认 (COT 7)"},
        {"dc on", [](const CommandRig& r) { return Request(CommandType::Double, r.YxObject(2), 2); },
         CommandMode::SelectExecute, CommandResult::Confirmed, 0,
         [](const CommandRig& r) { return r.station->Points().Telesignals()[1]; }, "执行: 确认 (COT 7)"},
        {"dc bad state", [](const CommandRig& r) { return Request(CommandType::Double, r.YxObject(2), 3); },
         CommandMode::SelectExecute, CommandResult::Negative, 7, always, "执行: 否定确认 (COT 7)"},
        {"se scaled", [](const CommandRig& r) { return Request(CommandType::SetScaled, r.YcObject(2), -1234); },
         CommandMode::SelectExecute, CommandResult::Confirmed, 0,
         [](const CommandRig& r) { return r.station->Points().MeasuredValues()[1] == -1234; }, "执行: 终止"},
        {"se normalised", [](const CommandRig& r) { return Request(CommandType::SetNormalised, r.YcObject(1), 0.25); },
         CommandMode::SelectExecute, CommandResult::Confirmed, 0,
         [](const CommandRig& r) { return r.station->Points().MeasuredValues()[0] == 8192; }, "执行: 终止"},
        {"se float", [](const CommandRig& r) { return Request(CommandType::SetFloat, r.YcObject(8), 321.6); },
         CommandMode::ExecuteOnly, CommandResult::Negative, 7, always, "执行: 否定确认 (COT 7)"},  // not selected
        {"cancel", [](const CommandRig& r) { return Request(CommandType::Single, r.YxObject(1), 1); },
         CommandMode::Cancel, CommandResult::Confirmed, 0, always, "撤销: 确认 (COT 9)"},
        {"unknown object", [](const CommandRig& r) { return Request(CommandType::Single, r.YxObject(99), 1); },
         CommandMode::SelectExecute, CommandResult::Negative, 47, always, "选择: 否定确认 (COT 47)"},
        {"ci", [](const CommandRig&) { return Request(CommandType::CounterInterrogation, 0, 5); },
         CommandMode::SelectExecute, CommandResult::Confirmed, 0, always, "激活: 终止 (COT 10)"},
        {"rd", [](const CommandRig& r) { return Request(CommandType::Read, r.YxObject(4), 0); },
         CommandMode::SelectExecute, CommandResult::Confirmed, 0, always, "激活: 确认 (COT 5)"},
        {"rd unknown", [](const CommandRig&) { return Request(CommandType::Read, 0x7777, 0); },
         CommandMode::SelectExecute, CommandResult::Negative, 47, always, "激活: 否定确认 (COT 47)"},
        {"ts", [](const CommandRig&) { return Request(CommandType::Test, 0, 0); }, CommandMode::SelectExecute,
         CommandResult::Confirmed, 0, always, "激活: 确认 (COT 7)"},
        {"rp", [](const CommandRig&) { return Request(CommandType::ResetProcess, 0, 1); }, CommandMode::SelectExecute,
         CommandResult::Confirmed, 0, always, "激活: 确认 (COT 7)"},
        {"rp on an object", [](const CommandRig&) { return Request(CommandType::ResetProcess, 5, 1); },
         CommandMode::SelectExecute, CommandResult::Negative, 47, always, "激活: 否定确认 (COT 47)"},
    };
    for (const RigSetup& setup : kSetups) {
        for (const ExchangeCase& c : cases) {
            CommandRig rig(setup.sizes, setup.standardObjects, setup.strict);
            CommandPlan plan{c.request(rig), c.mode, std::chrono::milliseconds(5000)};
            const auto outcome = rig.Run(plan);
            const std::string where = std::string(c.name) + " " + setup.sizes + (setup.strict ? " strict" : "");
            ASSERT_TRUE(outcome) << where;
            EXPECT_EQ(outcome->result, c.result) << where;
            EXPECT_EQ(outcome->cause, c.cause) << where;
            EXPECT_TRUE(c.holds(rig)) << where;
            EXPECT_TRUE(rig.Logged(c.logged)) << where << " lacks " << c.logged;
        }
    }
}

TEST(CommandExchangeTest, ClockSyncSetsTheStationClock) {
    struct ClockCase {
        Cp56Time set;
        std::int64_t laterMs;
        int year, month, day;
        std::int64_t msOfDay;
    };
    const ClockCase cases[] = {
        {{2030, 6, 15, 6, 10, 20, 30000}, 1500, 2030, 6, 15, (10 * 60 + 20) * 60'000LL + 31500},
        {{2024, 2, 28, 3, 23, 59, 59000}, 2000, 2024, 2, 29, 1000},  // a leap day
        {{2025, 12, 31, 3, 23, 59, 59999}, 1, 2026, 1, 1, 0},
    };
    for (const RigSetup& setup : kSetups) {
        for (const ClockCase& c : cases) {
            LinkProfile profile;
            profile.sizes = *ParseFieldSizes(setup.sizes);
            CommandRequest request = Request(CommandType::ClockSync, 0, 0);
            request.time = c.set;
            StationCommands commands(1000, false);
            PointModel points(StationConfig{});
            ClockReading now{5000, 3'600'000, 2001, 3, 4};
            const CommandAnswer answer =
                commands.Handle(BuildCommandAsdu(request, CommandStep::Execute, 1, profile), {profile, 1, 0}, points, now);
            EXPECT_EQ(answer.confirmation[2], kCauseActivationConfirm) << setup.sizes;
            now.steadyMs += c.laterMs;
            now.localMsOfDay += c.laterMs;
            const ClockReading later = commands.Adjust(now);
            EXPECT_EQ(later.localYear, c.year) << setup.sizes;
            EXPECT_EQ(later.localMonth, c.month) << setup.sizes;
            EXPECT_EQ(later.localDay, c.day) << setup.sizes;
            EXPECT_EQ(later.localMsOfDay, c.msOfDay) << setup.sizes;
        }
    }
}

TEST(CommandExchangeTest, SilenceAndExpiredSelection) {
    for (const RigSetup& setup : kSetups) {
        CommandRig rig(setup.sizes, setup.standardObjects, setup.strict);
        const CommandRequest sc = Request(CommandType::Single, rig.YxObject(1), 1);
        // A selection the execute comes too late for.
        ASSERT_EQ(rig.Run({sc, CommandMode::SelectOnly, std::chrono::milliseconds(5000)})->result,
                  CommandResult::Confirmed);
        rig.clock.Advance(1001);
        const auto late = rig.Run({sc, CommandMode::ExecuteOnly, std::chrono::milliseconds(5000)});
        EXPECT_EQ(late->result, CommandResult::Negative) << setup.sizes;
        EXPECT_EQ(late->cause, 7) << setup.sizes;
        // Nobody answers: the step runs out.
        rig.port.silent = true;
        const auto silent = rig.Run({sc, CommandMode::SelectExecute, std::chrono::milliseconds(30)});
        ASSERT_TRUE(silent) << setup.sizes;
        EXPECT_EQ(silent->result, CommandResult::Timeout) << setup.sizes;
        EXPECT_TRUE(rig.Logged("选择: 超时 (30 ms)")) << setup.sizes;
    }
}

}  // namespace
}  // namespace tc101
