#pragma once

// The send list as the send message editor tidies it: every content cell in
// upper-case hex text ("680c0c68" becomes "68 0C 0C 68"), rows without
// content removed.

#include "files/send_list_columns.h"
#include "protocol/table.h"

namespace tc101 {

void NormalizeSendList(Table& table);

// One data row whose content is blank: nothing to save.
bool SendListEmpty(const Table& table);

}  // namespace tc101
