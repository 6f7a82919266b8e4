// TfrmZh's port commands, port state and the serial component's events.

#include <chrono>
#include <span>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>

#include "app/window/main_window.h"
#include "serial/port_settings.h"
#include "serial/ui/com_set_form.h"
#include "traffic/ui/bw_set_form.h"
#include "traffic/ui/receive_path.h"
#include "traffic/ui/traffic_log.h"


namespace tc101 {

namespace {
constexpr int kPanelPadding = 20;
}  // namespace

bool TfrmZh::OpenComm1() {
    PortSettings settings = ReadPortSettings(ComSetFile());
    if (!sessionPort_.empty()) settings.port = sessionPort_;
    ApplyPortSettings(settings, Comm1);
    Comm1.OpenPort();
    if (!FrameDelayUsable(settings.recieveDelay)) {
        Memo1->ScrollLogToEnd();
        Memo1->AppendLine(LogColour::Red,
                          FrameDelayReplacedText(settings.recieveDelay, UsableFrameDelay(settings.recieveDelay)));
    }
    return true;
}

void TfrmZh::BtnOpenComClick() {
    PortOpen = OpenComm1();
    ShowPortState(PortOpen);
}

void TfrmZh::btnCloseComClick() {
    Comm1.ClosePort();
    PortOpen = false;
    ShowPortState(false);
}

void TfrmZh::btnPortSetClick() {
    {
        TfrmComSet dialog(this);
        dialog.exec();
    }
    ShowPortState(false);
}

void TfrmZh::ShowPortState(bool open) {
    btnCloseCom->setEnabled(open);
    for (QPushButton* button : {BtnZZ, Btn1J, Btn2J, BtnLL, BtnSend}) button->setEnabled(open);
    cekSend2->setEnabled(open);
    cbxMlzz->setEnabled(open);
    btnPortSet->setEnabled(!open);
    BtnOpenCom->setEnabled(!open);

    const PortPanelTexts texts = open ? OpenPortPanels(Comm1) : ClosedPortPanels(ComSetFile(), sessionPort_);
    for (std::size_t i = 0; i < texts.size(); ++i) statusPanels_[i]->setText(QString::fromStdString(texts[i]));
    // A ticked box whose interval never fires has a stopped timer: untick it all the same.
    if (!open) UntickTimedSending();
    FitStatusPanels();
}

void TfrmZh::FitStatusPanels() {
    const QFontMetrics metrics(statusBar()->font());
    for (QLabel* panel : statusPanels_) panel->setFixedWidth(metrics.horizontalAdvance(panel->text()) + kPanelPadding);
}

QString TfrmZh::StatusPanelText(int panel) const { return statusPanels_.at(static_cast<std::size_t>(panel))->text(); }

void TfrmZh::Comm1ReceiveData(const std::uint8_t* buffer, std::uint16_t bufferLength) {
    const auto verdict = ReceiveBlock(*Memo1, tables_, std::span(buffer, bufferLength), std::chrono::system_clock::now(),
                                      decoding_);
    if (!verdict) return;
    cycle_.SetStandardLink(frmBwSet->StandardLink());
    cycle_.ReplyArrived(std::span(buffer, bufferLength), *verdict);
}

void TfrmZh::Comm1LineErrors(const LineErrorCounts& counts) {
    const auto now = LineErrorReport::Clock::now();
    if (const auto line = lineErrors_.Add(counts, now)) {
        Memo1->ScrollLogToEnd();
        Memo1->AppendLine(LogColour::Red, *line);
        return;
    }
    if (lineErrorTimer_ == nullptr) {
        lineErrorTimer_ = new QTimer(this);
        lineErrorTimer_->setSingleShot(true);
        lineErrorTimer_->setTimerType(Qt::PreciseTimer);
        connect(lineErrorTimer_, &QTimer::timeout, this, [this] {
            if (const auto line = lineErrors_.Due(LineErrorReport::Clock::now())) {
                Memo1->ScrollLogToEnd();
                Memo1->AppendLine(LogColour::Red, *line);
            }
        });
    }
    if (const auto due = lineErrors_.NextDue(); due && !lineErrorTimer_->isActive())
        lineErrorTimer_->start(std::chrono::ceil<std::chrono::milliseconds>(*due - now));
}

void TfrmZh::Comm1WriteTimeout(std::uint32_t written, std::uint32_t requested) {
    Memo1->ScrollLogToEnd();
    Memo1->AppendLine(LogColour::Red, WriteTimeoutText(written, requested));
}

void TfrmZh::Comm1RequestHangup() {
    // The device is gone (adapter unplugged or failed): showing the port as
    // open would report a dead line as working.
    // A notice still queued from a port the user has closed since changes nothing.
    if (!Comm1.IsOpen()) return;
    const QString port = QString::fromStdString(Comm1.CommName());
    Comm1.ClosePort();
    PortOpen = false;
    ShowPortState(false);
    Memo1->ScrollLogToEnd();
    Memo1->AppendLine(LogColour::Red, QStringLiteral(u"端口%1的设备已失效(适配器被拔出或设备故障)，端口已关闭。").arg(port));
}

}  // namespace tc101
