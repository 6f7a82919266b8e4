#include "files/send_list_normalize.h"

#include "files/table_rows.h"
#include "protocol/hex_text.h"

namespace tc101 {

void NormalizeSendList(Table& table) {
    for (int row = table.RowCount() - 1; row >= 1; --row) {
        table.SetCell(kSendContentCol, row, ToUpperAscii(NormalizeHexText(table.Cell(kSendContentCol, row))));
        if (IsBlankText(table.Cell(kSendContentCol, row))) DeleteDataRow(table, row);
    }
}

bool SendListEmpty(const Table& table) { return HoldsNothingIn(table, kSendContentCol); }

}  // namespace tc101
