#include "serial/ui/integer_spin_box.h"

#include <limits>

#include <QLocale>

namespace tc101 {

IntegerSpinBox::IntegerSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

QValidator::State IntegerSpinBox::validate(QString& input, int& /*pos*/) const {
    const QChar decimalPoint = locale().decimalPoint().front();
    for (const QChar c : input) {
        const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
                             c == QLatin1Char('-') || c == QLatin1Char('.') || c == decimalPoint;
        if (!allowed) return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

int IntegerSpinBox::valueFromText(const QString& text) const {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

void IntegerSpinBox::fixup(QString& input) const { input = textFromValue(valueFromText(input)); }

}  // namespace tc101
