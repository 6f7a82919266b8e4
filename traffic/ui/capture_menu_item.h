#pragma once

// The log's context-menu item that saves the session's frames as a pcapng
// capture for Wireshark and tshark. It sits beside the log's own items and
// shows whenever the session has frames, whatever the log still holds.

#include <functional>
#include <string>

#include <QDateTime>
#include <QObject>

#include "traffic/frame_capture.h"

class QAction;

namespace tc101 {

class TrafficLog;

inline constexpr char16_t kCaptureMenuText[] = u"保存抓包文件(&P)";

class CaptureMenuItem : public QObject {
    Q_OBJECT
public:
    using FileChooser = std::function<QString(QWidget* parent, const QString& proposedName)>;
    using PortName = std::function<std::string()>;

    CaptureMenuItem(TrafficLog& log, const FrameCapture& capture, PortName portName);

    // Asks where, writes the file; an error shows in a message box.
    void SaveAt(const QDateTime& moment);
    void SetFileChooser(FileChooser chooser) { choose_ = std::move(chooser); }

    QAction* P1 = nullptr;

private:
    TrafficLog& log_;
    const FrameCapture& capture_;
    PortName portName_;
    FileChooser choose_;
};

}  // namespace tc101
