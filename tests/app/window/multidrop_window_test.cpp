// 设备地址 with a list: the master simulation polls each device in turn; a
// device that stops answering is drawn grey until it answers again, and every
// device cell tells the time of its device's last answer.

#include <atomic>

#include <QColor>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "widgets/grid_view.h"
#include "widgets/table_model.h"
#include "window_over_pty.h"

namespace tc101 {
namespace {

using testing::Hex;
using testing::WaitFor;
using testing_support::Bytes;

class MultidropWindowTest : public testing::WindowOverPty {};

// A measured value reply from link and common address 1 or 2.
Bytes ValueReply(std::uint8_t address) {
    return Hex(address == 1 ? "68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16"
                            : "68 0C 0C 68 08 02 15 82 14 02 01 40 E8 03 18 FC F7 16");
}

TEST_F(MultidropWindowTest, ASilentDeviceTurnsGreyAndBackWithItsLastUpdateAsTip) {
    std::atomic<bool> silent2{false};
    peer->respond = [&](const Bytes& frame) {
        const std::uint8_t address = frame[0] == 0x10 ? frame[2] : frame[5];
        return address == 2 && silent2 ? Bytes{} : ValueReply(address);
    };
    ui->txtAdd->selectAll();
    QTest::keyClicks(ui->txtAdd, QStringLiteral("1-2"));
    ui->txtInteval1->setFocus();  // the box takes its text on leaving
    ui->cbxMlzz->click();
    const Table& grid = ui->GrdYC->Model()->Source();
    ASSERT_TRUE(WaitFor([&] { return grid.ColCount() == kFirstDeviceCol + 2; }));

    const TableModel& model = *ui->GrdYC->Model();
    const auto look = [&](int device, int role) {
        return model.data(model.index(0, kFirstDeviceCol - 2 + device), role);
    };
    const QColor grey(150, 150, 150), green(0, 128, 0);
    EXPECT_EQ(look(1, Qt::ForegroundRole).value<QColor>(), green);
    EXPECT_TRUE(look(2, Qt::ToolTipRole).toString().startsWith(QStringLiteral(u"最后更新: 20")));

    silent2 = true;
    ASSERT_TRUE(WaitFor([&] { return look(2, Qt::ForegroundRole).value<QColor>() == grey; }));
    EXPECT_TRUE(look(2, Qt::ToolTipRole).toString().contains(QStringLiteral(u"已失联: 连续 3 次请求无应答")));
    EXPECT_EQ(look(1, Qt::ForegroundRole).value<QColor>(), green);
    EXPECT_GE(LogLines(QStringLiteral(u"2# 超时无应答")).size(), 3);
    EXPECT_EQ(LogLines(QStringLiteral(u"2# 失联")).size(), 1);
    EXPECT_TRUE(LogLines(QStringLiteral(u"1# ")).isEmpty());

    silent2 = false;
    ASSERT_TRUE(WaitFor([&] { return look(2, Qt::ForegroundRole).value<QColor>() == green; }));
    ui->cbxMlzz->click();
    EXPECT_EQ(LogLines(QStringLiteral(u"2# 恢复应答")).size(), 1);
    EXPECT_EQ(ui->txtAdd->text(), QStringLiteral("1-2"));
}

}  // namespace
}  // namespace tc101
