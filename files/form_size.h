#pragma once

// Window size memory in FromSizeInfo.ini: one section per window, named by
// the window's component name (frmZh, frmyxycdef, frmDefineSend, frmBwSet),
// with integer keys width and height in pixels. The windows apply the
// geometry these functions compute.

#include <optional>
#include <string_view>

#include "files/ini_file.h"

namespace tc101 {

inline constexpr std::string_view kFormSizeIniName = "FromSizeInfo.ini";

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

enum class WindowState { Normal, Maximized, Minimized };

// The stored size of a window, its current size standing in for what is missing.
Size StoredFormSize(const IniFile& sizes, std::string_view section, Size current);

// Where RestoreFormSize puts a window: the stored size (at most the desktop's),
// centred on the desktop. A stored size below one pixel is not used.
Rect RestoredFormGeometry(const IniFile& sizes, std::string_view section, Size current, Rect desktop);

// The size SaveFormSize writes: only a window in its normal state is remembered.
std::optional<Size> FormSizeToSave(WindowState state, Size current);

// Writes FormSizeToSave's answer, if any, to the window's section. Throws FileError.
void StoreFormSize(IniFile& sizes, std::string_view section, WindowState state, Size current);

// FromSizeInfo.ini in the application directory.
IniFile FormSizeIni();

}  // namespace tc101
