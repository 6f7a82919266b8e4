// TfrmZh's senders: the four standard requests, the master simulation timer,
// the send list and continuous sending, connected to the master station,
// which decides, sends and logs.

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

}  // namespace

void TfrmZh::ConnectPolling() {
    connect(BtnLL, &QPushButton::clicked, this, [this] { RunCommand([this] { SendLinkStatusRequest(); }); });
    connect(Btn1J, &QPushButton::clicked, this, [this] { RunCommand([this] { SendClass1Request(); }); });
    connect(Btn2J, &QPushButton::clicked, this, [this] { RunCommand([this] { SendClass2Request(); }); });
    connect(BtnZZ, &QPushButton::clicked, this, [this] { RunCommand([this] { SendGeneralInterrogation(); }); });
    connect(TimerZZ, &QTimer::timeout, this, [this] { RunCommand([this] { TimerZZTimer(); }); });
    connect(Timer1, &QTimer::timeout, this, &TfrmZh::Timer1Timer);
    connect(BtnSend, &QPushButton::clicked, this, &TfrmZh::BtnSendClick);
    connect(GrdSend, &QAbstractItemView::doubleClicked, this, &TfrmZh::GrdSendDblClick);
}

void TfrmZh::SendLinkStatusRequest() { station_->SendRequest(MasterRequest::LinkStatus, txtAdd->value()); }
void TfrmZh::SendClass1Request() { station_->SendRequest(MasterRequest::Class1, txtAdd->value()); }
void TfrmZh::SendClass2Request() { station_->SendRequest(MasterRequest::Class2, txtAdd->value()); }
void TfrmZh::SendGeneralInterrogation() { station_->SendRequest(MasterRequest::GeneralInterrogation, txtAdd->value()); }

void TfrmZh::cbxMlzzClick() {
    const bool run = cbxMlzz->isChecked() && portOpen_;
    StartOrStop(*TimerZZ, *txtInteval1, run);
    if (run) station_->Cycle().StartSimulation();
    txtInteval1->setEnabled(!cbxMlzz->isChecked());
    for (QPushButton* button : {BtnLL, Btn1J, Btn2J, BtnZZ}) button->setEnabled(!cbxMlzz->isChecked() && portOpen_);
}

void TfrmZh::StartSimulation() {
    cbxMlzz->setChecked(true);
    cbxMlzzClick();
}

void TfrmZh::TimerZZTimer() { station_->PollTick(txtAdd->Addresses()); }

void TfrmZh::cekSend2Click() {
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
