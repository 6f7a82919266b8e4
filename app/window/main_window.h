#pragma once

// TfrmZh, the main window: command pages, send list and analysis pane, the
// three value tables, the traffic log and the status bar, and the port
// Comm1 whose notices arrive on this thread. The window wires widgets to
// the core; the work is done by the traffic, protocol and serial layers.

#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <QMainWindow>

#include "app/window/address_list_box.h"
#include "files/send_list_columns.h"
#include "protocol/decoding_settings.h"
#include "protocol/poll_verdict.h"
#include "protocol/table.h"
#include "protocol/value_tables.h"
#include "serial/comm.h"
#include "serial/tcp_connect_job.h"
#include "serial/ui/qt_notice_sink.h"
#include "traffic/master_station.h"

class QAction;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QSplitter;
class QStackedWidget;
class QTabWidget;
class QTimer;

namespace tc101 {

class CommandDialog;
class ExplanationTree;
class GridView;
class TfrmBwSet;
class TrafficLog;

inline constexpr char16_t kMainWindowCaption[] = u"澄风101规约调试工具V2.9";
inline constexpr int kStatusPanelCount = 7;

class TfrmZh : public QMainWindow {
    Q_OBJECT
public:
    // Runs the creation steps, then creates frmBwSet.
    explicit TfrmZh(QWidget* parent = nullptr);
    ~TfrmZh() override;

    bool PortOpen() const { return portOpen_; }
    // NextRequest, ReplyReceived and SilentTicks: the poll decision both timers share.
    PollCycle& Cycle() { return station_->Cycle(); }
    std::optional<MasterRequest> NextRequest() const { return station_->Cycle().NextRequest(); }
    bool ReplyReceived() const { return station_->Cycle().ReplyReceived(); }
    std::uint8_t SilentTicks() const { return station_->Cycle().SilentTicks(); }
    const TComm& Comm() const { return Comm1; }
    // For the tests: what the port's threads post their notices to.
    QtNoticeSink& NoticeSinkForTests() { return noticeSink_; }

    // The tables the grids show: GrdYC, GrdYX, GrdSJ and GrdSend's.
    ValueTables& Tables() { return tables_; }
    Table& SendList() { return sendList_; }

    // Whether Splitter1 (and with it the notebook area) is shown.
    bool Splitter1Visible() const;

    // The port opened for this run instead of comset.ini's (the demo's
    // pseudo-terminal), with the stored line settings; nothing is written back.
    void SetSessionPort(std::string name) { sessionPort_ = std::move(name); }
    // Definitions for this run where the working folder has none (the demo's
    // stand-ins): "遥测遥信设置(&S)" edits them; saving writes the working folder's files.
    void SetStandInDefinitions(std::optional<std::filesystem::path> ycFile, std::optional<std::filesystem::path> yxFile) {
        standInYc_ = std::move(ycFile);
        standInYx_ = std::move(yxFile);
    }

    // The profile frames are built and read with: comset.ini's at start, the
    // dialog's once confirmed; the demo's is for the run (nothing stored).
    void SetLinkProfile(const LinkProfile& profile);
    const LinkProfile& Profile() const { return station_->Profile(); }
    void btnProfileClick();
    // "控制命令(&K)": the command dialog over this window's master station (main_window_command.cpp).
    void btnCommandClick();

    // Port commands and state.
    void BtnOpenComClick();
    void btnCloseComClick();
    void btnPortSetClick();
    void ShowPortState(bool open);
    void FitStatusPanels();
    QString StatusPanelText(int panel) const;
    QLabel* StatusPanel(int panel) const { return statusPanels_.at(static_cast<std::size_t>(panel)); }

    // Serial component events.
    void Comm1ReceiveData(const std::uint8_t* buffer, std::uint16_t bufferLength);
    void Comm1RequestHangup();
    // Line errors as one red line a second at most; a write the time-outs ended.
    void Comm1LineErrors(const LineErrorCounts& counts);
    void Comm1WriteTimeout(std::uint32_t written, std::uint32_t requested);
    // The status bar's link statistics panel from the station's counts.
    void ShowLinkStatistics();

    void PageControl2Change(int page);
    void cbxMlzzClick();
    // Ticks "模拟主站(&M)" as a click does.
    void StartSimulation();
    void cekSend2Click();

