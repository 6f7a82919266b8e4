// Not a test: opens "控制命令" over the main window on a port where an
// outstation answers (for example tc101tool outstation over a socat pair),
// selects and executes a single command, and saves a picture of the dialog,
// one of the window, and the window's log text beside them.
// Usage: command_dialog_shot PORT OUTPUT.png [OBJECT-ADDRESS]
// The settings come from TC101_CONFIG_DIR as usual.

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/window/main_window.h"
#include "live_port.h"
#include "traffic/ui/command_dialog.h"
#include "widgets/application.h"

namespace {

// Clicks the dialog's button and lets the events run until its result shows.
bool Press(QWidget& dialog, const char* button) {
    dialog.findChild<QPushButton*>(QLatin1String(button))->click();
    const auto* result = dialog.findChild<QLabel*>(QStringLiteral("lblResult"));
    QElapsedTimer clock;
    clock.start();
    while (result->text() == QStringLiteral(u"进行中…") && clock.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return result->text() != QStringLiteral(u"进行中…");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    tc101::Application app(argc, argv);
    tc101::shots::StoreAutoOpenPort(argv[1]);
    tc101::TfrmZh window;
    window.resize(1100, 800);
    window.show();
    if (!window.PortOpen()) return 1;
    window.findChild<QAction*>(QStringLiteral("btnCommand"))->trigger();
    auto* dialog = window.findChild<tc101::CommandDialog*>(QStringLiteral("frmCommand"));
    dialog->findChild<QLineEdit*>(QStringLiteral("txtIoa"))->setText(QString::fromLocal8Bit(argc > 3 ? argv[3] : "2"));
    dialog->findChild<QComboBox*>(QStringLiteral("cmbState"))->setCurrentIndex(1);
    const bool done = Press(*dialog, "btnSelect") && Press(*dialog, "btnExecute");
    const QString output = QString::fromLocal8Bit(argv[2]);
    dialog->grab().save(output);
    window.grab().save(output + QStringLiteral(".window.png"));
    tc101::shots::SaveLogText(window, output + QStringLiteral(".txt"));
    return done ? 0 : 1;
}
