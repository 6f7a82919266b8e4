// TfrmZh's senders: the four standard requests, the master simulation timer,
// the send list and continuous sending, connected to the master station,
// which decides, sends and logs.

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/window/main_window.h"
#include "protocol/hex_text.h"
#include "traffic/send_message.h"
#include "traffic/timer_interval.h"
#include "traffic/ui/bw_set_form.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/application.h"
#include "widgets/grid_view.h"
#include "widgets/message_box.h"

namespace tc101 {

namespace {

constexpr int kFirstSendRow = 1;

// The spinner's text, not its last valid value: text that is not a whole
// number reads as 0, and a timer that cannot fire is not started at all
// (a Qt timer of 0 ms would fire at every turn of the event loop).
void StartOrStop(QTimer& timer, const QSpinBox& spinner, bool run) {
    const std::int64_t interval = SpinnerInterval(spinner.text().toStdString());
    if (run && TimerFires(interval)) {
        timer.setInterval(static_cast<int>(interval));
        timer.start();
    } else {
        timer.stop();
    }
}

// A message that cannot go out: too long is an expected condition, a text
// that cannot be read an error in the user's own sentence, anything else
// what the top-level handler shows.
void ShowSendError(QWidget* parent, const std::exception& error) {
    if (dynamic_cast<const EMessageTooLong*>(&error))
        ShowInformation(parent, QString::fromUtf8(error.what()), QString::fromUtf16(kSystemPrompt));
    else if (dynamic_cast<const HexTextError*>(&error))
        ShowError(parent, QString::fromUtf8(error.what()));
    else
        ShowException(error);
}

constexpr char16_t kIntervalRule[] = u"间隔(毫秒)必须大于0";
constexpr int kFallbackInterval = 1000;

// An interval that would never tick is refused where it is typed: the box
// says why and the spinner goes back to the last interval that ticks.
void RefuseIntervalsThatNeverFire(QWidget* window, QSpinBox* spinner) {
    auto lastFiring = std::make_shared<int>(TimerFires(spinner->value()) ? spinner->value() : kFallbackInterval);
    QObject::connect(spinner, &QSpinBox::valueChanged, window, [lastFiring](int value) {
        if (TimerFires(value)) *lastFiring = value;
    });
    QObject::connect(spinner, &QSpinBox::editingFinished, window, [window, spinner, lastFiring] {
        if (TimerFires(SpinnerInterval(spinner->text().toStdString()))) return;
        // Put back before the box takes the focus, which ends the editing again.
        spinner->setValue(*lastFiring);
        ShowInformation(window, QString::fromUtf16(kIntervalRule), QString::fromUtf16(kSystemPrompt));
    });
}

// A box ticked over an interval that never fires is unticked with the same box.
void UntickIfNeverFires(QWidget* window, QCheckBox& box, const QSpinBox& spinner, bool portOpen) {
    if (!box.isChecked() || !portOpen || TimerFires(SpinnerInterval(spinner.text().toStdString()))) return;
    box.setChecked(false);
    ShowInformation(window, QString::fromUtf16(kIntervalRule), QString::fromUtf16(kSystemPrompt));
}

}  // namespace

void TfrmZh::ConnectPolling() {
    for (QSpinBox* spinner : {txtInteval1, txtInteval2}) RefuseIntervalsThatNeverFire(this, spinner);
    connect(BtnLL, &QPushButton::clicked, this, [this] { RunCommand([this] { SendLinkStatusRequest(); }); });
    connect(Btn1J, &QPushButton::clicked, this, [this] { RunCommand([this] { SendClass1Request(); }); });
    connect(Btn2J, &QPushButton::clicked, this, [this] { RunCommand([this] { SendClass2Request(); }); });
    connect(BtnZZ, &QPushButton::clicked, this, [this] { RunCommand([this] { SendGeneralInterrogation(); }); });
    connect(TimerZZ, &QTimer::timeout, this, [this] { RunCommand([this] { TimerZZTimer(); }); });
    connect(Timer1, &QTimer::timeout, this, &TfrmZh::Timer1Timer);
    connect(BtnSend, &QPushButton::clicked, this, &TfrmZh::BtnSendClick);
    connect(GrdSend, &QAbstractItemView::doubleClicked, this, &TfrmZh::GrdSendDblClick);
}

void TfrmZh::SendLinkStatusRequest() {
    station_->SendRequest(MasterRequest::LinkStatus, txtAdd->value());
    ArmLinkTimer();
}
void TfrmZh::SendClass1Request() { station_->SendRequest(MasterRequest::Class1, txtAdd->value()); }
void TfrmZh::SendClass2Request() { station_->SendRequest(MasterRequest::Class2, txtAdd->value()); }
void TfrmZh::SendGeneralInterrogation() {
    station_->SendRequest(MasterRequest::GeneralInterrogation, txtAdd->value());
    ArmLinkTimer();
}

void TfrmZh::cbxMlzzClick() {
    UntickIfNeverFires(this, *cbxMlzz, *txtInteval1, portOpen_);
    const bool run = cbxMlzz->isChecked() && portOpen_;
    StartOrStop(*TimerZZ, *txtInteval1, run);
    if (run) station_->Cycle().StartSimulation();
    txtInteval1->setEnabled(!cbxMlzz->isChecked());
    for (QPushButton* button : {BtnLL, Btn1J, Btn2J, BtnZZ}) button->setEnabled(!cbxMlzz->isChecked() && portOpen_);
    ShowBalancedButtons();
}

void TfrmZh::StartSimulation() {
    cbxMlzz->setChecked(true);
    cbxMlzzClick();
}

void TfrmZh::TimerZZTimer() {
    station_->PollTick(txtAdd->Addresses());
    ArmLinkTimer();
}

void TfrmZh::ArmLinkTimer() {
    const auto due = station_->NextBalancedDue();
    if (!due) return;
    if (linkTimer_ == nullptr) {
        linkTimer_ = new QTimer(this);
        linkTimer_->setObjectName(QStringLiteral("linkTimer_"));
        linkTimer_->setSingleShot(true);
        linkTimer_->setTimerType(Qt::PreciseTimer);
        connect(linkTimer_, &QTimer::timeout, this, [this] {
            RunCommand([this] {
                station_->BalancedDue(MasterStation::Clock::now());
                ArmLinkTimer();
            });
        });
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - MasterStation::Clock::now());
    linkTimer_->start(std::max(wait, std::chrono::milliseconds(0)));
}

void TfrmZh::ShowBalancedButtons() {
    if (!station_->Balanced()) return;
    Btn1J->setEnabled(false);
    Btn2J->setEnabled(false);
}

void TfrmZh::cekSend2Click() {
    UntickIfNeverFires(this, *cekSend2, *txtInteval2, portOpen_);
    const bool run = cekSend2->isChecked() && portOpen_;
    StartOrStop(*Timer1, *txtInteval2, run);
    if (run) station_->Cycle().StartContinuous();
    txtInteval2->setEnabled(!cekSend2->isChecked());
    BtnSend->setEnabled(!cekSend2->isChecked() && portOpen_);
    BtnUpdate->setEnabled(!cekSend2->isChecked());
}

void TfrmZh::Timer1Timer() {
    if (!station_->Cycle().TickMaySend()) return;
    try {
        SendSelectedMessage();
    } catch (const std::exception& error) {
        StopContinuousSending(error);
        return;
    }
    station_->Cycle().Sent();
}

void TfrmZh::StopContinuousSending(const std::exception& error) {
    // Stopped before the box shows: the box is modal and the timer would
    // otherwise go on ticking behind it.
    cekSend2->setChecked(false);
    cekSend2Click();
    ShowSendError(this, error);
}

void TfrmZh::SendSelectedMessage() {
    Memo1->ScrollLogToEnd();
    const int rowCount = sendList_.RowCount();
    if (rowCount <= kFirstSendRow) return;
    // A list nobody has clicked in yet sends its first message.
    const int row = sendList_.CurrentRow() >= kFirstSendRow && sendList_.CurrentRow() < rowCount
                        ? sendList_.CurrentRow()
                        : kFirstSendRow;
    // Copies: the walk below moves the selection, and the line shows the row sent.
    const std::string name = sendList_.Cell(kSendNameCol, row);
    const OutgoingMessage message = PrepareMessage(sendList_.Cell(kSendContentCol, row));
    station_->SendMessage(message, name);
    if (cekCircle->isChecked()) sendList_.SetCurrentRow(NextSendRow(row, rowCount));
}

void TfrmZh::BtnSendClick() {
    // What is being typed into the list counts as the message.
    GrdSend->CommitEdit();
    try {
        SendSelectedMessage();
    } catch (const std::exception& error) {
        ShowSendError(this, error);
    }
}

void TfrmZh::GrdSendDblClick() {
    if (!BtnSend->isEnabled()) return;
    try {
        SendSelectedMessage();
    } catch (const std::exception& error) {
        ShowSendError(this, error);
    }
}

}  // namespace tc101
