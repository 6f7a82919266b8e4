#pragma once

// The editors' rule for a changed cell: the text of the current cell is
// remembered when the cell is selected, and an edit that leaves the cell with
// another text is reported. Programmatic writes are not edits.

#include <string>

#include <QObject>

namespace tc101 {

class GridView;

class EditSnapshot : public QObject {
    Q_OBJECT
public:
    explicit EditSnapshot(GridView& grid);

    const std::string& Text() const { return text_; }
    // Remembers the current cell's text now (after a save or a row change).
    void Take();

Q_SIGNALS:
    // An edit left cell (col, row) with a text other than `before`.
    void CellChanged(int col, int row, const std::string& before);

private:
    GridView& grid_;
    std::string text_;
};

}  // namespace tc101