    // Polling and sending.
    void SendLinkStatusRequest();
    void SendClass1Request();
    void SendClass2Request();
    void SendGeneralInterrogation();
    void TimerZZTimer();
    // Balanced mode: the link's repeats, loss and idle test run on linkTimer_;
    // class 1 and class 2 requests do not exist.
    void ArmLinkTimer();
    void ShowBalancedButtons();
    void Timer1Timer();
    // Throws HexTextError or EMessageTooLong before anything is sent or logged.
    void SendSelectedMessage();
    void BtnSendClick();
    void GrdSendDblClick();
    void PopupMenu1Popup();
    void SelectTablePage(ValuePage page);
    void btnHelpfileClick();
    // The two editors (main_window_editors.cpp): shown modally, the tables
    // reloaded from their files afterwards.
    void BtnYcYxDefClick();
    void BtnUpdateClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // F2 to F4 select the table pages whichever control has the focus.
    void ConnectFunctionKeys();
    // The sink keeps only a reference to the component built after it.
    TComm& PortSlot() { return Comm1; }
    // Opens Comm1 from the stored settings, or on the session port; true
    // when it is open. A device server's port opens later, off this thread.
    bool OpenComm1();
    void ConnectInBackground(const std::string& port, std::int64_t frameDelay);
    void FinishConnecting(TcpConnectJob::Outcome outcome, std::int64_t frameDelay);
    void SetupLayout();
    void ConnectPolling();
    // Unticks "连续发送(&T)" and shows why sending stopped (one box, not one per tick).
    void StopContinuousSending(const std::exception& error);
    // Unticks "连续发送(&T)" and "模拟主站(&M)", stopping their timers.
    void UntickTimedSending();
    void BuildMenu();
    QWidget* BuildCommandPages();
    QWidget* BuildNotebook();
    QWidget* BuildTablePages();
    QWidget* BuildBottomPanel();
    void BuildStatusBar();
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormResize();
    void LoadValueTables();
    void LoadSendList();
    void SetSplitter1Visible(bool visible);
    void SetNotebookHeight(int height);
    int NotebookHeight() const;
    void SetLogHeight(int height);
    int LogHeight() const;

    // The port (after its sink: it is destroyed first and joins its threads
    // before the sink goes).
    QtNoticeSink noticeSink_;
    TComm Comm1;
    bool portOpen_ = false;

    // Menu.
    QAction* BtnOpenCom = nullptr;
    QAction* btnCloseCom = nullptr;
    QAction* btnPortSet = nullptr;
    QAction* BtnClear = nullptr;

    // Command pages.
    QTabWidget* PageControl2 = nullptr;
    QCheckBox* cbxMlzz = nullptr;
    AddressListBox* txtAdd = nullptr;
    QSpinBox* txtInteval1 = nullptr;
    QPushButton* BtnLL = nullptr;
    QPushButton* Btn1J = nullptr;
    QPushButton* Btn2J = nullptr;
    QPushButton* BtnZZ = nullptr;
    QCheckBox* cekSend2 = nullptr;
    QSpinBox* txtInteval2 = nullptr;
    QCheckBox* cekCircle = nullptr;
    QPushButton* BtnSend = nullptr;
    QPushButton* BtnUpdate = nullptr;

    // Notebook area, tables, log.
    QStackedWidget* Notebook1 = nullptr;
    GridView* GrdSend = nullptr;
    QPlainTextEdit* memoAna = nullptr;
    ExplanationTree* TreeAna = nullptr;  // 报文详解 beside the analysis pane
    QTabWidget* PageControl1 = nullptr;
    GridView* GrdYC = nullptr;
    GridView* GrdYX = nullptr;
    QAction* C2 = nullptr;
    QWidget* PnlSee = nullptr;
    TrafficLog* Memo1 = nullptr;

    QTimer* TimerZZ = nullptr;
    QTimer* Timer1 = nullptr;
    TfrmBwSet* frmBwSet = nullptr;
    CommandDialog* frmCommand = nullptr;  // made at its first use, kept for the session

    ValueTables tables_;
    Table sendList_;
    // Sends, receives and logs; the window connects its widgets to it.
    std::unique_ptr<MasterStation> station_;
    QTimer* lineErrorTimer_ = nullptr;  // shows errors held back when their second is over
    QTimer* linkTimer_ = nullptr;       // the balanced link's next due time
    std::string sessionPort_;
    std::optional<std::filesystem::path> standInYc_;
    std::optional<std::filesystem::path> standInYx_;
    std::unique_ptr<TcpConnectJob> connecting_;  // while a device server's port is being reached
    QSplitter* splitter_ = nullptr;  // its handles are Splitter1 and Splitter2
    std::array<QLabel*, kStatusPanelCount> statusPanels_{};
    QLabel* profilePanel_ = nullptr;  // at the right, apart from the seven
    QLabel* linkStatsPanel_ = nullptr;  // response times and timeouts, beside the profile's
    bool frameComplete_ = false;  // the open port's blocks go up once they hold whole frames
    int notebookHeight_ = 150;
    int logHeight_ = 100;
};

}  // namespace tc101
