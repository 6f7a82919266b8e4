#include "traffic/ui/bw_set_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "files/app_paths.h"
#include "files/bw_set_keys.h"
#include "files/ini_file.h"
#include "files/table_tools.h"
#include "traffic/master_settings.h"
#include "widgets/application.h"
#include "widgets/dialog_buttons.h"
#include "widgets/form_geometry.h"
#include "widgets/grid_view.h"
#include "widgets/message_box.h"

namespace tc101 {

namespace {

constexpr int kDesignWidth = 491;
constexpr int kDesignHeight = 416;
constexpr char kFormName[] = "frmBwSet";

// Longest text the value editors accept: up to 255 in decimal.
constexpr int kHexCellLength = 2;
constexpr int kDecimalCellLength = 3;

constexpr std::array kShortLabels{u"链路数据状态", u"一级数据", u"二级数据"};
constexpr std::array kZZLabels{u"控制域",           u"类型标识(召唤)",    u"可变结构限定词",
                               u"传送原因(激活)",   u"信息体地址(低位)", u"信息体地址(高位)",
                               u"召唤遥信遥测BCD码命令限定词"};
static_assert(kShortLabels.size() == kShortRequestRows && kZZLabels.size() == kInterrogationRows);

std::string Utf8(const char16_t* text) { return QString::fromUtf16(text).toStdString(); }

void FillLabels(Table& table, std::span<const char16_t* const> labels) {
    for (size_t i = 0; i < labels.size(); ++i) table.SetCell(kBwLabelCol, static_cast<int>(i) + 1, Utf8(labels[i]));
}

// The values go into the value column from row 1 on, as hex; a value that
// could not be read leaves its cell empty.
template <std::size_t N>
void ShowValues(Table& table, const std::array<SettingValue, N>& values) {
    for (std::size_t i = 0; i < N; ++i)
        table.SetCell(kBwValueCol, static_cast<int>(i) + 1, values[i] ? TwoDigitHex(*values[i]) : std::string());
}

template <std::size_t N>
std::array<SettingValue, N> ReadValues(const Table& table, ValueDisplay display) {
    std::array<SettingValue, N> values{};
    for (std::size_t i = 0; i < N; ++i) values[i] = ReadCell(table.Cell(kBwValueCol, static_cast<int>(i) + 1), display);
    return values;
}

void ConvertCells(Table& table, std::string (*convert)(std::string_view)) {
    for (int row = 1; row < table.RowCount(); ++row)
        table.SetCell(kBwValueCol, row, convert(table.Cell(kBwValueCol, row)));
}

void NormalizeCells(Table& table, ValueDisplay display) {
    for (int row = 1; row < table.RowCount(); ++row)
        table.SetCell(kBwValueCol, row, NormalizedCell(table.Cell(kBwValueCol, row), display));
}

}  // namespace

TfrmBwSet::TfrmBwSet(QWidget* parent)
    : QDialog(parent), shortCells_(3, kShortRequestRows + 1), zzCells_(3, kInterrogationRows + 1) {
    setObjectName(QString::fromLatin1(kFormName));
    setWindowTitle(QString::fromUtf16(u"报文设置"));
    BuildLayout();
    FormCreate();
}

// The grids read the tables until they are gone, and the tables (members)
// die before QDialog's destructor would delete its children.
TfrmBwSet::~TfrmBwSet() { delete PageControl1; }

void TfrmBwSet::BuildLayout() {
    const OkBackButtons buttons = MakeOkBackButtons(this);
    btnOk = buttons.ok;
    btnBack = buttons.back;

    grdShort = new GridView(shortCells_);
    GrdZZ = new GridView(zzCells_);
    for (GridView* grid : {grdShort, GrdZZ}) {
        grid->SetWholeRowSelection(false);
        grid->SetEditableColumns({kBwValueCol});
    }
    PageControl1 = new QTabWidget(this);
    PageControl1->addTab(grdShort, QString::fromUtf16(u"常用短报文(&S)"));
    PageControl1->addTab(GrdZZ, QString::fromUtf16(u"总召(&Z)"));

    rbHex = new QRadioButton(QString::fromUtf16(u" 十六进制(&H)"), this);
    rbDec = new QRadioButton(QString::fromUtf16(u" 十进制(&J)"), this);
    rbHex->setChecked(true);
    auto* group = new QButtonGroup(this);
    group->addButton(rbHex);
    group->addButton(rbDec);
    auto* modes = new QHBoxLayout;
    modes->addWidget(rbHex);
    modes->addWidget(rbDec);
    // Beyond the plain master: FCB alternation, reset after the link status,
    // acknowledgements followed by class 1 or 2 as ACD says.
    chkStandardLink = new QCheckBox(QString::fromUtf16(u"标准链路规程(&F)"), this);
    chkStandardLink->setToolTip(QString::fromUtf16(u"FCB翻转；链路状态后复位远方链路；确认帧按ACD召唤"));
    modes->addWidget(chkStandardLink);
    // Link monitoring: silent requests in a row after which a device is lost.
    spnLostAfter = new QSpinBox(this);
    spnLostAfter->setObjectName(QStringLiteral("spnLostAfter"));
    spnLostAfter->setRange(1, kMaxLostAfter);
    spnLostAfter->setToolTip(QString::fromUtf16(u"连续这么多次请求无应答, 设备即为失联(数据列显示为灰色)"));
    auto* lostLabel = new QLabel(QString::fromUtf16(u"失联次数(&L)"), this);
    lostLabel->setBuddy(spnLostAfter);
    modes->addWidget(lostLabel);
    modes->addWidget(spnLostAfter);
    modes->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons.row);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(modes);

