#include "files/ui/edit_snapshot.h"

#include <QItemSelectionModel>

#include "widgets/grid_view.h"
#include "widgets/table_model.h"

namespace tc101 {

EditSnapshot::EditSnapshot(GridView& grid) : QObject(&grid), grid_(grid) {
    // The view commits the edit of the cell being left before this runs, so
    // the comparison below still sees the old cell's snapshot.
    connect(grid.selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { Take(); });
    connect(grid.Model(), &TableModel::CellEdited, this, [this](int col, int row) {
        const std::string& now = grid_.Model()->Source().Cell(col, row);
        if (now != text_) Q_EMIT CellChanged(col, row, text_);
    });
    Take();
}

void EditSnapshot::Take() {
    const QModelIndex current = grid_.currentIndex();
    text_ = current.isValid() ? grid_.Model()->Source().Cell(TableModel::TableColumn(current.column()),
                                                             TableModel::TableRow(current.row()))
                              : std::string();
}

}  // namespace tc101
