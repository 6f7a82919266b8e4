#pragma once

// The one table type of the program: a grid of UTF-8 text cells with a
// title row (row 0), a number column (column 0) and data rows 1..RowCount-1.
// The analyser writes it, the files layer loads and saves it, the export
// reads it and the windows show it through a Qt model. Cells are addressed
// (col, row), column first, as in the grids they mirror.

#include <cstdint>
#include <string>
#include <vector>

namespace tc101 {

// How the cells of a column are drawn: device columns and the event state
// column are green, a device that stopped answering grey; everything else
// in the default text colour.
enum class ColumnTone { Normal, Green, Grey };

// Lets one view follow a table. Shape changes are bracketed so a Qt model
// can announce them before and after the fact.
class TableObserver {
public:
    virtual ~TableObserver() = default;
    virtual void BeforeShapeChange(int newColCount, int newRowCount) = 0;
    virtual void AfterShapeChange() = 0;
    virtual void CellChanged(int col, int row) = 0;
    virtual void ColumnLookChanged(int col) = 0;
    virtual void CurrentRowChanged(int row) = 0;
};

class Table {
public:
    static constexpr int kDefaultColWidth = 64;

    Table(int colCount, int rowCount);

    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(cells_.size()); }
    void SetColCount(int count);
    void SetRowCount(int count);

    // Reads outside the table give an empty text; writes outside it are dropped.
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    // The quality flags reported with a cell's value (protocol/quality.h);
    // 0 for none. Reported to the observer as a cell change.
    std::uint8_t Quality(int col, int row) const;
    void SetQuality(int col, int row, std::uint8_t flags);

    int ColWidth(int col) const;
    void SetColWidth(int col, int pixels);
    ColumnTone Tone(int col) const;
    void SetTone(int col, ColumnTone tone);
    // A note on every data cell of a column (a device's last update), shown
    // as its tip; display state, never stored.
    const std::string& Note(int col) const;
    void SetNote(int col, std::string note);

    // The row a view should show as current (-1: none chosen).
    int CurrentRow() const { return currentRow_; }
    void SetCurrentRow(int row);

    void SetObserver(TableObserver* observer) { observer_ = observer; }
    TableObserver* Observer() const { return observer_; }

private:
    bool Contains(int col, int row) const;

    struct CellData {
        std::string text;
        std::uint8_t quality = 0;
    };

    int colCount_;
    std::vector<std::vector<CellData>> cells_;  // [row][col]
    std::vector<int> colWidths_;
    std::vector<ColumnTone> tones_;
    std::vector<std::string> notes_;
    int currentRow_ = -1;
    TableObserver* observer_ = nullptr;
};

}  // namespace tc101
