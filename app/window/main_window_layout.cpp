// TfrmZh's widgets, menu and status bar, with their captions, order and sizes.

#include <limits>

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "about/about_form.h"
#include "app/window/main_window.h"
#include "export/export_ui.h"
#include "files/ratio_text.h"
#include "traffic/ui/bw_set_form.h"
#include "traffic/ui/manual_analysis.h"
#include "traffic/ui/explanation_tree.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"

namespace tc101 {

namespace {

constexpr int kTopSpacer = 15;
constexpr int kCommandPagesHeight = 94;
constexpr int kNotebookMinHeight = 100;
constexpr int kBottomPanelMinHeight = 80;
constexpr int kIntervalStep = 100;
constexpr std::array<int, kStatusPanelCount> kStatusPanelWidths = {65, 75, 60, 65, 60, 90, 50};
// GrdSend: row number, 报文名称, 报文内容.
constexpr std::array<int, 3> kSendListWidths = {25, 111, 626};

// Every part carries its member's name: the tests find it by that name.
template <typename T>
T* Named(T* part, const char* name) {
    part->setObjectName(QString::fromLatin1(name));
    return part;
}

QSpinBox* Spinner(int value, int step) {
    auto* box = new QSpinBox;
    box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    box->setValue(value);
    box->setSingleStep(step);
    box->setMinimumWidth(80);
    return box;
}

QPushButton* FlatButton(const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setMinimumWidth(90);
    return button;
}

QWidget* Row(std::initializer_list<QWidget*> widgets) {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    for (QWidget* w : widgets) row->addWidget(w);
    row->addStretch();
    return page;
}

void SetUpValueGrid(GridView* grid, const QString& tip) {
    grid->setToolTip(tip);
    grid->SetWholeRowSelection(true);
    grid->SetEditableColumns({});
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
}

}  // namespace

void TfrmZh::BuildMenu() {
    QMenuBar* bar = menuBar();
    const auto item = [](QWidget* menu, const char* name, const char16_t* caption) {
        auto* action = new QAction(QString::fromUtf16(caption), menu);
        menu->addAction(action);
        return Named(action, name);
    };
    BtnOpenCom = item(bar, "BtnOpenCom", u"打开端口(&O)");
    btnCloseCom = item(bar, "btnCloseCom", u"关闭端口(&G)");
    btnPortSet = item(bar, "btnPortSet", u"端口设置(&P)");
    connect(item(bar, "BtnYcYxDef", u"遥测遥信设置(&S)"), &QAction::triggered, this, &TfrmZh::BtnYcYxDefClick);
    connect(item(bar, "N2", u"主站报文设置(&B)"), &QAction::triggered, this, [this] { frmBwSet->exec(); });
    connect(item(bar, "btnProfile", u"规约参数(&C)"), &QAction::triggered, this, &TfrmZh::btnProfileClick);
    connect(item(bar, "btnCommand", u"控制命令(&K)"), &QAction::triggered, this, &TfrmZh::btnCommandClick);
    BtnClear = item(bar, "BtnClear", u"清除报文(&Q)");
    connect(item(bar, "BtnExcel", u"转换为&Excel"), &QAction::triggered, this, [this] { ExportToExcel(tables_, this); });
    QMenu* A2 = Named(bar->addMenu(QStringLiteral(u"帮助(&H)")), "A2");
    connect(item(A2, "btnHelpfile", u"帮助文件(&H)"), &QAction::triggered, this, &TfrmZh::btnHelpfileClick);
    connect(item(A2, "A3", u"关于(&A)"), &QAction::triggered, this, [this] {
        // The box deletes itself when it closes, so it must not live on the stack.
        auto* about = new TAboutfrm(this);
        about->exec();
    });
    connect(item(bar, "btnExit", u"退出(&X)"), &QAction::triggered, this, &QWidget::close);
}

QWidget* TfrmZh::BuildCommandPages() {
    PageControl2 = new QTabWidget;
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    PageControl2->setDocumentMode(true);
    PageControl2->setFixedHeight(kCommandPagesHeight);

    cbxMlzz = Named(new QCheckBox(QStringLiteral(u"模拟主站(&M)")), "cbxMlzz");
    txtAdd = Named(new AddressListBox, "txtAdd");
    txtAdd->setValue(1);
    txtAdd->setMinimumWidth(80);
    txtInteval1 = Named(Spinner(1000, kIntervalStep), "txtInteval1");
    BtnLL = Named(FlatButton(QStringLiteral(u"链路状态(&L)")), "BtnLL");
    Btn1J = Named(FlatButton(QStringLiteral(u"一级数据(&Y)")), "Btn1J");
    Btn2J = Named(FlatButton(QStringLiteral(u"二级数据(&J)")), "Btn2J");
    BtnZZ = Named(FlatButton(QStringLiteral(u"总召(&V)")), "BtnZZ");
    PageControl2->addTab(Row({cbxMlzz, new QLabel(QStringLiteral(u"设备地址")), txtAdd,
                              new QLabel(QStringLiteral(u"间隔(毫秒)")), txtInteval1, BtnLL, Btn1J, Btn2J, BtnZZ}),
                         QStringLiteral(u"常用召唤方式(&W)"));

    cekSend2 = Named(new QCheckBox(QStringLiteral(u"连续发送(&T)")), "cekSend2");
    txtInteval2 = Named(Spinner(1000, kIntervalStep), "txtInteval2");
    cekCircle = Named(new QCheckBox(QStringLiteral(u"是否循环(&R)")), "cekCircle");
    BtnSend = Named(FlatButton(QStringLiteral(u"发送(&F)")), "BtnSend");
    BtnUpdate = Named(FlatButton(QStringLiteral(u"报文维护(&U)")), "BtnUpdate");
    PageControl2->addTab(Row({cekSend2, new QLabel(QStringLiteral(u"间隔(毫秒)")), txtInteval2, cekCircle, BtnSend,
                              BtnUpdate}),
                         QStringLiteral(u"自定义召唤方式(&M)"));

    auto* BtnAnalyze = Named(FlatButton(QStringLiteral(u"分析(&T)")), "BtnAnalyze");
    auto* BtnRefresh = Named(FlatButton(QStringLiteral(u"刷新(&R)")), "BtnRefresh");
    connect(BtnAnalyze, &QPushButton::clicked, this, [this] {
        AnalyzePane(*memoAna, *Memo1, tables_, station_->Decoding(), station_->Profile(), TreeAna);
    });
    connect(BtnRefresh, &QPushButton::clicked, this, [this] { NormalizeHexPane(*memoAna); });
    PageControl2->addTab(Row({BtnAnalyze, BtnRefresh}), QStringLiteral(u"报文分析(&N)"));
    return PageControl2;
}

QWidget* TfrmZh::BuildNotebook() {
    Notebook1 = Named(new QStackedWidget, "Notebook1");
    Notebook1->setMinimumHeight(kNotebookMinHeight);
    for (int col = 0; col < static_cast<int>(kSendListWidths.size()); ++col)
        sendList_.SetColWidth(col, kSendListWidths[static_cast<std::size_t>(col)]);
    GrdSend = new GridView(sendList_);
    GrdSend->setObjectName(QStringLiteral("GrdSend"));
    GrdSend->SetWholeRowSelection(true);
    GrdSend->SetEditableColumns({1, 2});
    GrdSend->SetLeftAligned(true);
    Notebook1->addWidget(GrdSend);

    auto* group = new QGroupBox(QStringLiteral(u"分析的报文"));
    memoAna = new QPlainTextEdit;
    memoAna->setObjectName(QStringLiteral("memoAna"));
    TreeAna = new ExplanationTree;
    auto* panes = new QSplitter(Qt::Horizontal);
    panes->setChildrenCollapsible(false);
    panes->addWidget(memoAna);
    panes->addWidget(TreeAna);
    panes->setStretchFactor(0, 1);
    panes->setStretchFactor(1, 2);
    auto* box = new QVBoxLayout(group);
    box->addWidget(panes);
    Notebook1->addWidget(group);
    return Notebook1;
}

QWidget* TfrmZh::BuildTablePages() {
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    GrdYC = Named(new GridView(tables_.GrdYC), "GrdYC");
    GrdYX = Named(new GridView(tables_.GrdYX), "GrdYX");
    auto* GrdSJ = Named(new GridView(tables_.GrdSJ), "GrdSJ");
    SetUpValueGrid(GrdYC, QStringLiteral(u"遥测量"));
    GrdYC->Model()->SetTitleToolTip(kYcRatioCol, QString::fromUtf16(kRatioColumnTip));
    SetUpValueGrid(GrdYX, QStringLiteral(u"遥信量"));
    SetUpValueGrid(GrdSJ, QStringLiteral(u"事件纪录"));
    PageControl1->addTab(GrdYC, QStringLiteral(u"遥测(F2)"));
    PageControl1->addTab(GrdYX, QStringLiteral(u"遥信(F3)"));
    PageControl1->addTab(GrdSJ, QStringLiteral(u"事件记录(F4)"));

    auto* PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
    C2 = Named(PopupMenu1->addAction(QStringLiteral(u"清除(&C)")), "C2");
    for (GridView* grid : {GrdYC, GrdYX, GrdSJ}) {
        connect(grid, &QWidget::customContextMenuRequested, this, [this, grid, PopupMenu1](const QPoint& at) {
            PopupMenu1Popup();
            PopupMenu1->exec(grid->viewport()->mapToGlobal(at));
        });
    }
    connect(C2, &QAction::triggered, this, [this] { tables_.ClearValueTable(PageControl1->currentIndex()); });
    return PageControl1;
}

QWidget* TfrmZh::BuildBottomPanel() {
    PnlSee = new QWidget;
    PnlSee->setObjectName(QStringLiteral("PnlSee"));
    PnlSee->setMinimumHeight(kBottomPanelMinHeight);
    auto* box = new QVBoxLayout(PnlSee);
    box->setContentsMargins(0, 0, 0, 0);
    Memo1 = new TrafficLog;
    box->addWidget(Memo1);
    return PnlSee;
}

void TfrmZh::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (std::size_t i = 0; i < statusPanels_.size(); ++i) {
        auto* panel = new QLabel;
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(kStatusPanelWidths[i]);
        bar->addWidget(panel);
        statusPanels_[i] = panel;
    }
    profilePanel_ = new QLabel;
    profilePanel_->setObjectName(QStringLiteral("ProfilePanel"));
    profilePanel_->setAlignment(Qt::AlignCenter);
    profilePanel_->setFrameShape(QFrame::Panel);
    profilePanel_->setFrameShadow(QFrame::Sunken);
    profilePanel_->setToolTip(QStringLiteral(u"规约参数: 链路地址/传送原因/公共地址/信息体地址的字节数"));
    linkStatsPanel_ = new QLabel;
    linkStatsPanel_->setObjectName(QStringLiteral("LinkStatsPanel"));
    linkStatsPanel_->setAlignment(Qt::AlignCenter);
    linkStatsPanel_->setFrameShape(QFrame::Panel);
    linkStatsPanel_->setFrameShadow(QFrame::Sunken);
    linkStatsPanel_->setToolTip(
        QStringLiteral(u"响应时间 (报文发完到应答首字节): 最近一次/平均; 超时次数. 清除报文 清零"));
    bar->addPermanentWidget(linkStatsPanel_);
    bar->addPermanentWidget(profilePanel_);
}

void TfrmZh::SetupLayout() {
    setWindowTitle(QString::fromUtf16(kMainWindowCaption));
    setMinimumSize(700, 500);
    resize(831, 656);
    BuildMenu();
    // Wider than designed when the menu needs it, so 帮助 and 退出 never hide
    // behind the menu bar's overflow arrow.
    if (const int menuWidth = menuBar()->sizeHint().width(); menuWidth > width()) resize(menuWidth, height());

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, kTopSpacer, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildCommandPages());
    splitter_ = new QSplitter(Qt::Vertical);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(BuildNotebook());
    splitter_->addWidget(BuildTablePages());
    splitter_->addWidget(BuildBottomPanel());
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setStretchFactor(2, 0);
    column->addWidget(splitter_, 1);
    setCentralWidget(central);
    BuildStatusBar();

    TimerZZ = Named(new QTimer(this), "TimerZZ");
    TimerZZ->setTimerType(Qt::PreciseTimer);
    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);
}

}  // namespace tc101
