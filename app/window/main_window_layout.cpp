// TfrmZh's widgets, menu and status bar, with their captions, order and sizes.

#include <limits>

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

#include "app/window/main_window.h"
#include "traffic/ui/explanation_tree.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/grid_view.h"

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
    BtnOpenCom = bar->addAction(QStringLiteral(u"打开端口(&O)"));
    btnCloseCom = bar->addAction(QStringLiteral(u"关闭端口(&G)"));
    btnPortSet = bar->addAction(QStringLiteral(u"端口设置(&P)"));
    BtnYcYxDef = bar->addAction(QStringLiteral(u"遥测遥信设置(&S)"));
    N2 = bar->addAction(QStringLiteral(u"主站报文设置(&B)"));
    BtnClear = bar->addAction(QStringLiteral(u"清除报文(&Q)"));
    BtnExcel = bar->addAction(QStringLiteral(u"转换为&Excel"));
    A2 = bar->addMenu(QStringLiteral(u"帮助(&H)"));
    btnHelpfile = A2->addAction(QStringLiteral(u"帮助文件(&H)"));
    A3 = A2->addAction(QStringLiteral(u"关于(&A)"));
    btnExit = bar->addAction(QStringLiteral(u"退出(&X)"));
}

QWidget* TfrmZh::BuildCommandPages() {
    PageControl2 = new QTabWidget;
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    PageControl2->setDocumentMode(true);
    PageControl2->setFixedHeight(kCommandPagesHeight);

    cbxMlzz = new QCheckBox(QStringLiteral(u"模拟主站(&M)"));
    txtAdd = Spinner(1, 1);
    txtInteval1 = Spinner(1000, kIntervalStep);
    BtnLL = FlatButton(QStringLiteral(u"链路状态(&L)"));
    Btn1J = FlatButton(QStringLiteral(u"一级数据(&Y)"));
    Btn2J = FlatButton(QStringLiteral(u"二级数据(&J)"));
    BtnZZ = FlatButton(QStringLiteral(u"总召(&V)"));
    PageControl2->addTab(Row({cbxMlzz, new QLabel(QStringLiteral(u"设备地址")), txtAdd,
                              new QLabel(QStringLiteral(u"间隔(毫秒)")), txtInteval1, BtnLL, Btn1J, Btn2J, BtnZZ}),
                         QStringLiteral(u"常用召唤方式(&W)"));

    cekSend2 = new QCheckBox(QStringLiteral(u"连续发送(&T)"));
    txtInteval2 = Spinner(1000, kIntervalStep);
    cekCircle = new QCheckBox(QStringLiteral(u"是否循环(&R)"));
    BtnSend = FlatButton(QStringLiteral(u"发送(&F)"));
    BtnUpdate = FlatButton(QStringLiteral(u"报文维护(&U)"));
    PageControl2->addTab(Row({cekSend2, new QLabel(QStringLiteral(u"间隔(毫秒)")), txtInteval2, cekCircle, BtnSend,
                              BtnUpdate}),
                         QStringLiteral(u"自定义召唤方式(&M)"));

    BtnAnalyze = FlatButton(QStringLiteral(u"分析(&T)"));
    BtnRefresh = FlatButton(QStringLiteral(u"刷新(&R)"));
    PageControl2->addTab(Row({BtnAnalyze, BtnRefresh}), QStringLiteral(u"报文分析(&N)"));
    return PageControl2;
}

QWidget* TfrmZh::BuildNotebook() {
    Notebook1 = new QStackedWidget;
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
    GrdYC = new GridView(tables_.GrdYC);
    GrdYX = new GridView(tables_.GrdYX);
    GrdSJ = new GridView(tables_.GrdSJ);
    SetUpValueGrid(GrdYC, QStringLiteral(u"遥测量"));
    SetUpValueGrid(GrdYX, QStringLiteral(u"遥信量"));
    SetUpValueGrid(GrdSJ, QStringLiteral(u"事件纪录"));
    PageControl1->addTab(GrdYC, QStringLiteral(u"遥测(F2)"));
    PageControl1->addTab(GrdYX, QStringLiteral(u"遥信(F3)"));
    PageControl1->addTab(GrdSJ, QStringLiteral(u"事件记录(F4)"));

    PopupMenu1 = new QMenu(this);
    C2 = PopupMenu1->addAction(QStringLiteral(u"清除(&C)"));
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
}

void TfrmZh::SetupLayout() {
    setWindowTitle(QString::fromUtf16(kMainWindowCaption));
    setMinimumSize(700, 500);
    resize(831, 656);
    BuildMenu();

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

    TimerZZ = new QTimer(this);
    TimerZZ->setTimerType(Qt::PreciseTimer);
    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
}

}  // namespace tc101
