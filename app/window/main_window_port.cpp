// TfrmZh's port commands, port state and the serial component's events.

#include <chrono>
#include <memory>
#include <span>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>

#include "app/window/main_window.h"
#include "serial/comms_error.h"
#include "serial/port_settings.h"
#include "serial/tcp_port_name.h"
#include "serial/ui/com_set_form.h"
#include "traffic/frame_complete_check.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/application.h"
#include "widgets/message_box.h"


namespace tc101 {

namespace {
constexpr int kPanelPadding = 20;
}  // namespace

bool TfrmZh::OpenComm1() {
    PortSettings settings = ReadPortSettings(ComSetFile());
    if (!sessionPort_.empty()) settings.port = sessionPort_;
    ApplyPortSettings(settings, Comm1);
    frameComplete_ = settings.frameComplete;
    Comm1.SetBlockEndCheck(FrameCompleteCheck(frameComplete_, station_->Profile().sizes.linkAddress));
    if (IsTcpPortName(settings.port)) {
        ConnectInBackground(settings.port, settings.recieveDelay);
        return false;
    }
    Comm1.OpenPort();
    station_->PortOpened(settings.recieveDelay);
    return true;
}

void TfrmZh::ConnectInBackground(const std::string& port, std::int64_t frameDelay) {
    // The outcome crosses to this thread as a queued call; the job is joined
    // here, or in the destructor, before that call could outlive the window.
    connecting_ = std::make_unique<TcpConnectJob>(
        port, std::chrono::milliseconds(Comm1.ConnectTimeoutMs()), [this, frameDelay](TcpConnectJob::Outcome outcome) {
            auto held = std::make_shared<TcpConnectJob::Outcome>(std::move(outcome));
            QMetaObject::invokeMethod(
                this, [this, held, frameDelay] { FinishConnecting(std::move(*held), frameDelay); },
                Qt::QueuedConnection);
        });
    BtnOpenCom->setEnabled(false);
    btnPortSet->setEnabled(false);
    statusPanels_[kPortPanelCount - 1]->setText(QStringLiteral(u" 端口状态: 正在连接 "));
    FitStatusPanels();
}

void TfrmZh::FinishConnecting(TcpConnectJob::Outcome outcome, std::int64_t frameDelay) {
    connecting_.reset();
    try {
        if (!outcome.error.empty()) throw ECommsError(outcome.error);
        Comm1.OpenPortOn(std::move(outcome.socket));
        portOpen_ = true;
        station_->PortOpened(frameDelay);
    } catch (const std::exception& error) {
        portOpen_ = false;
        ShowError(this, ErrorBoxText(QString::fromUtf8(error.what())));
    }
    ShowPortState(portOpen_);
}

void TfrmZh::BtnOpenComClick() {
    portOpen_ = OpenComm1();
    if (!connecting_) ShowPortState(portOpen_);
}

void TfrmZh::btnCloseComClick() {
    Comm1.ClosePort();
    portOpen_ = false;
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
    ShowBalancedButtons();
    if (!open && linkTimer_) linkTimer_->stop();
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
    station_->Received(std::span(buffer, bufferLength), std::chrono::system_clock::now(), Comm1.BlockFirstOctet());
    ShowLinkStatistics();
    if (station_->Balanced()) ArmLinkTimer();
}

void TfrmZh::Comm1LineErrors(const LineErrorCounts& counts) {
    const auto now = MasterStation::Clock::now();
    station_->LineErrors(counts, now);
    const auto due = station_->NextLineErrorDue();
    if (!due) return;
    if (lineErrorTimer_ == nullptr) {
        lineErrorTimer_ = new QTimer(this);
        lineErrorTimer_->setSingleShot(true);
        lineErrorTimer_->setTimerType(Qt::PreciseTimer);
        connect(lineErrorTimer_, &QTimer::timeout, this,
                [this] { station_->ShowDueLineErrors(MasterStation::Clock::now()); });
    }
    if (!lineErrorTimer_->isActive())
        lineErrorTimer_->start(std::chrono::ceil<std::chrono::milliseconds>(*due - now));
}

void TfrmZh::Comm1WriteTimeout(std::uint32_t written, std::uint32_t requested) {
    station_->WriteTimedOut(written, requested);
}

void TfrmZh::Comm1RequestHangup() {
    // The device is gone (adapter unplugged or failed): showing the port as
    // open would report a dead line as working.
    // A notice still queued from a port the user has closed since changes nothing.
    if (!Comm1.IsOpen()) return;
    const QString port = QString::fromStdString(Comm1.CommName());
    Comm1.ClosePort();
    portOpen_ = false;
    ShowPortState(false);
    Memo1->ScrollLogToEnd();
    Memo1->AppendLine(LogColour::Red, QStringLiteral(u"端口%1的设备已失效(适配器被拔出或设备故障)，端口已关闭。").arg(port));
}

}  // namespace tc101
