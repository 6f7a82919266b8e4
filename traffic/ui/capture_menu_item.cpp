#include "traffic/ui/capture_menu_item.h"

#include <QAction>
#include <QString>
#include <QMenu>

#include "widgets/message_box.h"
#include "widgets/save_file_dialog.h"
#include "files/file_io.h"
#include "traffic/pcapng.h"
#include "traffic/ui/traffic_log.h"

namespace tc101 {

namespace {

QString ChooseCaptureFile(QWidget* parent, const QString& proposedName) {
    return ChooseSaveFile(parent, {QStringLiteral(u"pcapng抓包文件 (*.pcapng)"), QStringLiteral("pcapng")}, proposedName);
}

}  // namespace

CaptureMenuItem::CaptureMenuItem(TrafficLog& log, const FrameCapture& capture, PortName portName)
    : QObject(&log), log_(log), capture_(capture), portName_(std::move(portName)), choose_(ChooseCaptureFile) {
    P1 = log.PopupMenu2->addAction(QString::fromUtf16(kCaptureMenuText));
    connect(P1, &QAction::triggered, this, [this] { SaveAt(QDateTime::currentDateTime()); });
    connect(log.PopupMenu2, &QMenu::aboutToShow, this, [this] { P1->setVisible(!capture_.Empty()); });
}

void CaptureMenuItem::SaveAt(const QDateTime& moment) {
    const QString proposed = moment.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".pcapng");
    const QString path = choose_(&log_, proposed);
    if (path.isEmpty()) return;
    try {
        WriteFileAtomically(path.toStdString(), EncodePcapng(capture_.Entries(), portName_()));
    } catch (const std::exception& error) {
        ShowError(&log_, QString::fromUtf8(error.what()));
    }
}

}  // namespace tc101
