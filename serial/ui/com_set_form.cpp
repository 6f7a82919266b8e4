#include "serial/ui/com_set_form.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include "serial/port_names.h"
#include "serial/port_settings.h"
#include "serial/ui/integer_spin_box.h"
#include "serial/ui/integer_text.h"
#include "widgets/message_box.h"

namespace tc101 {

namespace {

constexpr QSize kClientSize{332, 259};
constexpr int kButtonBarHeight = 64;
constexpr int kSettingsGroupWidth = 329;
constexpr int kFieldWidth = 145;
constexpr int kFrameDelayStep = 10;
constexpr int kNoEntry = -1;

constexpr std::array kBaudEntries{u"300",  u"600",   u"1200",  u"2400",  u"4800",
                                  u"9600", u"19200", u"38400", u"57600", u"115200"};
constexpr std::array kDataBitsEntries{u"5", u"6", u"7", u"8"};
// The odd entry ends with a blank, as it always has.
constexpr std::array kParityEntries{u"无", u"奇 ", u"偶"};
constexpr std::array kStopBitsEntries{u"1", u"1.5", u"2"};

template <std::size_t N>
QComboBox* MakeList(QWidget* parent, const std::array<const char16_t*, N>& entries, bool editable) {
    auto* list = new QComboBox(parent);
    list->setEditable(editable);
    for (const char16_t* entry : entries) list->addItem(QString::fromUtf16(entry));
    list->setFixedWidth(kFieldWidth);
    return list;
}

QToolButton* MakeBarButton(QWidget* parent, const char16_t* caption, QStyle::StandardPixmap image) {
    auto* button = new QToolButton(parent);
    button->setText(QString::fromUtf16(caption));
    button->setIcon(parent->style()->standardIcon(image));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    return button;
}

// A stored list index, or no selection when the list has no such entry.
int EntryIndex(const QComboBox& list, std::int64_t index) {
    return index >= 0 && index < list.count() ? static_cast<int>(index) : kNoEntry;
}

// Selects the entry with that text, so the open list shows it; any other
// text stands in the field by itself.
void SetFieldText(QComboBox& field, const QString& text) {
    const int entry = field.findText(text);
    if (entry >= 0) field.setCurrentIndex(entry);
    field.setCurrentText(text);
}

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace

TfrmComSet::TfrmComSet(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmComSet"));
    setWindowTitle(QString::fromUtf16(u"通讯参数设置"));
    MakeButtonBar();
    MakeSettingsGroup();
    ListSerialPorts();

    // Fixed size: 332 by 259, or more where the fonts need it.
    const QSize group = Panel1->sizeHint();
    setFixedSize(std::max({kClientSize.width(), group.width(), Panel3->sizeHint().width()}),
                 std::max(kClientSize.height(), kButtonBarHeight + group.height()));
    Panel3->setGeometry(0, 0, width(), kButtonBarHeight);
    Panel1->resize(group);
    CentreSettingsGroup();

    // Queued: a conversion error then reaches the application's handler from
    // an event of its own, not through Qt's mouse handling, which does not
    // unwind cleanly.
    connect(BtnSend, &QToolButton::clicked, this, [this] { BtnSendClick(); }, Qt::QueuedConnection);
    connect(BtnSel, &QToolButton::clicked, this, [this] { reject(); });
    connect(Com_Port, &QComboBox::currentTextChanged, this, [this] { ShowPortPresence(); });
    ShowPortPresence();
}

void TfrmComSet::ShowPortPresence() {
    const std::optional<std::string> missing = MissingDevice(Com_Port->currentText().toStdString());
    QPalette palette = Com_Port->palette();
    if (missing) palette.setColor(QPalette::Text, Qt::red);
    Com_Port->lineEdit()->setPalette(palette);
    Com_Port->setToolTip(missing ? QString::fromUtf16(u"端口不存在: ") + QString::fromStdString(*missing) : QString());
}

void TfrmComSet::MakeButtonBar() {
    auto* bar3 = new QFrame(this);
    // A raised edge sets the bar off from the settings below it.
    bar3->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel3 = bar3;
    Panel3->setObjectName(QStringLiteral("Panel3"));
    BtnSend = MakeBarButton(Panel3, u"确定(&O)", QStyle::SP_DialogApplyButton);
    BtnSel = MakeBarButton(Panel3, u"返回(&B)", QStyle::SP_ArrowBack);
    chkOpen = new QCheckBox(QString::fromUtf16(u"启动时自动打开端口(&A)"), Panel3);
    auto* bar = new QHBoxLayout(Panel3);
    bar->setContentsMargins(4, 2, 8, 2);
    bar->addWidget(BtnSend);
    bar->addWidget(BtnSel);
    bar->addSpacing(12);
    bar->addWidget(chkOpen);
    bar->addStretch();
}

void TfrmComSet::MakeSettingsGroup() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Com_Port = new QComboBox(Panel1);
    Com_Port->setEditable(true);
    Com_Port->setFixedWidth(kFieldWidth);
    Com_baudrate = MakeList(Panel1, kBaudEntries, true);
    com_ByteSize = MakeList(Panel1, kDataBitsEntries, false);
    Com_Parity = MakeList(Panel1, kParityEntries, false);
    Com_StopBits = MakeList(Panel1, kStopBitsEntries, false);
    txtInteval = new IntegerSpinBox(Panel1);
    txtInteval->setSingleStep(kFrameDelayStep);
    txtInteval->setFixedWidth(kFieldWidth);

