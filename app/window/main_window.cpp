#include "app/window/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

#include "app/window/help_file.h"
#include "app/window/window_settings.h"
#include "files/comset_keys.h"
#include "files/table_file.h"
#include "files/table_tools.h"
#include "serial/port_settings.h"
#include "traffic/frame_complete_check.h"
#include "traffic/link_stats_text.h"
#include "traffic/session_capture.h"
#include "traffic/ui/bw_set_form.h"
#include "traffic/ui/capture_menu_item.h"
#include "traffic/ui/profile_dialog.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/application.h"
#include "widgets/form_geometry.h"
#include "widgets/grid_view.h"
#include "widgets/key_shortcut.h"
#include "widgets/message_box.h"


namespace tc101 {

namespace {

constexpr char kFormSection[] = "frmZh";
// FormResize leaves this much beside the send list's content column.
constexpr int kSendListSlack = 30;
constexpr int kCommandPageCount = 3;
constexpr int kProfilePanelPadding = 20;

void FitColumns(Table& table, const GridView& grid, const std::vector<int>& columns) {
    const QFontMetrics metrics(grid.font());
    AutoSizeColumns(table, columns,
                    [&metrics](const std::string& text) { return metrics.horizontalAdvance(QString::fromStdString(text)); });
}

}  // namespace

TfrmZh::TfrmZh(QWidget* parent)
    : QMainWindow(parent), noticeSink_(PortSlot()), Comm1(noticeSink_), sendList_(3, 2) {
    setObjectName(QStringLiteral("frmZh"));
    sendList_.SetCell(kSendNameCol, 0, "报文名称");
    sendList_.SetCell(kSendContentCol, 0, "报文内容");
    SetComm1Properties(Comm1);
    Comm1.OnReceiveData = [this](const std::uint8_t* buffer, std::uint16_t length) { Comm1ReceiveData(buffer, length); };
    Comm1.OnRequestHangup = [this] { Comm1RequestHangup(); };
    Comm1.OnLineErrors = [this](const LineErrorCounts& counts) { Comm1LineErrors(counts); };
    Comm1.OnWriteTimeout = [this](std::uint32_t written, std::uint32_t requested) { Comm1WriteTimeout(written, requested); };
    Comm1.OnFrameLeft = [this](TComm::SteadyTime at, std::uint32_t) {
        station_->Link().Statistics().FrameLeft(at);
        ShowLinkStatistics();
    };
    SetupLayout();
    station_ = std::make_unique<MasterStation>(Comm1, *Memo1, tables_);
    ShowLinkStatistics();
    // The log's item that saves the station's frames as a capture file.
    new CaptureMenuItem(*Memo1, station_->Capture(), [this] { return Comm1.CommName(); });

    connect(BtnOpenCom, &QAction::triggered, this, &TfrmZh::BtnOpenComClick);
    connect(btnCloseCom, &QAction::triggered, this, &TfrmZh::btnCloseComClick);
    connect(btnPortSet, &QAction::triggered, this, &TfrmZh::btnPortSetClick);
    connect(BtnUpdate, &QPushButton::clicked, this, &TfrmZh::BtnUpdateClick);
    connect(BtnClear, &QAction::triggered, Memo1, &TrafficLog::ClearLog);
    connect(BtnClear, &QAction::triggered, this, [this] {
        station_->Link().Reset();
        ShowLinkStatistics();
    });
    connect(PageControl2, &QTabWidget::currentChanged, this, &TfrmZh::PageControl2Change);
    connect(cbxMlzz, &QCheckBox::clicked, this, &TfrmZh::cbxMlzzClick);
    connect(cekSend2, &QCheckBox::clicked, this, &TfrmZh::cekSend2Click);
    ConnectPolling();
    // A hidden list has no width of its own at first: it is fitted when it gets one.
    GrdSend->installEventFilter(this);
    ConnectFunctionKeys();

    FormCreate();
    frmBwSet = new TfrmBwSet(this);
    // The dialog's cells are live: an edit is used at once, saved or not.
    station_->SetSettings(frmBwSet->Settings());
    connect(frmBwSet, &TfrmBwSet::SettingsChanged, this, [this] { station_->SetSettings(frmBwSet->Settings()); });
}

TfrmZh::~TfrmZh() {
    // The grids show tables_ that are members: they must go before the members do.
    Comm1.ClosePort();
    delete takeCentralWidget();
}

void TfrmZh::FormCreate() {
    station_->SetDecoding(ReadDecodingSettings());
    Memo1->CaptureSessionTo(SessionLogFolder());
    const StoredLinkProfile stored = ReadLinkProfile();
    SetLinkProfile(stored.profile);
    for (const std::string& fault : stored.faults) Memo1->AppendLine(LogColour::Red, fault);
    RestoreFormSize(*this, kFormSection);
    const WindowSettings settings = ReadWindowSettings(ComSetFile());
    PnlSee->setVisible(settings.bsee);
    BtnClear->setVisible(settings.bsee);
    if (settings.bsee) SetLogHeight(static_cast<int>(settings.height));
    txtInteval1->setValue(static_cast<int>(settings.timeInteval1));
    txtInteval2->setValue(static_cast<int>(settings.timeInteval2));
    cekCircle->setChecked(settings.isCircle);
    SetNotebookHeight(static_cast<int>(settings.noteBookHeight));
    const QSignalBlocker quiet(PageControl2);
    if (settings.pageIndex >= 0 && settings.pageIndex < kCommandPageCount)
        PageControl2->setCurrentIndex(static_cast<int>(settings.pageIndex));
    // A stored page outside 0 to 2 keeps the first page, with its notebook state.
    const int page = PageControl2->currentIndex();
    SetSplitter1Visible(page != 0);
    if (page != 0) Notebook1->setCurrentIndex(page - 1);
    txtAdd->setValue(static_cast<int>(settings.address));
    if (!settings.addressList.empty()) txtAdd->SetListText(QString::fromStdString(settings.addressList));
}

void TfrmZh::SetLinkProfile(const LinkProfile& profile) {
    const bool wasBalanced = station_->Balanced();
    station_->SetProfile(profile);
    if (wasBalanced && !station_->Balanced())
        for (QPushButton* button : {Btn1J, Btn2J}) button->setEnabled(portOpen_ && !cbxMlzz->isChecked());
    ShowBalancedButtons();
    txtAdd->SetLinkOctets(profile.sizes.linkAddress);
    Memo1->SetExplanationOptions(ExplainOptionsFor(profile));
    profilePanel_->setText(ProfilePanelText(profile));
    const QFontMetrics metrics(statusBar()->font());
    profilePanel_->setFixedWidth(metrics.horizontalAdvance(profilePanel_->text()) + kProfilePanelPadding);
    if (Comm1.IsOpen()) Comm1.SetBlockEndCheck(FrameCompleteCheck(frameComplete_, profile.sizes.linkAddress));
}

void TfrmZh::ShowLinkStatistics() {
    linkStatsPanel_->setText(QString::fromStdString(LinkPanelText(station_->Link().Statistics())));
}

void TfrmZh::btnProfileClick() {
    ProfileDialog dialog(station_->Profile(), this);
    if (dialog.exec() == QDialog::Accepted) SetLinkProfile(dialog.Profile());
}

bool TfrmZh::Splitter1Visible() const { return Notebook1->isVisibleTo(this); }

void TfrmZh::SetSplitter1Visible(bool visible) {
    if (visible == Notebook1->isVisibleTo(this)) return;
    // The area comes back at the height it had, as a hidden panel keeps its size.
    if (!visible) notebookHeight_ = NotebookHeight();
    Notebook1->setVisible(visible);
    if (visible) SetNotebookHeight(notebookHeight_);
}

void TfrmZh::SetNotebookHeight(int height) {
    QList<int> sizes = splitter_->sizes();
    sizes[0] = height;
    splitter_->setSizes(sizes);
    notebookHeight_ = height;
}

int TfrmZh::NotebookHeight() const { return Notebook1->isVisible() ? Notebook1->height() : notebookHeight_; }

void TfrmZh::SetLogHeight(int height) {
    QList<int> sizes = splitter_->sizes();
    sizes[2] = height;
    splitter_->setSizes(sizes);
    logHeight_ = height;
}

int TfrmZh::LogHeight() const { return PnlSee->isVisible() ? PnlSee->height() : logHeight_; }

void TfrmZh::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TfrmZh::FormShow() {
    RestoreFormSize(*this, kFormSection);
    SetNotebookHeight(notebookHeight_);
    if (PnlSee->isVisibleTo(this)) SetLogHeight(logHeight_);
    ResolveDefFileName();
    LoadValueTables();
    LoadSendList();
    try {
        portOpen_ = AutoOpenEnabled() ? OpenComm1() : false;
    } catch (const std::exception& error) {
        // Reported here rather than thrown through the show machinery; the
        // commands then match the closed port.
        ShowError(this, ErrorBoxText(QString::fromUtf8(error.what())));
        portOpen_ = false;
    }
    if (!connecting_) ShowPortState(portOpen_);
}

void TfrmZh::LoadValueTables() {
    if (LoadTableFile(tables_.GrdYC, std::string(kYcFileName))) FitColumns(tables_.GrdYC, *GrdYC, {1, 2, 3});
    if (LoadTableFile(tables_.GrdYX, std::string(kYxFileName))) FitColumns(tables_.GrdYX, *GrdYX, {1, 2, 3});
}

void TfrmZh::LoadSendList() {
    if (LoadTableFile(sendList_, std::string(kSendFileName))) FitColumns(sendList_, *GrdSend, {kSendNameCol});
    FormResize();
}

void TfrmZh::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

void TfrmZh::FormClose() {
    WindowSettings settings;
    settings.timeInteval1 = txtInteval1->value();
    settings.timeInteval2 = txtInteval2->value();
    settings.isCircle = cekCircle->isChecked();
    settings.noteBookHeight = NotebookHeight();
    settings.address = txtAdd->value();
    settings.addressList = txtAdd->ListText().toStdString();
    settings.pageIndex = PageControl2->currentIndex();
    settings.height = LogHeight();
    // The port is closed and the log kept whatever fails to be written.
    try {
        IniFile comset = ComSetFile();
        WriteWindowSettings(comset, settings);
        Memo1->WriteExitCopy();
        SaveFormSize(*this, kFormSection);
    } catch (const std::exception& error) {
        ShowError(this, QString::fromUtf8(error.what()));
    }
    Comm1.ClosePort();
}

void TfrmZh::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TfrmZh::FormResize() {
    const int width = GrdSend->width() - sendList_.ColWidth(0) - sendList_.ColWidth(kSendNameCol) - kSendListSlack;
    sendList_.SetColWidth(kSendContentCol, width);
}

void TfrmZh::UntickTimedSending() {
    if (cekSend2->isChecked()) {
        cekSend2->setChecked(false);
        cekSend2Click();
    }
    if (cbxMlzz->isChecked()) {
        cbxMlzz->setChecked(false);
        cbxMlzzClick();
    }
}

void TfrmZh::PageControl2Change(int page) {
    if (page != 0) Notebook1->setCurrentIndex(page - 1);
    UntickTimedSending();
    SetSplitter1Visible(page != 0);
}

void TfrmZh::PopupMenu1Popup() { C2->setVisible(ClearItemVisible(tables_, PageControl1->currentIndex())); }

void TfrmZh::SelectTablePage(ValuePage page) { PageControl1->setCurrentIndex(static_cast<int>(page)); }

bool TfrmZh::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GrdSend && event->type() == QEvent::Resize) FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmZh::ConnectFunctionKeys() {
    // With any modifiers, and never to the control that has the focus (F2 does not open a cell).
    const std::pair<Qt::Key, ValuePage> keys[] = {
        {Qt::Key_F2, ValuePage::Yc}, {Qt::Key_F3, ValuePage::Yx}, {Qt::Key_F4, ValuePage::Sj}};
    for (const auto& [key, page] : keys)
        AddKeyShortcut(*this, key, Qt::NoModifier, Qt::WindowShortcut, [this, page] { SelectTablePage(page); });
}

void TfrmZh::btnHelpfileClick() { OpenHelp(this); }

}  // namespace tc101
