// Several devices polled in turn on one line, and link monitoring: the
// waiting rule gives up on a request, the device is lost after LostAfter
// silent requests and back at its next answer.

#include "traffic/master_station.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

struct LinePort : FramePort {
    std::vector<std::vector<std::uint8_t>> frames;
    bool SendBytes(const std::uint8_t* data, std::uint16_t count) override {
        frames.emplace_back(data, data + count);
        return true;
    }
    bool Drain() override { return true; }
};

// Monitoring lines as "N?" (no reply), "NX" (lost) and "N!" (back); the rest is the sender's business.
struct MonitorSink : MasterSink {
    std::string trace;
    void Line(LogColour, std::string_view text) override {
        for (const auto& [suffix, mark] : {std::pair{"# 超时无应答", "?"}, {"# 失联", "X"}, {"# 恢复应答", "!"}})
            if (text.ends_with(suffix)) trace += std::string(text.substr(0, text.find('#'))) + mark + " ";
    }
    void Account(const std::vector<std::string>&) override {}
};

// Events: T a tick, A an answer (E5) from the device last asked. Trace: each
// tick's request as "N>" (link address of the frame), "-" when it waits.
std::string Trace(const std::vector<std::int64_t>& addresses, int lostAfter, std::string_view events) {
    LinePort port;
    MonitorSink sink;
    ValueTables tables;
    MasterStation station(port, sink, tables);
    MasterSettings settings;
    settings.shortValues = {0x49, 0x5A, 0x5B};
    settings.lostAfter = lostAfter;
    station.SetSettings(settings);
    station.Cycle().StartSimulation();
    const std::uint8_t e5[] = {0xE5};
    for (const char event : events) {
        if (event == 'A') {
            station.Received(e5);
            continue;
        }
        const std::size_t before = port.frames.size();
        station.PollTick(addresses);
        sink.trace += port.frames.size() == before ? "- " : std::to_string(port.frames.back()[2]) + "> ";
    }
    if (!sink.trace.empty()) sink.trace.pop_back();
    return sink.trace;
}

TEST(DevicePolls, EachDeviceInTurnWithItsOwnWaitingAndMonitoring) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> addresses;
        int lostAfter;
        const char* events;
        const char* trace;
    };
    const Case cases[] = {
        {"one device answering: no monitoring line", {1}, 3, "TATATA", "1> 1> 1>"},
        {"one device silent: three ticks waited, then the line and the request again",
         {1}, 3, "TTTTTTTT", "1> - - - 1? 1> - - -"},
        {"lost after LostAfter silent requests, back at the next answer",
         {1}, 2, "TTTTTTTTTAT", "1> - - - 1? 1> - - - 1? 1X 1> 1! 1>"},
        {"lost after one", {1}, 1, "TTTTTATA", "1> - - - 1? 1X 1> 1! 1>"},
        {"three devices answering in turn", {1, 2, 3}, 3, "TATATATA", "1> 2> 3> 1>"},
        {"a silent device gives its turn up after the waiting rule",
         {1, 2, 3}, 3, "TATTTTTATATTTTTA", "1> 2> - - - 2? 3> 1> 2> - - - 2? 3>"},
        {"one silent device of three is lost, the others go on",
         {1, 2, 3}, 2, "TATTTTTATATTTTTATATAT", "1> 2> - - - 2? 3> 1> 2> - - - 2? 2X 3> 1> 2> 2! 3>"},
        {"a range polled in order", {5, 6, 7}, 3, "TATATA", "5> 6> 7>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Trace(c.addresses, c.lostAfter, c.events), c.trace);
    }
}

TEST(DevicePolls, ALostDeviceIsDrawnGreyWithItsLastAnswerAsTip) {
    LinePort port;
    MonitorSink sink;
    ValueTables tables;
    tables.EnsureDeviceColumn(ValuePage::Yc, 2);
    tables.EnsureDeviceColumn(ValuePage::Yx, 2);
    MasterStation station(port, sink, tables);
    MasterSettings settings;
    settings.lostAfter = 1;
    station.SetSettings(settings);
    const std::int64_t line[] = {2};
    const std::uint8_t e5[] = {0xE5};
    station.PollTick(line);
    station.Received(e5);
    const int column = tables.Slot(ValuePage::Yc, 2).column;
    EXPECT_EQ(tables.GrdYC.Tone(column), ColumnTone::Green);
    EXPECT_TRUE(tables.GrdYC.Note(column).starts_with("最后更新: 20")) << tables.GrdYC.Note(column);
    for (int tick = 0; tick < 5; ++tick) station.PollTick(line);
    for (const Table* table : {&tables.GrdYC, &tables.GrdYX}) {
        EXPECT_EQ(table->Tone(column), ColumnTone::Grey);
        EXPECT_NE(table->Note(column).find("已失联: 连续 1 次请求无应答"), std::string::npos) << table->Note(column);
    }
    station.Received(e5);
    EXPECT_EQ(tables.GrdYX.Tone(column), ColumnTone::Green);
}

}  // namespace
}  // namespace tc101
