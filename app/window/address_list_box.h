#pragma once

// 设备地址: a spin field that also takes a list of devices ("1,2,5-7"). A
// single number behaves as the plain spin field always did (arrows, any
// whole number); a list stays as typed and its first address is the value.

#include <cstdint>
#include <vector>

#include <QSpinBox>

namespace tc101 {

class AddressListBox : public QSpinBox {
public:
    explicit AddressListBox(QWidget* parent = nullptr);

    // Octets of the link address, which bound the addresses of a list.
    void SetLinkOctets(int octets) { linkOctets_ = octets; }
    // The devices to poll: the list, or the value alone.
    std::vector<std::int64_t> Addresses() const;
    // The list as typed; empty for a single number.
    QString ListText() const;
    // A stored list (a single number sets the value).
    void SetListText(const QString& text);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;

private:
    bool IsList(const QString& text) const;

    int linkOctets_ = 1;
    // Kept through Qt's redrawing of the text from the value.
    mutable QString list_;
};

}  // namespace tc101