    // Initial values; showing the dialog loads the stored ones.
    SetFieldText(*Com_Port, Text(kDefaultPort));
    SetFieldText(*Com_baudrate, QString::number(kDefaultBaudRate));
    com_ByteSize->setCurrentIndex(static_cast<int>(kDefaultDataBits - kMinDataBits));
    Com_Parity->setCurrentIndex(static_cast<int>(kDefaultParity));
    Com_StopBits->setCurrentIndex(static_cast<int>(kDefaultStopBits));
    txtInteval->setValue(static_cast<int>(kDefaultRecieveDelay));

    auto* grid = new QGridLayout(Panel1);
    grid->setContentsMargins(0, 8, 0, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(3, 1);
    const std::array<std::pair<const char16_t*, QWidget*>, 6> rows{{
        {u"端口", Com_Port},
        {u"波特率", Com_baudrate},
        {u"数据位", com_ByteSize},
        {u"效验位", Com_Parity},
        {u"停止位", Com_StopBits},
        {u"帧中断延时", txtInteval},
    }};
    int row = 0;
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(QString::fromUtf16(caption), Panel1);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setBuddy(field);
        grid->addWidget(label, row, 1);
        grid->addWidget(field, row, 2);
        ++row;
    }
    auto* unit = new QLabel(QString::fromUtf16(u"毫秒"), Panel1);
    grid->addWidget(unit, row - 1, 3, Qt::AlignLeft | Qt::AlignVCenter);
    chkFrameComplete = new QCheckBox(QString::fromUtf16(u"收齐完整帧即交付(&F)"), Panel1);
    chkFrameComplete->setObjectName(QStringLiteral("chkFrameComplete"));
    chkFrameComplete->setToolTip(
        QString::fromUtf16(u"收到的字节恰为完整的帧时立即交付, 不等帧中断延时; 其他情况仍按帧中断延时分块"));
    grid->addWidget(chkFrameComplete, row, 2, 1, 2);
    Panel1->setMinimumWidth(kSettingsGroupWidth);
}

void TfrmComSet::ListSerialPorts() {
    const QString text = Com_Port->currentText();
    Com_Port->clear();
    for (const std::string& port : tc101::ListSerialPorts()) Com_Port->addItem(QString::fromStdString(port));
    // Clearing the entries does not take the typed name with it.
    SetFieldText(*Com_Port, text);
}

void TfrmComSet::showEvent(QShowEvent* event) {
    LoadSettings();
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    QDialog::showEvent(event);
}

void TfrmComSet::LoadSettings() {
    const IniFile comset = ComSetFile();
    SetFieldText(*Com_Port, Text(comset.ReadString(kComSetSection, kKeyPort, kDefaultPort)));
    SetFieldText(*Com_baudrate,
                 Text(comset.ReadString(kComSetSection, kKeyBaudRate, std::to_string(kDefaultBaudRate))));
    com_ByteSize->setCurrentIndex(
        EntryIndex(*com_ByteSize, comset.ReadInteger(kComSetSection, kKeyByteSize, kDefaultDataBits) - kMinDataBits));
    Com_Parity->setCurrentIndex(EntryIndex(*Com_Parity, comset.ReadInteger(kComSetSection, kKeyParity, kDefaultParity)));
    Com_StopBits->setCurrentIndex(
        EntryIndex(*Com_StopBits, comset.ReadInteger(kComSetSection, kKeyStopBits, kDefaultStopBits)));
    chkOpen->setChecked(comset.ReadBool(kComSetSection, kKeyAutoOpen, false));
    chkFrameComplete->setChecked(comset.ReadBool(kComSetSection, kKeyFrameComplete, false));
    const std::int64_t delay = comset.ReadInteger(kComSetSection, kKeyRecieveDelay, kDefaultRecieveDelay);
    txtInteval->setValue(static_cast<int>(
        std::clamp<std::int64_t>(delay, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void TfrmComSet::BtnSendClick() {
    // A second click queued before the first closed the dialog.
    if (!isVisible()) return;
    // Checked before any key is written: a port that looks dead is worse than no change.
    txtInteval->interpretText();
    if (!FrameDelayUsable(txtInteval->value())) {
        ShowInformation(this, QString::fromUtf8(kFrameDelayRule), QString::fromUtf16(kSystemPromptFullWidth));
        txtInteval->setFocus();
        txtInteval->selectAll();
        return;
    }
    IniFile comset = ComSetFile();
    comset.WriteString(kComSetSection, kKeyPort, Com_Port->currentText().toStdString());
    comset.WriteInteger(kComSetSection, kKeyBaudRate, StrToInt(Com_baudrate->currentText()));
    comset.WriteInteger(kComSetSection, kKeyByteSize, StrToInt(com_ByteSize->currentText()));
    comset.WriteInteger(kComSetSection, kKeyParity, Com_Parity->currentIndex());
    comset.WriteInteger(kComSetSection, kKeyStopBits, Com_StopBits->currentIndex());
    comset.WriteBool(kComSetSection, kKeyAutoOpen, chkOpen->isChecked());
    comset.WriteInteger(kComSetSection, kKeyRecieveDelay, txtInteval->value());
    // Written only once set, so a file that never had it stays as it was.
    if (chkFrameComplete->isChecked() || comset.ReadBool(kComSetSection, kKeyFrameComplete, false))
        comset.WriteBool(kComSetSection, kKeyFrameComplete, chkFrameComplete->isChecked());
    ShowInformation(this, QString::fromUtf16(u"端口设置成功！"), QString::fromUtf16(kSystemPromptFullWidth));
    accept();
}

void TfrmComSet::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (Panel3 != nullptr) Panel3->setGeometry(0, 0, width(), kButtonBarHeight);
    CentreSettingsGroup();
}

void TfrmComSet::CentreSettingsGroup() {
    if (Panel1 == nullptr) return;
    // Centred in the width, and in the height below the button bar; never
    // over the bar when the group is the taller.
    const int left = (width() - Panel1->width()) / 2;
    const int top = kButtonBarHeight + std::max(0, (height() - kButtonBarHeight - Panel1->height()) / 2);
    Panel1->move(left, top);
}

}  // namespace tc101
