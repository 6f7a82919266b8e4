// The stored port settings: reading, applying over Comm1's values, opening,
// and the status bar texts.

#include <gtest/gtest.h>

#include "support/test_folder.h"
#include "support/pty_harness.h"
#include "serial/comms_error.h"
#include "serial/port_settings.h"

namespace tc101 {
namespace {

using testing_support::PtyPair;

class PortSettingsFile : public ::testing::Test {
protected:
    IniFile comset{testing::FreshFolder() / "comset.ini"};
    NoticeQueue queue;
    TComm comm{queue};
};

TEST_F(PortSettingsFile, MissingFileGivesTheDefaultsAndTheClosedPanels) {
    EXPECT_EQ(ReadPortSettings(comset), PortSettings{});
    EXPECT_EQ(ReadPortSettings(comset).port, "COM1");
    EXPECT_FALSE(AutoOpenEnabled(comset));
    const PortPanelTexts expected{" 端口:COM1", " 波特率:9600", " 数据位:8", " 效验位:无", " 停止位:1",
                                  " 端口状态: 关闭 "};
    EXPECT_EQ(ClosedPortPanels(comset), expected);
}

TEST_F(PortSettingsFile, StoredKeysReachTheComponent) {
    comset.WriteString("ComSet", "port", "/dev/ttyUSB3");
    comset.WriteInteger("ComSet", "BaudRate", 19200);
    comset.WriteInteger("ComSet", "ByteSize", 7);
    comset.WriteInteger("ComSet", "Parity", 2);
    comset.WriteInteger("ComSet", "StopBits", 2);
    comset.WriteInteger("ComSet", "RecieveDelay", 0);
    comset.WriteBool("ComSet", "AutoOpen", true);
    ApplyPortSettings(ReadPortSettings(comset), comm);
    EXPECT_EQ(comm.CommName(), "/dev/ttyUSB3");
    EXPECT_EQ(comm.BaudRate(), 19200u);
    EXPECT_EQ(comm.ByteSize(), TByteSize::_7);
    EXPECT_EQ(comm.Parity(), TParity::Even);
    EXPECT_EQ(comm.StopBits(), TStopBits::_2);
    // A stored 0 would deliver only full blocks: it opens as the default.
    EXPECT_EQ(comm.ReadIntervalTimeout(), 100u);
    EXPECT_TRUE(AutoOpenEnabled(comset));
    const PortPanelTexts open{" 端口:/dev/ttyUSB3", " 波特率:19200", " 数据位:7", " 效验位:偶", " 停止位:2",
                              " 端口状态: 打开 "};
    EXPECT_EQ(OpenPortPanels(comm), open);
}

// Values only a hand-edited file holds: the component never gets an ordinal
// it has no setting for.
TEST_F(PortSettingsFile, ValuesOutsideTheListsLeaveThePropertyAlone) {
    struct Case {
        std::int64_t dataBits, parity, stopBits;
    };
    for (const Case c : {Case{9, 5, 3}, Case{4, -1, -1}, Case{-3, 255, 7}}) {
        PortSettings s;
        s.dataBits = c.dataBits;
        s.parity = c.parity;
        s.stopBits = c.stopBits;
        ApplyPortSettings(s, comm);
        EXPECT_EQ(comm.ByteSize(), TByteSize::_8);
        EXPECT_EQ(comm.Parity(), TParity::None);
        EXPECT_EQ(comm.StopBits(), TStopBits::_1);
    }
}

// -1 is all ones; 0 and below -1 would deliver only full blocks and open as 100.
TEST_F(PortSettingsFile, StoredFrameDelayReachesTheComponentOrOpensAsTheDefault) {
    const std::pair<std::int64_t, std::uint32_t> cases[] = {
        {-1, kTimeoutAllOnes}, {1, 1}, {250, 250}, {0, 100}, {-2, 100}, {-100000, 100}};
    for (const auto& [stored, applied] : cases) {
        comset.WriteInteger("ComSet", "RecieveDelay", stored);
        ApplyPortSettings(ReadPortSettings(comset), comm);
        EXPECT_EQ(comm.ReadIntervalTimeout(), applied) << stored;
    }
}

TEST_F(PortSettingsFile, OpensTheStoredPortOrThrowsTheComponentsError) {
    PtyPair pty;
    SetComm1Properties(comm);
    comset.WriteString("ComSet", "port", pty.SlaveName());
    EXPECT_TRUE(OpenFromSettings(comm, comset));
    EXPECT_TRUE(comm.IsOpen());
    comm.ClosePort();
    comset.WriteString("ComSet", "port", "/dev/tc101-no-such-port");
    EXPECT_THROW(OpenFromSettings(comm, comset), ECommsError);
    EXPECT_FALSE(comm.IsOpen());
}

TEST(Comm1Properties, NoFlowControlDtrAndRtsOff) {
    NoticeQueue queue;
    TComm comm(queue);
    SetComm1Properties(comm);
    EXPECT_EQ(comm.DtrControl(), TDtrControl::DtrDisable);
    EXPECT_EQ(comm.RtsControl(), TRtsControl::RtsDisable);
    EXPECT_FALSE(comm.Outx_XonXoffFlow());
    EXPECT_FALSE(comm.Inx_XonXoffFlow());
    EXPECT_FALSE(comm.TxContinueOnXoff());
    EXPECT_FALSE(comm.Outx_CtsFlow());
    EXPECT_EQ(comm.XonChar(), 0);
    EXPECT_EQ(comm.XoffChar(), 0);
    EXPECT_EQ(comm.BaudRate(), 9600u);
    EXPECT_EQ(comm.ReadIntervalTimeout(), 100u);
}

TEST(PortPanels, ListTextsAndValuesOutsideThem) {
    struct Case {
        std::int64_t value;
        const char* parity;
        const char* stopBits;
    };
    for (const Case c : {Case{0, "无", "1"}, Case{1, "奇", "1.5"}, Case{2, "偶", "2"}, Case{3, "标记", "3"},
                         Case{4, "空格", "4"}, Case{-1, "-1", "-1"}}) {
        EXPECT_EQ(ParityText(c.value), c.parity);
        EXPECT_EQ(StopBitsText(c.value), c.stopBits);
    }
    // Closed: the stored texts as they stand, even when they are not numbers.
    const auto closed = ClosedPortPanels("COM12", "abc", "", 1, 1);
    EXPECT_EQ(closed[0], " 端口:COM12");
    EXPECT_EQ(closed[1], " 波特率:abc");
    EXPECT_EQ(closed[2], " 数据位:");
    EXPECT_EQ(closed[3], " 效验位:奇");
    EXPECT_EQ(closed[4], " 停止位:1.5");
}

}  // namespace
}  // namespace tc101
