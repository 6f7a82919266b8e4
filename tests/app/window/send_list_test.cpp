// The send list of the main window: one message, continuous sending with
// and without the walk, the double-click rule and the messages refused.

#include <string>
#include <vector>

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "files/send_list_columns.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"
#include "window_over_pty.h"

namespace tc101 {
namespace {

using testing::Hex;
using testing::WaitFor;
using testing_support::Bytes;

constexpr int kRows = 5;
// Long enough that no tick falls within a test that must see none.
constexpr int kNeverInTest = 600000;

// Row r: "报文r" holding a link status request to address r.
std::string Content(int row) {
    const auto address = static_cast<std::uint8_t>(row);
    const std::vector<std::uint8_t> frame{0x10, 0x49, address, static_cast<std::uint8_t>(0x49 + address), 0x16};
    return BytesToHexText(frame);
}

class SendListTest : public testing::WindowOverPty {
protected:
    void SetUp() override {
        WindowOverPty::SetUp();
        if (HasFatalFailure()) return;
        ui->PageControl2->setCurrentIndex(1);
        Table& list = window->SendList();
        list.SetRowCount(kRows + 1);
        for (int row = 1; row <= kRows; ++row) {
            list.SetCell(0, row, std::to_string(row));
            list.SetCell(1, row, "报文" + std::to_string(row));
            list.SetCell(2, row, Content(row));
        }
        peer->respond = [](const Bytes&) { return Hex("E5"); };
    }
    QStringList OnLine() const {
        QStringList frames;
        for (const Bytes& frame : peer->frames) frames << QString::fromStdString(BytesToHexText(frame));
        return frames;
    }
    void DoubleClickRow(int row) {
        const QModelIndex index = ui->GrdSend->model()->index(row - 1, 1);
        const QPoint at = ui->GrdSend->visualRect(index).center();
        // A double-click as the system delivers it: press, release, then the double-click event.
        QTest::mouseClick(ui->GrdSend->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(ui->GrdSend->viewport(), Qt::LeftButton, {}, at);
    }
};

struct WalkCase {
    const char* name;
    bool circle;
    int startRow;
    std::vector<int> sentRows;
    int rowAfter;
};

class WalkTest : public SendListTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(WalkTest, ContinuousSendingRepeatsOrWalksTheList) {
    const WalkCase& test = GetParam();
    ui->cekCircle->setChecked(test.circle);
    window->SendList().SetCurrentRow(test.startRow);
    ui->cekSend2->click();
    ASSERT_TRUE(ui->Timer1->isActive());
    ASSERT_TRUE(WaitFor([&] { return peer->frames.size() >= test.sentRows.size(); }));
    ui->cekSend2->click();
    EXPECT_FALSE(ui->Timer1->isActive());

