#include "files/form_size.h"

#include <algorithm>
#include <limits>

#include "files/app_paths.h"

namespace tc101 {

namespace {

constexpr std::string_view kWidthKey = "width";
constexpr std::string_view kHeightKey = "height";

// A stored value the window can take, or the fallback.
int UsableLength(std::int64_t stored, int fallback) {
    if (stored < 1 || stored > std::numeric_limits<int>::max()) return fallback;
    return static_cast<int>(stored);
}

}  // namespace

Size StoredFormSize(const IniFile& sizes, std::string_view section, Size current) {
    return {UsableLength(sizes.ReadInteger(section, kWidthKey, current.width), current.width),
            UsableLength(sizes.ReadInteger(section, kHeightKey, current.height), current.height)};
}

Rect RestoredFormGeometry(const IniFile& sizes, std::string_view section, Size current, Rect desktop) {
    const Size stored = StoredFormSize(sizes, section, current);
    const int width = desktop.width > 0 ? std::min(stored.width, desktop.width) : stored.width;
    const int height = desktop.height > 0 ? std::min(stored.height, desktop.height) : stored.height;
    return {desktop.x + (desktop.width - width) / 2, desktop.y + (desktop.height - height) / 2, width, height};
}

std::optional<Size> FormSizeToSave(WindowState state, Size current) {
    if (state != WindowState::Normal) return std::nullopt;
    return current;
}

void StoreFormSize(IniFile& sizes, std::string_view section, WindowState state, Size current) {
    const auto size = FormSizeToSave(state, current);
    if (!size) return;
    sizes.WriteInteger(section, kWidthKey, size->width);
    sizes.WriteInteger(section, kHeightKey, size->height);
}

IniFile FormSizeIni() { return IniFile(AppFile(kFormSizeIniName)); }

}  // namespace tc101
