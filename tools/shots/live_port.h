#pragma once

// What the pictures taken against a live port share: the port stored so the
// window opens it at start as a user's would, and the log text written out.

#include <QFile>
#include <QString>

#include "app/window/main_window.h"
#include "files/app_paths.h"
#include "files/ini_file.h"
#include "serial/port_settings.h"
#include "traffic/ui/traffic_log.h"

namespace tc101::shots {

inline void StoreAutoOpenPort(const char* port) {
    IniFile comset(AppFile("comset.ini"));
    comset.WriteString(kComSetSection, kKeyPort, port);
    comset.WriteInteger(kComSetSection, kKeyAutoOpen, 1);
}

inline void SaveLogText(const TfrmZh& window, const QString& file) {
    QFile log(file);
    const auto* traffic = window.findChild<TrafficLog*>(QStringLiteral("Memo1"));
    if (log.open(QIODevice::WriteOnly)) log.write(traffic->toPlainText().toUtf8());
}

}  // namespace tc101::shots
