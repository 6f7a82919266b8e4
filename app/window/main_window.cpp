#include "app/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

#include "app/window/help_file.h"
#include "app/window/window_settings.h"
#include "files/comset_keys.h"
#include "about/about_form.h"
#include "export/export_ui.h"
#include "files/table_file.h"
#include "files/table_tools.h"
#include "serial/port_settings.h"
#include "traffic/session_capture.h"
#include "traffic/ui/bw_set_form.h"
#include "traffic/ui/capture_menu_item.h"
#include "traffic/ui/manual_analysis.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/application.h"
#include "widgets/form_geometry.h"
#include "widgets/grid_view.h"
#include "widgets/message_box.h"


namespace tc101 {

namespace {

constexpr char kFormSection[] = "frmZh";
// FormResize leaves this much beside the send list's content column.
constexpr int kSendListSlack = 30;
constexpr int kCommandPageCount = 3;

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
    SetupLayout();
    station_ = std::make_unique<MasterStation>(Comm1, *Memo1, tables_);
    Memo1->SetExplanationOptions(ExplainOptionsFor(station_->Profile()));
    // The log's item that saves the station's frames as a capture file.
    new CaptureMenuItem(*Memo1, station_->Capture(), [this] { return Comm1.CommName(); });

    connect(BtnOpenCom, &QAction::triggered, this, &TfrmZh::BtnOpenComClick);
    connect(btnCloseCom, &QAction::triggered, this, &TfrmZh::btnCloseComClick);
    connect(btnPortSet, &QAction::triggered, this, &TfrmZh::btnPortSetClick);
    connect(BtnYcYxDef, &QAction::triggered, this, &TfrmZh::BtnYcYxDefClick);
    connect(BtnUpdate, &QPushButton::clicked, this, &TfrmZh::BtnUpdateClick);
    connect(N2, &QAction::triggered, this, [this] { frmBwSet->exec(); });
    connect(BtnClear, &QAction::triggered, Memo1, &TrafficLog::ClearLog);
    connect(btnHelpfile, &QAction::triggered, this, &TfrmZh::btnHelpfileClick);
    connect(btnExit, &QAction::triggered, this, &QWidget::close);
    connect(BtnExcel, &QAction::triggered, this, [this] { ExportToExcel(tables_, this); });
    connect(A3, &QAction::triggered, this, [this] {
        // The box deletes itself when it closes, so it must not live on the stack.
        auto* about = new TAboutfrm(this);
        about->exec();
    });
    connect(PageControl2, &QTabWidget::currentChanged, this, &TfrmZh::PageControl2Change);
    connect(cbxMlzz, &QCheckBox::clicked, this, &TfrmZh::cbxMlzzClick);
    connect(cekSend2, &QCheckBox::clicked, this, &TfrmZh::cekSend2Click);
    ConnectPolling();
    connect(BtnAnalyze, &QPushButton::clicked, this, [this] {
        Memo1->SetExplanationOptions(ExplainOptionsFor(station_->Profile()));
        AnalyzePane(*memoAna, *Memo1, tables_, station_->Decoding(), TreeAna);
    });
    connect(BtnRefresh, &QPushButton::clicked, this, [this] { NormalizeHexPane(*memoAna); });
    for (GridView* grid : {GrdYC, GrdYX, GrdSJ}) {
        connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
            PopupMenu1Popup();
            PopupMenu1->exec(grid->viewport()->mapToGlobal(at));
        });
    }
    connect(C2, &QAction::triggered, this, [this] { tables_.ClearValueTable(PageControl1->currentIndex()); });
    qApp->installEventFilter(this);

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
    RestoreFormSize(*this, kFormSection);
    const WindowSettings settings = ReadWindowSettings(ComSetFile());
    logShown_ = settings.bsee;
    PnlSee->setVisible(logShown_);
    BtnClear->setVisible(logShown_);
    if (logShown_) SetLogHeight(static_cast<int>(settings.height));
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
}

bool TfrmZh::Splitter1Visible() const { return splitter1Visible_; }

void TfrmZh::SetSplitter1Visible(bool visible) {
    splitter1Visible_ = visible;
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
    if (logShown_) SetLogHeight(logHeight_);
    ResolveDefFileName();
    LoadValueTables();
    LoadSendList();
    try {
        PortOpen = AutoOpenEnabled() ? OpenComm1() : false;
    } catch (const std::exception& error) {
        // Reported here rather than thrown through the show machinery; the
        // commands then match the closed port.
        ShowError(this, ErrorBoxText(QString::fromUtf8(error.what())));
        PortOpen = false;
    }
    if (!connecting_) ShowPortState(PortOpen);
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
    if (page == 0) {
        splitter1Visible_ = false;
    } else {
        splitter1Visible_ = true;
        Notebook1->setCurrentIndex(page - 1);
    }
    UntickTimedSending();
    SetSplitter1Visible(splitter1Visible_);
}

void TfrmZh::PopupMenu1Popup() { C2->setVisible(ClearItemVisible(tables_, PageControl1->currentIndex())); }

void TfrmZh::SelectTablePage(ValuePage page) { PageControl1->setCurrentIndex(static_cast<int>(page)); }

bool TfrmZh::eventFilter(QObject* watched, QEvent* event) {
    // A hidden list has no width of its own here: fit it when it gets one.
    if (watched == GrdSend && event->type() == QEvent::Resize) FormResize();
    // The window sees F2 to F4 before whichever of its controls has the focus.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_F2: SelectTablePage(ValuePage::Yc); return true;
            case Qt::Key_F3: SelectTablePage(ValuePage::Yx); return true;
            case Qt::Key_F4: SelectTablePage(ValuePage::Sj); return true;
            default: break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmZh::btnHelpfileClick() { OpenHelp(); }

}  // namespace tc101
