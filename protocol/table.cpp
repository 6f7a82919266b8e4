#include "protocol/table.h"

#include <algorithm>
#include <utility>

namespace tc101 {

namespace {
const std::string kEmpty;
}

Table::Table(int colCount, int rowCount)
    : colCount_(std::max(colCount, 0)),
      cells_(static_cast<size_t>(std::max(rowCount, 0)),
             std::vector<CellData>(static_cast<size_t>(colCount_))),
      colWidths_(static_cast<size_t>(colCount_), kDefaultColWidth),
      tones_(static_cast<size_t>(colCount_), ColumnTone::Normal),
      notes_(static_cast<size_t>(colCount_)) {}

void Table::SetColCount(int count) {
    count = std::max(count, 0);
    if (count == colCount_) return;
    if (observer_) observer_->BeforeShapeChange(count, RowCount());
    colCount_ = count;
    for (auto& row : cells_) row.resize(static_cast<size_t>(count));
    colWidths_.resize(static_cast<size_t>(count), kDefaultColWidth);
    tones_.resize(static_cast<size_t>(count), ColumnTone::Normal);
    notes_.resize(static_cast<size_t>(count));
    if (observer_) observer_->AfterShapeChange();
}

void Table::SetRowCount(int count) {
    count = std::max(count, 0);
    if (count == RowCount()) return;
    if (observer_) observer_->BeforeShapeChange(colCount_, count);
    cells_.resize(static_cast<size_t>(count), std::vector<CellData>(static_cast<size_t>(colCount_)));
    if (currentRow_ >= count) currentRow_ = count - 1;
    if (observer_) observer_->AfterShapeChange();
}

bool Table::Contains(int col, int row) const {
    return col >= 0 && col < colCount_ && row >= 0 && row < RowCount();
}

const std::string& Table::Cell(int col, int row) const {
    if (!Contains(col, row)) return kEmpty;
    return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].text;
}

void Table::SetCell(int col, int row, std::string text) {
    if (!Contains(col, row)) return;
    auto& cell = cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].text;
    if (cell == text) return;
    cell = std::move(text);
    if (observer_) observer_->CellChanged(col, row);
}

std::uint8_t Table::Quality(int col, int row) const {
    if (!Contains(col, row)) return 0;
    return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].quality;
}

void Table::SetQuality(int col, int row, std::uint8_t flags) {
    if (!Contains(col, row)) return;
    auto& quality = cells_[static_cast<size_t>(row)][static_cast<size_t>(col)].quality;
    if (quality == flags) return;
    quality = flags;
    if (observer_) observer_->CellChanged(col, row);
}

int Table::ColWidth(int col) const {
    if (col < 0 || col >= colCount_) return 0;
    return colWidths_[static_cast<size_t>(col)];
}

void Table::SetColWidth(int col, int pixels) {
    if (col < 0 || col >= colCount_) return;
    auto& width = colWidths_[static_cast<size_t>(col)];
    if (width == pixels) return;
    width = pixels;
    if (observer_) observer_->ColumnLookChanged(col);
}

ColumnTone Table::Tone(int col) const {
    if (col < 0 || col >= colCount_) return ColumnTone::Normal;
    return tones_[static_cast<size_t>(col)];
}

void Table::SetTone(int col, ColumnTone tone) {
    if (col < 0 || col >= colCount_) return;
    auto& current = tones_[static_cast<size_t>(col)];
    if (current == tone) return;
    current = tone;
    if (observer_) observer_->ColumnLookChanged(col);
}

const std::string& Table::Note(int col) const {
    if (col < 0 || col >= colCount_) return kEmpty;
    return notes_[static_cast<size_t>(col)];
}

void Table::SetNote(int col, std::string note) {
    if (col < 0 || col >= colCount_) return;
    auto& current = notes_[static_cast<size_t>(col)];
    if (current == note) return;
    current = std::move(note);
    if (observer_) observer_->ColumnLookChanged(col);
}

void Table::SetCurrentRow(int row) {
    if (row == currentRow_) return;
    currentRow_ = row;
    if (observer_) observer_->CurrentRowChanged(row);
}

}  // namespace tc101
