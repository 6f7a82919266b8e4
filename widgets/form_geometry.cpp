#include "widgets/form_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "files/form_size.h"

namespace tc101 {

namespace {

Size CurrentSize(const QWidget& window) { return {window.width(), window.height()}; }

WindowState StateOf(const QWidget& window) {
    if (window.isMaximized()) return WindowState::Maximized;
    if (window.isMinimized()) return WindowState::Minimized;
    return WindowState::Normal;
}

}  // namespace

void RestoreFormSize(QWidget& window, std::string_view section) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, window.width(), window.height());
    const Rect placed = RestoredFormGeometry(FormSizeIni(), section, CurrentSize(window),
                                             {area.x(), area.y(), area.width(), area.height()});
    window.resize(placed.width, placed.height);
    window.move(placed.x, placed.y);
}

void SaveFormSize(const QWidget& window, std::string_view section) {
    IniFile sizes = FormSizeIni();
    StoreFormSize(sizes, section, StateOf(window), CurrentSize(window));
}

}  // namespace tc101
