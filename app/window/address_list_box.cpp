#include "app/window/address_list_box.h"

#include <limits>

#include <QLineEdit>

#include "protocol/address_list.h"

namespace tc101 {

namespace {

std::vector<std::int64_t> ParseOrNothing(const QString& text, int linkOctets) {
    try {
        return ParseAddressList(text.toStdString(), linkOctets);
    } catch (const AddressListError&) {
        return {};
    }
}

bool ListCharacters(const QString& text) {
    for (const QChar c : text)
        if (!(c.isDigit() || c == u',' || c == u'-' || c == u' ')) return false;
    return true;
}

}  // namespace

AddressListBox::AddressListBox(QWidget* parent) : QSpinBox(parent) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        list_ = IsList(text) && !ParseOrNothing(text, linkOctets_).empty() ? text : QString();
    });
}

bool AddressListBox::IsList(const QString& text) const {
    return !text.trimmed().isEmpty() && !IsSingleAddress(text.toStdString());
}

std::vector<std::int64_t> AddressListBox::Addresses() const {
    if (!list_.isEmpty() && text() == list_) {
        std::vector<std::int64_t> addresses = ParseOrNothing(list_, linkOctets_);
        if (!addresses.empty()) return addresses;
    }
    return {value()};
}

QString AddressListBox::ListText() const { return !list_.isEmpty() && text() == list_ ? list_ : QString(); }

void AddressListBox::SetListText(const QString& text) {
    const std::vector<std::int64_t> addresses = ParseOrNothing(text, linkOctets_);
    if (!IsList(text) || addresses.empty()) return;
    list_ = text;
    setValue(static_cast<int>(addresses.front()));
    lineEdit()->setText(text);
}

QValidator::State AddressListBox::validate(QString& input, int& pos) const {
    if (!IsList(input)) return QSpinBox::validate(input, pos);
    if (!ListCharacters(input)) return QValidator::Invalid;
    return ParseOrNothing(input, linkOctets_).empty() ? QValidator::Intermediate : QValidator::Acceptable;
}

int AddressListBox::valueFromText(const QString& text) const {
    if (!IsList(text)) return QSpinBox::valueFromText(text);
    const std::vector<std::int64_t> addresses = ParseOrNothing(text, linkOctets_);
    return addresses.empty() ? value() : static_cast<int>(addresses.front());
}

QString AddressListBox::textFromValue(int value) const {
    if (!list_.isEmpty()) {
        const std::vector<std::int64_t> addresses = ParseOrNothing(list_, linkOctets_);
        if (!addresses.empty() && addresses.front() == value) return list_;
        list_.clear();
    }
    return QSpinBox::textFromValue(value);
}

}  // namespace tc101
