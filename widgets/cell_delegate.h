#pragma once

// The one drawing rule of every table's data cells: selected cells
// blue-grey, odd rows white, even rows pale yellow, text from the top of the
// cell, centred (or left-aligned in the send list), green where the column
// says so. Editors are line edits with an optional per-column length limit.

#include <map>

#include <QColor>
#include <QString>
#include <QStyledItemDelegate>

namespace tc101 {

inline constexpr QColor kSelectedCellColor(128, 128, 192);
inline constexpr QColor kOddRowColor(255, 255, 255);
inline constexpr QColor kEvenRowColor(253, 254, 207);

// Fill colour of a data cell; tableRow counts from 1 like the table's rows.
QColor CellFillColor(int tableRow, bool selected);

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CellDelegate(QObject* parent = nullptr);

    void SetLeftAligned(bool leftAligned) { leftAligned_ = leftAligned; }
    bool LeftAligned() const { return leftAligned_; }
    // Longest text the editor of a table column accepts (0: no limit).
    void SetMaxLength(int tableColumn, int length);
    int MaxLength(int tableColumn) const;
    // A table column drawn as a raised button with a bold caption (-1: none).
    void SetButtonColumn(int tableColumn, const QString& caption);
    int ButtonColumn() const { return buttonColumn_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    void PaintButton(QPainter* painter, const QStyleOptionViewItem& option) const;

    bool leftAligned_ = false;
    int buttonColumn_ = -1;
    QString buttonCaption_;
    std::map<int, int> maxLengths_;
};

}  // namespace tc101
