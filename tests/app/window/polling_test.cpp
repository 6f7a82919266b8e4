// The master simulation and the four request buttons of the main window,
// against a scripted outstation on a pty pair.

#include <map>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/editor_fixture.h"
#include "traffic/ui/bw_set_form.h"
#include "widgets/grid_view.h"
#include "window_over_pty.h"

namespace tc101 {
namespace {

using testing::Hex;
using testing::WaitFor;
using testing_support::Bytes;

class PollingTest : public testing::WindowOverPty {};

TEST_F(PollingTest, WithoutAnswerEveryFourthTickRequestsTheLinkStatus) {
    // TX lines in the log after each tick, counted by a slot that runs after the window's.
    std::vector<qsizetype> sentAfterTick;
    QObject::connect(ui->TimerZZ, &QTimer::timeout, [&] { sentAfterTick.push_back(SentLines("TX:").size()); });
    ui->cbxMlzz->click();
    ASSERT_TRUE(WaitFor([&] { return sentAfterTick.size() >= 10; }));
    ui->cbxMlzz->click();
    sentAfterTick.resize(10);
    EXPECT_EQ(sentAfterTick, (std::vector<qsizetype>{1, 1, 1, 1, 2, 2, 2, 2, 3, 3}));
    for (const QString& line : SentLines("TX:")) EXPECT_EQ(line, QStringLiteral("10 49 01 4A 16"));
    EXPECT_EQ(LogLines(QStringLiteral(u"========召唤链路状态 1#========")).size(), SentLines("TX:").size());
}

struct Exchange {
    const char* request;  // what the window must send
    const char* reply;    // what the outstation answers ("" none)
};

struct Conversation {
    const char* name;
    bool standardLink;
    std::vector<Exchange> exchanges;
};

// Variable frames of a telemetry reply: ACD set, ACD clear, and a bad checksum.
constexpr char kReplyAcd[] = "68 0C 0C 68 28 01 15 82 14 01 01 40 E8 03 18 FC 15 16";
constexpr char kReplyNoAcd[] = "68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F5 16";
constexpr char kReplyBadSum[] = "68 0C 0C 68 08 01 15 82 14 01 01 40 E8 03 18 FC F6 16";
constexpr char kLinkStatus[] = "10 49 01 4A 16";
constexpr char kStatusOfLink[] = "10 0B 01 0C 16";
constexpr char kAck[] = "10 00 01 01 16";
constexpr char kAckAcd[] = "10 20 01 21 16";

class ConversationTest : public PollingTest, public ::testing::WithParamInterface<Conversation> {};

TEST_P(ConversationTest, EachReplyChoosesTheNextRequest) {
    const Conversation& conversation = GetParam();
    ui->frmBwSet->chkStandardLink->setChecked(conversation.standardLink);
    std::size_t answered = 0;
    peer->respond = [&](const Bytes&) {
        return answered < conversation.exchanges.size() ? Hex(conversation.exchanges[answered++].reply) : Bytes{};
    };
    ui->cbxMlzz->click();
    ASSERT_TRUE(WaitFor([&] { return peer->frames.size() >= conversation.exchanges.size(); }));
    ui->cbxMlzz->click();

    QStringList expected;
    for (const Exchange& exchange : conversation.exchanges) expected << QString::fromLatin1(exchange.request);
    QStringList onLine;
    for (std::size_t i = 0; i < conversation.exchanges.size(); ++i)
        onLine << QString::fromStdString(BytesToHexText(peer->frames[i]));
    EXPECT_EQ(onLine, expected);
    // The log shows the octets that went out, checksum included.
    EXPECT_EQ(SentLines("TX:").mid(0, expected.size()), expected);
    // Every answer was timed; the clear button starts the counts again.
    const auto* linkStats = testing::Part<QLabel>(*window, "LinkStatsPanel");
    ASSERT_NE(linkStats, nullptr);
    const QRegularExpression timed(QStringLiteral(u"^\\d+(\\.\\d)?/\\d+(\\.\\d)?ms 超时:0$"));
    EXPECT_TRUE(timed.match(linkStats->text()).hasMatch()) << linkStats->text().toStdString();
    ui->BtnClear->trigger();
    EXPECT_EQ(linkStats->text(), QStringLiteral(u"-/-ms 超时:0"));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ConversationTest,
    ::testing::Values(
        Conversation{"Plain",
                     false,
                     {{kLinkStatus, kStatusOfLink},
                      {"68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16", "E5"},
                      {"10 5B 01 5C 16", kReplyAcd},
                      {"10 5A 01 5B 16", kReplyNoAcd},
                      {"10 5B 01 5C 16", kAck},
                      {"68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16", kReplyBadSum},
                      {kLinkStatus, ""}}},
        // FCB alternates per request with FCV; a reset of remote link after
        // the status of link; its acknowledgement brings the interrogation,
        // later acknowledgements class 1 or 2 by ACD.
        Conversation{"StandardLink",
                     true,
                     {{kLinkStatus, kStatusOfLink},
                      {"10 40 01 41 16", "E5"},
                      {"68 09 09 68 73 01 64 01 06 01 00 00 14 F4 16", kAck},
                      {"10 5B 01 5C 16", kAckAcd},
                      {"10 7A 01 7B 16", kReplyNoAcd},
                      {"10 5B 01 5C 16", "E5"},
                      {"10 7B 01 7C 16", ""}}}),
    [](const ::testing::TestParamInfo<Conversation>& item) { return std::string(item.param.name); });

TEST_F(PollingTest, TheResetOfRemoteLinkHasItsBanner) {
    ui->frmBwSet->chkStandardLink->setChecked(true);
    ui->txtAdd->setValue(258);  // link address 2
    peer->respond = [](const Bytes& frame) { return frame[1] == 0x49 ? Hex("10 0B 02 0D 16") : Bytes{}; };
    ui->cbxMlzz->click();
    ASSERT_TRUE(WaitFor([&] { return peer->frames.size() >= 2; }));
    ui->cbxMlzz->click();
    EXPECT_EQ(BytesToHexText(peer->frames[1]), "10 40 02 42 16");
    EXPECT_EQ(LogLines(QStringLiteral(u"========复位远方链路 2#========")).size(), 1);
}

struct ButtonCase {
    const char* name;
    bool standardLink;
    std::vector<const char*> presses;  // LL, 1J, 2J, ZZ
    std::vector<const char*> frames;
};

class ButtonTest : public PollingTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(ButtonTest, ButtonsSendTheirFrames) {
    const ButtonCase& test = GetParam();
    ui->frmBwSet->chkStandardLink->setChecked(test.standardLink);
    const std::map<std::string, QPushButton*> buttons{
        {"LL", ui->BtnLL}, {"1J", ui->Btn1J}, {"2J", ui->Btn2J}, {"ZZ", ui->BtnZZ}};
    for (const char* press : test.presses) buttons.at(press)->click();
    ASSERT_TRUE(WaitFor([&] { return peer->frames.size() >= test.frames.size(); }));
    QStringList onLine;
    for (const Bytes& frame : peer->frames) onLine << QString::fromStdString(BytesToHexText(frame));
    QStringList expected;
    for (const char* frame : test.frames) expected << QString::fromLatin1(frame);
    EXPECT_EQ(onLine, expected);
    EXPECT_EQ(SentLines("TX:"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, ButtonTest,
    ::testing::Values(
        ButtonCase{"Plain",
                   false,
                   {"LL", "1J", "2J", "ZZ", "2J", "ZZ"},
                   {kLinkStatus, "10 5A 01 5B 16", "10 5B 01 5C 16", "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16",
                    "10 5B 01 5C 16", "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16"}},
        // One FCB per address, shared by all requests with FCV; link status has none.
        ButtonCase{"StandardLink",
                   true,
                   {"2J", "2J", "LL", "1J", "ZZ", "2J"},
                   {"10 5B 01 5C 16", "10 7B 01 7C 16", kLinkStatus, "10 5A 01 5B 16",
                    "68 09 09 68 73 01 64 01 06 01 00 00 14 F4 16", "10 5B 01 5C 16"}}),
    [](const ::testing::TestParamInfo<ButtonCase>& item) { return std::string(item.param.name); });

TEST_F(PollingTest, ButtonBannersAndEnabledRule) {
    ui->BtnZZ->click();
    ui->Btn2J->click();
    EXPECT_EQ(LogLines(QStringLiteral("========")),
              (QStringList{QStringLiteral(u"总召1#========"), QStringLiteral(u"召唤二级数据 1#========")}));
    ui->cbxMlzz->click();
    for (const QPushButton* button : {ui->BtnLL, ui->Btn1J, ui->Btn2J, ui->BtnZZ})
        EXPECT_FALSE(button->isEnabled());
    ui->cbxMlzz->click();
    for (const QPushButton* button : {ui->BtnLL, ui->Btn1J, ui->Btn2J, ui->BtnZZ})
        EXPECT_TRUE(button->isEnabled());
}

TEST_F(PollingTest, APageChangeStopsTheSimulation) {
    peer->respond = [](const Bytes&) { return Hex("E5"); };
    ui->cbxMlzz->click();
    ASSERT_TRUE(WaitFor([&] { return SentLines("TX:").size() >= 2; }));
    ui->PageControl2->setCurrentIndex(1);
    EXPECT_FALSE(ui->cbxMlzz->isChecked());
    const qsizetype before = SentLines("TX:").size();
    // Continuous sending on the new page runs its ticks; the simulation sends no more.
    window->SendList().SetCell(1, 1, "E5");
    window->SendList().SetCell(2, 1, "E5");
    ui->cekSend2->click();
    ASSERT_TRUE(WaitFor([&] { return SentLines("Tx:").size() >= 3; }));
    ui->cekSend2->click();
    EXPECT_EQ(SentLines("TX:").size(), before);
}

TEST_F(PollingTest, TicksDuringAModalDialogStillSend) {
    peer->respond = [](const Bytes&) { return Hex("E5"); };
    ui->cbxMlzz->click();
    bool sentUnderDialog = false;
    bool closed = false;
    QTimer::singleShot(0, window.get(), [&] {
        // Closed from inside its own loop once two requests went out under it (or given up on).
        QElapsedTimer open;
        open.start();
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            sentUnderDialog = peer->frames.size() >= 2 && ui->frmBwSet->isVisible();
            if (sentUnderDialog || open.elapsed() > 10000) ui->frmBwSet->reject();
        });
        watch.start(10);
        ui->frmBwSet->exec();
        closed = true;
    });
    ASSERT_TRUE(WaitFor([&] { return closed; }, 20000));
    EXPECT_TRUE(sentUnderDialog);
    ui->cbxMlzz->click();
}

TEST_F(PollingTest, RequestsUnderTheDecimalDisplayGoOutFromTheValues) {
    testing::ModalDriver driver([&](QWidget*) {
        TfrmBwSet& form = *ui->frmBwSet;
        form.rbDec->click();
        form.PageControl1->setCurrentIndex(1);
        testing::TypeInto(*form.GrdZZ, kBwValueCol, kInterrogationRows, QStringLiteral("255"));
        // The grid commits an edit on Return through a queued call.
        ASSERT_TRUE(WaitFor([&] { return form.ZZCells().Cell(kBwValueCol, kInterrogationRows) == "255"; }));
        ui->BtnLL->click();
        ui->BtnZZ->click();
        form.reject();
    });
    ui->N2->trigger();  // "主站报文设置(&B)": modal until the driver closes it
    ASSERT_TRUE(driver.seen);
    ASSERT_TRUE(WaitFor([&] { return peer->frames.size() >= 2; }));
    EXPECT_EQ(BytesToHexText(peer->frames[0]), "10 49 01 4A 16");
    EXPECT_EQ(BytesToHexText(peer->frames[1]), "68 09 09 68 53 01 64 01 06 01 00 00 FF BF 16");
    EXPECT_EQ(ui->frmBwSet->ZZCells().Cell(kBwValueCol, kInterrogationRows), "FF");
}

struct IntervalCase {
    const char* text;  // as typed into both spinners
    bool fires;
};

class IntervalTest : public PollingTest, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(IntervalTest, OnlyAWholePositiveIntervalStartsATimer) {
    // Typed, not set: a spinner keeps its last valid value behind text it cannot read.
    const auto type = [](QSpinBox* spinner) {
        spinner->findChild<QLineEdit*>()->setText(QString::fromLatin1(GetParam().text));
    };
    type(ui->txtInteval1);
    ui->cbxMlzz->click();
    EXPECT_EQ(ui->TimerZZ->isActive(), GetParam().fires);
    EXPECT_EQ(ui->cbxMlzz->isChecked(), GetParam().fires) << "an interval that never fires unticks its box";
    ui->PageControl2->setCurrentIndex(1);
    type(ui->txtInteval2);  // after the page is shown: showing it redraws the text from the value
    ui->cekSend2->click();
    EXPECT_EQ(ui->Timer1->isActive(), GetParam().fires);
    EXPECT_EQ(boxes.shown.size(), GetParam().fires ? 0u : 2u);
    // Closing the port unticks the box whether or not its timer could fire.
    ui->btnCloseCom->trigger();
    EXPECT_FALSE(ui->cekSend2->isChecked());
    EXPECT_FALSE(ui->Timer1->isActive());
    EXPECT_TRUE(ui->txtInteval2->isEnabled());
}

// Typed and confirmed in its box: an interval that never fires is refused
// with a message and the box goes back to the last interval that did.
TEST_P(IntervalTest, TheSpinnerRefusesAnIntervalThatNeverFires) {
    for (QSpinBox* spinner : {ui->txtInteval1, ui->txtInteval2}) {
        boxes.shown.clear();
        ui->PageControl2->setCurrentIndex(spinner == ui->txtInteval1 ? 0 : 1);
        spinner->setFocus();
        spinner->findChild<QLineEdit*>()->setText(QString::fromLatin1(GetParam().text));
        QTest::keyClick(spinner, Qt::Key_Return);
        EXPECT_EQ(spinner->value(), GetParam().fires ? QString::fromLatin1(GetParam().text).toInt() : testing::kTestInterval);
        // Text that is no number at all the spinner itself puts back, without a box.
        bool number = false;
        QString::fromLatin1(GetParam().text).toInt(&number);
        ASSERT_EQ(boxes.shown.size(), !GetParam().fires && number ? 1u : 0u);
        if (!boxes.shown.empty()) {
            EXPECT_EQ(boxes.shown[0].text, QStringLiteral(u"间隔(毫秒)必须大于0"));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Intervals, IntervalTest,
                         ::testing::Values(IntervalCase{"0", false}, IntervalCase{"-5", false},
                                           IntervalCase{"-", false}, IntervalCase{"20", true}));

}  // namespace
}  // namespace tc101
