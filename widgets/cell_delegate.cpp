#include "widgets/cell_delegate.h"

#include <QLineEdit>
#include <QPainter>
#include <QPolygon>

#include "widgets/table_model.h"

namespace tc101 {

namespace {
// Room between the cell border and its text, as the grid draws its own cells.
constexpr int kTextMargin = 2;
// A button cell's caption sits this far below the top, like a pressed-out button's.
constexpr int kButtonCaptionDrop = 2;
}  // namespace

QColor CellFillColor(int tableRow, bool selected) {
    if (selected) return kSelectedCellColor;
    return tableRow % 2 != 0 ? kOddRowColor : kEvenRowColor;
}

CellDelegate::CellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void CellDelegate::SetMaxLength(int tableColumn, int length) {
    if (length > 0)
        maxLengths_[tableColumn] = length;
    else
        maxLengths_.erase(tableColumn);
}

int CellDelegate::MaxLength(int tableColumn) const {
    const auto found = maxLengths_.find(tableColumn);
    return found == maxLengths_.end() ? 0 : found->second;
}

void CellDelegate::SetButtonColumn(int tableColumn, const QString& caption) {
    buttonColumn_ = tableColumn;
    buttonCaption_ = caption;
}

void CellDelegate::PaintButton(QPainter* painter, const QStyleOptionViewItem& option) const {
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, option.palette.color(QPalette::Button));
    // Light edge at the left and top, shadow at the right and bottom: raised.
    painter->setPen(QPen(Qt::white, 1));
    painter->drawPolyline(QPolygon({r.bottomLeft(), r.topLeft(), r.topRight()}));
    painter->setPen(QPen(option.palette.color(QPalette::Dark), 1));
    painter->drawPolyline(QPolygon({r.topRight(), r.bottomRight(), r.bottomLeft()}));
    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(option.palette.color(QPalette::ButtonText));
    painter->setClipRect(r);
    painter->drawText(r.translated(0, kButtonCaptionDrop), static_cast<int>(Qt::AlignTop | Qt::AlignHCenter) | Qt::TextSingleLine,
                      buttonCaption_);
    painter->restore();
}

void CellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (TableModel::TableColumn(index.column()) == buttonColumn_) {
        PaintButton(painter, option);
        return;
    }
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->fillRect(option.rect, CellFillColor(TableModel::TableRow(index.row()), selected));
    const QVariant foreground = index.data(Qt::ForegroundRole);
    painter->setPen(foreground.isValid() ? foreground.value<QColor>() : option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    const QRect textRect = option.rect.adjusted(kTextMargin, kTextMargin, -kTextMargin, 0);
    const Qt::Alignment align = Qt::AlignTop | (leftAligned_ ? Qt::AlignLeft : Qt::AlignHCenter);
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->setClipRect(option.rect);
    painter->drawText(textRect, static_cast<int>(align) | Qt::TextSingleLine, text);
    painter->restore();
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const int limit = MaxLength(TableModel::TableColumn(index.column()));
        if (limit > 0) line->setMaxLength(limit);
        // The text stays where the drawn cell shows it while it is edited.
        line->setAlignment(leftAligned_ ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignVCenter);
    }
    return editor;
}

}  // namespace tc101