    QStringList expected;
    QStringList banners;
    for (int row : test.sentRows) {
        expected << QString::fromStdString(Content(row));
        banners << QString::fromStdString("报文" + std::to_string(row) + "========");
    }
    EXPECT_EQ(OnLine().mid(0, expected.size()), expected);
    EXPECT_EQ(SentLines("Tx:").mid(0, expected.size()), expected);
    EXPECT_EQ(LogLines(QStringLiteral("========")).mid(0, banners.size()), banners);
    if (peer->frames.size() == test.sentRows.size()) {
        EXPECT_EQ(window->SendList().CurrentRow(), test.rowAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, WalkTest,
                         ::testing::Values(WalkCase{"SameRow", false, 3, {3, 3, 3}, 3},
                                           WalkCase{"WalkWrapsToRow1", true, 5, {5, 1, 2}, 3},
                                           WalkCase{"WalkFromRow1", true, 1, {1, 2, 3}, 4}),
                         [](const ::testing::TestParamInfo<WalkCase>& item) { return std::string(item.param.name); });

TEST_F(SendListTest, TypedTextIsTidiedAndTheLogShowsTheOctetsSent) {
    const char* const typed[] = {"10 49 02 4B 16", "1049024B16", "10:49;02 4b-16", " 10,49,02,4B,16 "};
    for (const char* text : typed) {
        const std::size_t before = peer->frames.size();
        testing::TypeInto(*ui->GrdSend, kSendContentCol, 2, QString::fromLatin1(text));
        QTest::mouseClick(ui->BtnSend, Qt::LeftButton);
        // Checked before any reply can be handled: sending forgets the last one.
        EXPECT_FALSE(window->ReplyReceived()) << text;
        ASSERT_TRUE(WaitFor([&] { return peer->frames.size() > before; })) << text;
        EXPECT_EQ(OnLine().last(), QStringLiteral("10 49 02 4B 16")) << text;
        EXPECT_EQ(SentLines("Tx:").last(), QStringLiteral("10 49 02 4B 16")) << text;
    }
    EXPECT_EQ(LogLines(QStringLiteral("========")).first(), QStringLiteral(u"报文2========"));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SendListTest, DoubleClickSendsOnlyWhileTheSendButtonIsEnabled) {
    ui->txtInteval2->setValue(kNeverInTest);
    ui->cekSend2->click();
    ASSERT_FALSE(ui->BtnSend->isEnabled());
    DoubleClickRow(4);
    ui->cekSend2->click();
    ASSERT_TRUE(ui->BtnSend->isEnabled());
    DoubleClickRow(2);
    ASSERT_TRUE(WaitFor([&] { return !peer->frames.empty(); }));
    // The first octets on the line are row 2's: the double-click while sending put none there.
    EXPECT_EQ(OnLine().first(), QString::fromStdString(Content(2)));
    EXPECT_EQ(SentLines("Tx:"), QStringList{QString::fromStdString(Content(2))});
}

struct RefusalCase {
    const char* name;
    std::string content;
    BoxKind box;
    const char16_t* textPart;
};

class RefusalTest : public SendListTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, ARefusedMessageSendsAndLogsNothing) {
    const RefusalCase& test = GetParam();
    window->SendList().SetCell(2, 1, test.content);
    window->SendList().SetCurrentRow(1);
    ui->BtnSend->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, test.box);
    EXPECT_TRUE(boxes.shown[0].text.contains(QString::fromUtf16(test.textPart))) << boxes.shown[0].text.toStdString();
    EXPECT_FALSE(boxes.shown[0].text.endsWith(QStringLiteral("。.")));
    EXPECT_TRUE(ui->Memo1->IsBlank());

    // Continuous sending stops at the first refusal: one box, the box unticked.
    ui->cekSend2->click();
    ASSERT_TRUE(WaitFor([&] { return boxes.shown.size() == 2; }));
    EXPECT_FALSE(ui->cekSend2->isChecked());
    EXPECT_FALSE(ui->Timer1->isActive());
    EXPECT_TRUE(ui->BtnSend->isEnabled());
    EXPECT_TRUE(ui->Memo1->IsBlank());

    // Nothing went out before the next message.
    window->SendList().SetCurrentRow(3);
    ui->BtnSend->click();
    ASSERT_TRUE(WaitFor([&] { return !peer->frames.empty(); }));
    EXPECT_EQ(OnLine().first(), QString::fromStdString(Content(3)));
    EXPECT_EQ(boxes.shown.size(), 2u);
}

std::string Octets(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += i == 0 ? "E5" : " E5";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, RefusalTest,
    ::testing::Values(RefusalCase{"TooLong", Octets(1025), BoxKind::Information, u"1024"},
                      RefusalCase{"NotHex", "10 4G 01 4A 16", BoxKind::Error, u"“10 4G 01 4A 16”"},
                      RefusalCase{"Unpaired", "1049014A1", BoxKind::Error, u"“1049014A1”"}),
    [](const ::testing::TestParamInfo<RefusalCase>& item) { return std::string(item.param.name); });

TEST_F(SendListTest, TheLongestMessageGoesOut) {
    peer->respond = nullptr;
    window->SendList().SetCell(2, 1, Octets(1024));
    window->SendList().SetCurrentRow(1);
    ui->BtnSend->click();
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_TRUE(WaitFor([&] { return peer->frames.size() == 1024; }));
}

TEST_F(SendListTest, AnEmptyMessageLogsItsLinesAndSendsNothing) {
    window->SendList().SetCell(2, 1, "");
    window->SendList().SetCurrentRow(1);
    ui->BtnSend->click();
    EXPECT_EQ(SentLines("Tx:"), QStringList{QString()});
    EXPECT_EQ(LogLines(QStringLiteral("========")), QStringList{QStringLiteral(u"报文1========")});
    window->SendList().SetCurrentRow(2);
    ui->BtnSend->click();
    ASSERT_TRUE(WaitFor([&] { return !peer->frames.empty(); }));
    EXPECT_EQ(OnLine().first(), QString::fromStdString(Content(2)));
}

}  // namespace
}  // namespace tc101
