#include "traffic/ui/profile_dialog.h"

#include <optional>
#include <stdexcept>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "files/comset_keys.h"
#include "files/ini_text.h"
#include "widgets/application.h"
#include "widgets/dialog_buttons.h"
#include "widgets/message_box.h"

namespace tc101 {

namespace {

// Wider than the allowed sizes, so a wrong size can be typed and is refused with a reason.
constexpr int kMaxSizeEntry = 4;
constexpr int kLegacyItem = 0;
constexpr int kStandardItem = 1;
constexpr int kBalancedItem = 1;
constexpr int kMaxLinkMs = 3'600'000;
constexpr int kMaxRetries = 100;

QSpinBox* NumberBox(int min, int max) {
    auto* box = new QSpinBox;
    box->setRange(min, max);
    return box;
}

QSpinBox* SizeBox(int value) {
    auto* box = new QSpinBox;
    box->setRange(0, kMaxSizeEntry);
    box->setValue(value);
    return box;
}

QString HexText(std::uint32_t value) { return QStringLiteral("0x") + QString::number(value, 16).toUpper(); }

// Decimal or 0x hexadecimal within [0, max]; nothing otherwise.
std::optional<std::uint32_t> AddressValue(const QString& text, std::uint32_t max) {
    const std::string trimmed = text.trimmed().toStdString();
    const auto value = ini::ParseInteger(trimmed);
    if (trimmed.empty() || !value || *value < 0 || *value > max) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

}  // namespace

QString ProfilePanelText(const LinkProfile& profile) {
    QString text = QStringLiteral(u" 规约:") + QString::fromStdString(FieldSizesText(profile.sizes));
    if (profile.decoding == ObjectDecoding::Standard) text += QStringLiteral(u" 标准");
    if (profile.mode == LinkMode::Balanced) text += QStringLiteral(u" 平衡");
    return text;
}

ProfileDialog::ProfileDialog(const LinkProfile& profile, QWidget* parent) : QDialog(parent), profile_(profile) {
    setObjectName(QStringLiteral("frmProfile"));
    setWindowTitle(QString::fromUtf16(kProfileDialogTitle));
    const OkBackButtons buttons = MakeOkBackButtons(this);
    btnOk = buttons.ok;
    btnBack = buttons.back;

    spnLinkAddress = SizeBox(1);
    spnCause = SizeBox(1);
    spnCommonAddress = SizeBox(1);
    spnObjectAddress = SizeBox(2);
    spnOriginator = new QSpinBox;
    spnOriginator->setRange(0, static_cast<int>(kMaxOriginator));
    txtCommonAddress = new QLineEdit;
    txtCommonAddress->setPlaceholderText(QStringLiteral(u"空: 设备地址"));
    cmbDecoding = new QComboBox;
    cmbDecoding->addItem(QStringLiteral(u"原有规则 (legacy)"));
    cmbDecoding->addItem(QStringLiteral(u"标准 (standard)"));
    txtYxBase = new QLineEdit;
    txtYcBase = new QLineEdit;
    cmbMode = new QComboBox;
    cmbMode->setObjectName(QStringLiteral("cmbMode"));
    cmbMode->addItem(QStringLiteral(u"非平衡 (unbalanced)"));
    cmbMode->addItem(QStringLiteral(u"平衡 (balanced)"));
    txtOtherAddress = new QLineEdit;
    txtOtherAddress->setObjectName(QStringLiteral("txtOtherAddress"));
    txtOtherAddress->setPlaceholderText(QStringLiteral(u"空: 设备地址"));
    chkSingleCharAck = new QCheckBox(QStringLiteral(u"确认用单字符 E5"));
    chkSingleCharAck->setObjectName(QStringLiteral("chkSingleCharAck"));
    spnTestPeriod = NumberBox(0, kMaxLinkMs);
    spnTestPeriod->setObjectName(QStringLiteral("spnTestPeriod"));
    spnRepeatTimeout = NumberBox(1, kMaxLinkMs);
    spnRepeatTimeout->setObjectName(QStringLiteral("spnRepeatTimeout"));
    spnRetries = NumberBox(0, kMaxRetries);
    spnRetries->setObjectName(QStringLiteral("spnRetries"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral(u"链路地址字节数 (1或2, 平衡方式可为0)"), spnLinkAddress);
    fields->addRow(QStringLiteral(u"传送原因字节数 (1或2)"), spnCause);
    fields->addRow(QStringLiteral(u"公共地址字节数 (1或2)"), spnCommonAddress);
    fields->addRow(QStringLiteral(u"信息体地址字节数 (1至3)"), spnObjectAddress);
    fields->addRow(QStringLiteral(u"源发地址 (传送原因第二字节)"), spnOriginator);
    fields->addRow(QStringLiteral(u"公共地址"), txtCommonAddress);
    fields->addRow(QStringLiteral(u"信息体解码"), cmbDecoding);
    fields->addRow(QStringLiteral(u"遥信首行信息体地址"), txtYxBase);
    fields->addRow(QStringLiteral(u"遥测首行信息体地址"), txtYcBase);
    fields->addRow(QStringLiteral(u"链路传输方式"), cmbMode);
    fields->addRow(QStringLiteral(u"对方链路地址 (平衡)"), txtOtherAddress);
    fields->addRow(QString(), chkSingleCharAck);
    fields->addRow(QStringLiteral(u"空闲测试链路周期 (毫秒, 0不测)"), spnTestPeriod);
    fields->addRow(QStringLiteral(u"重发超时 (毫秒)"), spnRepeatTimeout);
    fields->addRow(QStringLiteral(u"重发次数"), spnRetries);
    auto* note = new QLabel(QStringLiteral(u"地址: 十进制, 或以 0x 开头的十六进制; 首行地址用于标准解码"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons.row);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(spnCause, &QSpinBox::valueChanged, this, [this](int octets) { spnOriginator->setEnabled(octets == 2); });
    connect(cmbMode, &QComboBox::currentIndexChanged, this, [this] { ShowMode(); });
    connect(btnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    connect(btnBack, &QPushButton::clicked, this, [this] { reject(); });
    Show(profile);
}

void ProfileDialog::Show(const LinkProfile& profile) {
    spnLinkAddress->setValue(profile.sizes.linkAddress);
    spnCause->setValue(profile.sizes.cause);
    spnCommonAddress->setValue(profile.sizes.commonAddress);
    spnObjectAddress->setValue(profile.sizes.objectAddress);
    spnOriginator->setValue(profile.originator);
    spnOriginator->setEnabled(profile.sizes.cause == 2);
    txtCommonAddress->setText(profile.commonAddress ? QString::number(*profile.commonAddress) : QString());
    cmbDecoding->setCurrentIndex(profile.decoding == ObjectDecoding::Standard ? kStandardItem : kLegacyItem);
    txtYxBase->setText(HexText(profile.yxBase));
    txtYcBase->setText(HexText(profile.ycBase));
    cmbMode->setCurrentIndex(profile.mode == LinkMode::Balanced ? kBalancedItem : 0);
    txtOtherAddress->setText(profile.balanced.otherAddress ? QString::number(*profile.balanced.otherAddress) : QString());
    chkSingleCharAck->setChecked(profile.balanced.singleCharAck);
    spnTestPeriod->setValue(static_cast<int>(profile.balanced.testPeriodMs));
    spnRepeatTimeout->setValue(static_cast<int>(profile.balanced.repeatTimeoutMs));
    spnRetries->setValue(profile.balanced.retries);
    ShowMode();
}

// The balanced procedure's settings are for the balanced mode only.
void ProfileDialog::ShowMode() {
    const bool balanced = cmbMode->currentIndex() == kBalancedItem;
    for (QWidget* widget : std::initializer_list<QWidget*>{txtOtherAddress, chkSingleCharAck, spnTestPeriod,
                                                           spnRepeatTimeout, spnRetries})
        widget->setEnabled(balanced);
}

void ProfileDialog::TakeBalanced(LinkProfile& profile) const {
    profile.mode = cmbMode->currentIndex() == kBalancedItem ? LinkMode::Balanced : LinkMode::Unbalanced;
    BalancedSettings& balanced = profile.balanced;
    balanced.otherAddress.reset();
    if (!txtOtherAddress->text().trimmed().isEmpty()) {
        const std::uint32_t max = profile.sizes.linkAddress >= 2 ? 0xFFFF : 0xFF;
        balanced.otherAddress = AddressValue(txtOtherAddress->text(), max);
        if (!balanced.otherAddress)
            throw std::runtime_error("对方链路地址 \"" + txtOtherAddress->text().toStdString() + "\" 不可用: 0 至 " +
                                     std::to_string(max) + ", 或留空用设备地址");
    }
    balanced.singleCharAck = chkSingleCharAck->isChecked();
    balanced.testPeriodMs = spnTestPeriod->value();
    balanced.repeatTimeoutMs = spnRepeatTimeout->value();
    balanced.retries = spnRetries->value();
}

void ProfileDialog::BtnOkClick() {
    RunCommand([this] {
        LinkProfile profile = profile_;
        profile.sizes = {spnLinkAddress->value(), spnCause->value(), spnCommonAddress->value(),
                         spnObjectAddress->value()};
        TakeBalanced(profile);
        if (profile.sizes.linkAddress == 0 && profile.mode != LinkMode::Balanced)
            throw std::runtime_error("链路地址 0 字节只用于平衡传输方式: 请选 \"平衡 (balanced)\", 或用 1 或 2 字节");
        if (!ValidFieldSizes(profile.sizes, profile.mode))
            throw std::runtime_error("字段长度 " + FieldSizesText(profile.sizes) +
                                     " 不可用: 链路地址 1 或 2 字节, 传送原因 1 或 2 字节, 公共地址 1 或 2 字节, "
                                     "信息体地址 1 至 3 字节");
        profile.originator = static_cast<std::uint8_t>(spnOriginator->value());
        profile.commonAddress.reset();
        if (!txtCommonAddress->text().trimmed().isEmpty()) {
            const std::uint32_t max = MaxCommonAddress(profile.sizes);
            profile.commonAddress = AddressValue(txtCommonAddress->text(), max);
            if (!profile.commonAddress)
                throw std::runtime_error("公共地址 \"" + txtCommonAddress->text().toStdString() + "\" 不可用: 0 至 " +
                                         std::to_string(max) + ", 或留空用设备地址");
        }
        profile.decoding = cmbDecoding->currentIndex() == kStandardItem ? ObjectDecoding::Standard
                                                                        : ObjectDecoding::Legacy;
        const auto yxBase = AddressValue(txtYxBase->text(), kMaxObjectAddress);
        const auto ycBase = AddressValue(txtYcBase->text(), kMaxObjectAddress);
        for (const auto& [base, edit] : {std::pair{yxBase, txtYxBase}, std::pair{ycBase, txtYcBase}})
            if (!base)
                throw std::runtime_error("首行信息体地址 \"" + edit->text().toStdString() +
                                         "\" 不可用: 0 至 0xFFFFFF, 十进制或以 0x 开头的十六进制");
        profile.yxBase = *yxBase;
        profile.ycBase = *ycBase;
        WriteLinkProfile(profile);
        profile_ = profile;
        accept();
    });
}

}  // namespace tc101