    connect(btnOk, &QPushButton::clicked, this, [this] { RunCommand([this] { BtnOkClick(); }); });
    connect(btnBack, &QPushButton::clicked, this, [this] { close(); });
    connect(rbHex, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetDisplay(ValueDisplay::Hex);
    });
    connect(rbDec, &QRadioButton::toggled, this, [this](bool on) {
        if (on) SetDisplay(ValueDisplay::Decimal);
    });
    for (GridView* grid : {grdShort, GrdZZ})
        connect(grid->model(), &QAbstractItemModel::dataChanged, this, &TfrmBwSet::SettingsChanged);
    connect(chkStandardLink, &QCheckBox::toggled, this, &TfrmBwSet::SettingsChanged);
    connect(spnLostAfter, &QSpinBox::valueChanged, this, &TfrmBwSet::SettingsChanged);
}

void TfrmBwSet::FormCreate() {
    resize(kDesignWidth, kDesignHeight);
    RestoreFormSize(*this, kFormName);

    shortCells_.SetCell(kBwLabelCol, 0, Utf8(u"报文类型"));
    shortCells_.SetCell(kBwValueCol, 0, Utf8(u"控制字"));
    zzCells_.SetCell(kBwLabelCol, 0, Utf8(u"含义"));
    zzCells_.SetCell(kBwValueCol, 0, Utf8(u"      值      "));
    FillLabels(shortCells_, kShortLabels);
    FillLabels(zzCells_, kZZLabels);
    const QFontMetrics metrics = grdShort->fontMetrics();
    const TextWidth textWidth = [&metrics](const std::string& text) {
        return metrics.horizontalAdvance(QString::fromStdString(text));
    };
    // The number column is fitted too: the grid's default width leaves it half empty.
    for (Table* table : {&shortCells_, &zzCells_}) {
        NumberFixedColumn(*table);
        AutoSizeColumns(*table, {0, kBwLabelCol, kBwValueCol}, textWidth);
    }

    const MasterSettings stored = ReadMasterSettings();
    ShowValues(shortCells_, stored.shortValues);
    ShowValues(zzCells_, stored.interrogationValues);
    chkStandardLink->setChecked(stored.standardLink);
    spnLostAfter->setValue(stored.lostAfter);
    ApplyEditLimits();
}

// Values, not texts: in the decimal display "73" is 0x49.
MasterSettings TfrmBwSet::Settings() const {
    MasterSettings settings;
    settings.shortValues = ReadValues<kShortRequestRows>(shortCells_, display_);
    settings.interrogationValues = ReadValues<kInterrogationRows>(zzCells_, display_);
    settings.standardLink = chkStandardLink->isChecked();
    settings.lostAfter = spnLostAfter->value();
    return settings;
}

std::array<std::uint8_t, kFixedFrameSize> TfrmBwSet::ShortRequestFrame(ShortRequest request,
                                                                        std::int64_t address) const {
    return BuildShortRequest(Settings().shortValues[static_cast<std::size_t>(request) - 1], address);
}

std::array<std::uint8_t, kInterrogationFrameSize> TfrmBwSet::InterrogationFrame(std::int64_t address,
                                                                                 CellFallback fallback) const {
    return BuildInterrogation(Settings().interrogationValues, address, fallback);
}

void TfrmBwSet::BtnOkClick() {
    // A value being typed counts as entered.
    for (GridView* grid : {grdShort, GrdZZ}) grid->CommitEdit();
    // A cell that cannot be read is stored, and then shown, as 0.
    const MasterSettings settings = Settings();
    NormalizeCells(shortCells_, display_);
    NormalizeCells(zzCells_, display_);
    IniFile ini(AppFile(kBwSetIniName));
    WriteMasterSettings(ini, settings);
    ShowInformation(this, QString::fromUtf16(u"召唤报文设置成功！"), QString::fromUtf16(kSystemPromptFullWidth));
}

bool TfrmBwSet::StandardLink() const { return chkStandardLink->isChecked(); }

void TfrmBwSet::SetDisplay(ValueDisplay display) {
    if (display == display_) return;
    display_ = display;
    const auto convert = display == ValueDisplay::Decimal ? &HexCellToDecimal : &DecimalCellToHex;
    ConvertCells(shortCells_, convert);
    ConvertCells(zzCells_, convert);
    ApplyEditLimits();
    Q_EMIT SettingsChanged();
}

void TfrmBwSet::ApplyEditLimits() {
    const int length = display_ == ValueDisplay::Decimal ? kDecimalCellLength : kHexCellLength;
    for (GridView* grid : {grdShort, GrdZZ}) grid->SetMaxLength(kBwValueCol, length);
}

void TfrmBwSet::ReturnToHex() {
    rbHex->setChecked(true);  // converts through the toggle when decimal was on
    SetDisplay(ValueDisplay::Hex);
}

void TfrmBwSet::showEvent(QShowEvent* event) {
    ReturnToHex();
    QDialog::showEvent(event);
}

void TfrmBwSet::closeEvent(QCloseEvent* event) {
    ReturnToHex();
    QDialog::closeEvent(event);
}

void TfrmBwSet::done(int result) {
    ReturnToHex();
    QDialog::done(result);
}

}  // namespace tc101
