// TfrmZh's senders: the four standard requests, the master simulation timer,
// the send list and continuous sending. The poll decision is cycle_'s; this
// file puts its choices on the line and into the log.

#include <chrono>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/window/main_window.h"
#include "protocol/hex_text.h"
#include "traffic/master_settings.h"
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

std::string Now() { return TimeStamp(std::chrono::system_clock::now()); }

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

void TfrmZh::SendRequest(MasterRequest request) {
    Memo1->ScrollLogToEnd();
    const std::int64_t address = txtAdd->value();
    std::vector<std::uint8_t> built;
    switch (request) {
        case MasterRequest::LinkStatus: {
            const auto frame = frmBwSet->ShortRequestFrame(ShortRequest::LinkStatus, address);
            built.assign(frame.begin(), frame.end());
            break;
        }
        case MasterRequest::Class1: {
            const auto frame = frmBwSet->ShortRequestFrame(ShortRequest::Class1, address);
            built.assign(frame.begin(), frame.end());
            break;
        }
        case MasterRequest::Class2: {
            const auto frame = frmBwSet->ShortRequestFrame(ShortRequest::Class2, address);
            built.assign(frame.begin(), frame.end());
            break;
        }
        case MasterRequest::GeneralInterrogation: {
            const auto frame = frmBwSet->InterrogationFrame(address);
            built.assign(frame.begin(), frame.end());
            break;
        }
        case MasterRequest::ResetRemoteLink:
            // Not a cell of the settings: its control field is fixed.
            built = BuildMasterRequest(request, MasterSettings{}, address);
            break;
    }
    // The switch is live like the cells: ticked in the dialog, used at once.
    cycle_.SetStandardLink(frmBwSet->StandardLink());
    const std::vector<std::uint8_t> octets = cycle_.FrameToSend(built);
    // The whole frame in one request, so it leaves in one write; a refusal is not reported.
    Comm1.SendBytes(octets.data(), static_cast<std::uint16_t>(octets.size()));
    Memo1->AppendLine(LogColour::Black, RequestBanner(request, address));
    Memo1->AppendLine(LogColour::Blue, RequestLine(octets, Now()));
}

void TfrmZh::SendLinkStatusRequest() { SendRequest(MasterRequest::LinkStatus); }
void TfrmZh::SendClass1Request() { SendRequest(MasterRequest::Class1); }
void TfrmZh::SendClass2Request() { SendRequest(MasterRequest::Class2); }
void TfrmZh::SendGeneralInterrogation() { SendRequest(MasterRequest::GeneralInterrogation); }

void TfrmZh::cbxMlzzClick() {
    const bool run = cbxMlzz->isChecked() && PortOpen;
    StartOrStop(*TimerZZ, *txtInteval1, run);
    if (run) {
        cycle_.SetStandardLink(frmBwSet->StandardLink());
        cycle_.StartSimulation();
    }
    txtInteval1->setEnabled(!cbxMlzz->isChecked());
    for (QPushButton* button : {BtnLL, Btn1J, Btn2J, BtnZZ}) button->setEnabled(!cbxMlzz->isChecked() && PortOpen);
}

void TfrmZh::TimerZZTimer() {
    cycle_.SetStandardLink(frmBwSet->StandardLink());
    if (const std::optional<MasterRequest> request = cycle_.SimulationTick()) SendRequest(*request);
}

void TfrmZh::cekSend2Click() {
    const bool run = cekSend2->isChecked() && PortOpen;
    StartOrStop(*Timer1, *txtInteval2, run);
    if (run) cycle_.StartContinuous();
    txtInteval2->setEnabled(!cekSend2->isChecked());
    BtnSend->setEnabled(!cekSend2->isChecked() && PortOpen);
    BtnUpdate->setEnabled(!cekSend2->isChecked());
}

void TfrmZh::Timer1Timer() {
    if (!cycle_.TickMaySend()) return;
    try {
        SendSelectedMessage();
    } catch (const std::exception& error) {
        StopContinuousSending(error);
        return;
    }
    cycle_.Sent();
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
    const std::vector<std::uint8_t>& octets = message.octets;
    Memo1->AppendLine(LogColour::Black, SendListBanner(name));
    Comm1.SendBytes(octets.data(), static_cast<std::uint16_t>(octets.size()));
    if (cekCircle->isChecked()) sendList_.SetCurrentRow(NextSendRow(row, rowCount));
    cycle_.MessageSent();
    Memo1->AppendLine(LogColour::Blue, SendListLine(message.text, Now()));
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
