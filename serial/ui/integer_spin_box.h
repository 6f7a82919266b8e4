#pragma once

// A spin field over all of int: it takes digits, signs and the decimal
// separator as typed characters, and text that does not read as an integer
// counts as 0 (the frame delay field: -1 and 0 are meaningful values).

#include <QSpinBox>

namespace tc101 {

class IntegerSpinBox : public QSpinBox {
public:
    explicit IntegerSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;
};

}  // namespace tc101
