#pragma once

// Window size memory applied to Qt windows (FromSizeInfo.ini, one section
// per window named by its component name).

#include <string_view>

class QWidget;

namespace tc101 {

// Centres the window on its screen with the stored size (its current size
// where nothing is stored).
void RestoreFormSize(QWidget& window, std::string_view section);
// Remembers the size of a window in its normal state. Throws FileError.
void SaveFormSize(const QWidget& window, std::string_view section);

}  // namespace tc101
