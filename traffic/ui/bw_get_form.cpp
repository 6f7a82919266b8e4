#include "traffic/ui/bw_get_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "files/app_paths.h"
#include "files/comset_keys.h"
#include "files/ini_file.h"
#include "protocol/hex_text.h"
#include "traffic/ui/bw_set_form.h"
#include "widgets/application.h"
#include "widgets/dialog_buttons.h"

namespace tc101 {

namespace {

constexpr char kStyleKey[] = "bwStyle";
constexpr char kAddressKey[] = "bwAdd";
constexpr int kNoItem = -1;
constexpr int kDefaultAddress = 1;
// The name shows the address as entered, so the spinner is not held to a byte.
constexpr int kMaxAddress = 65535;

// Items of cmbBWLX in order; the first three are the grdShort rows 1..3.
enum Item : int { kLinkStatusItem = 0, kClass1Item, kClass2Item, kInterrogationItem };
constexpr std::array kItems{u"召唤链路状态", u"召唤一级数据", u"召唤二级数据", u"总召"};

}  // namespace

TfrmBwget::TfrmBwget(const TfrmBwSet& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("frmBwget"));
    setWindowTitle(QString::fromUtf16(u"101常用报文生成"));

    const OkBackButtons buttons = MakeOkBackButtons(this);
    btnOk = buttons.ok;
    btnBack = buttons.back;

    lblCaption = new QLabel(this);
    cmbBWLX = new QComboBox(this);
    for (const char16_t* item : kItems) cmbBWLX->addItem(QString::fromUtf16(item));
    cmbBWLX->setCurrentIndex(kNoItem);
    cmbAddress = new QSpinBox(this);
    cmbAddress->setRange(0, kMaxAddress);
    cmbAddress->setValue(kDefaultAddress);
    auto* fields = new QFormLayout;
    fields->addRow(QString::fromUtf16(u"报文类型"), cmbBWLX);
    fields->addRow(QString::fromUtf16(u"设备地址"), cmbAddress);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons.row);
    layout->addWidget(lblCaption);
    layout->addLayout(fields);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Wide enough for the window title and the longest item with room to spare.
    cmbBWLX->setMinimumWidth(cmbBWLX->fontMetrics().horizontalAdvance(windowTitle()) * 2);

    connect(btnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    connect(btnBack, &QPushButton::clicked, this, [this] { reject(); });
}

void TfrmBwget::SetCaption(const QString& text) { lblCaption->setText(text); }

void TfrmBwget::showEvent(QShowEvent* event) {
    messageGenerated_ = false;
    const IniFile comset(AppFile(kComsetIniName));
    const auto style = comset.ReadInteger(kBwGetSection, kStyleKey, kNoItem);
    cmbBWLX->setCurrentIndex(style >= 0 && style < cmbBWLX->count() ? static_cast<int>(style) : kNoItem);
    const auto address = comset.ReadInteger(kBwGetSection, kAddressKey, kDefaultAddress);
    cmbAddress->setValue(static_cast<int>(std::clamp<std::int64_t>(address, 0, kMaxAddress)));
    QDialog::showEvent(event);
}

void TfrmBwget::BtnOkClick() {
    const int item = cmbBWLX->currentIndex();
    // Nothing chosen: nothing generated.
    if (item < kLinkStatusItem || item > kInterrogationItem) {
        reject();
        return;
    }
    const int address = cmbAddress->value();
    const MasterSettings values = settings_.Settings();
    std::string content;
    if (item == kInterrogationItem) {
        content = BytesToHexText(BuildInterrogation(values.interrogationValues, address, CellFallback::Zero, profile_));
    } else {
        const auto row = static_cast<std::size_t>(item - kLinkStatusItem);
        content = BytesToHexText(BuildShortRequest(values.shortValues[row], address, profile_));
    }
    generatedName_ = cmbBWLX->itemText(item) + QString::number(address) + QLatin1Char('#');
    generatedContent_ = QString::fromStdString(content);
    messageGenerated_ = true;
    accept();
}

void TfrmBwget::done(int result) {
    // Close first, so a settings file that cannot be written never holds the dialog open.
    QDialog::done(result);
    RunCommand([this] {
        IniFile comset(AppFile(kComsetIniName));
        comset.WriteInteger(kBwGetSection, kStyleKey, cmbBWLX->currentIndex());
        comset.WriteInteger(kBwGetSection, kAddressKey, cmbAddress->value());
    });
}

}  // namespace tc101
