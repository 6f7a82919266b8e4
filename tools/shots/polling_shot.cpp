// Not a test: runs the master simulation of the main window against whatever
// answers on a port (for example tc101tool outstation over a socat pair) and
// saves a picture of the window, and the log text beside it, for a person to look at.
// Usage: polling_shot PORT MS OUTPUT.png [standard|plain [DEVICE]]
// With DEVICE (a link address), the tip of that device's first GrdYC cell is
// shown and the whole screen saved beside as OUTPUT.png-screen.png.
// The settings come from TC101_CONFIG_DIR as usual.

#include <cstdlib>
#include <string>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QToolTip>

#include "app/window/main_window.h"
#include "live_port.h"
#include "traffic/ui/bw_set_form.h"
#include "widgets/application.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    tc101::Application app(argc, argv);
    tc101::shots::StoreAutoOpenPort(argv[1]);
    tc101::TfrmZh window;
    window.resize(1100, 800);
    window.show();
    if (!window.PortOpen()) return 1;
    window.findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentIndex(0);
    window.findChild<tc101::TfrmBwSet*>(QStringLiteral("frmBwSet"))
        ->chkStandardLink->setChecked(argc > 4 && std::string(argv[4]) == "standard");
    window.findChild<QSpinBox*>(QStringLiteral("txtInteval1"))->setValue(200);
    auto* simulate = window.findChild<QCheckBox*>(QStringLiteral("cbxMlzz"));
    simulate->click();
    QElapsedTimer clock;
    clock.start();
    const long run = std::strtol(argv[2], nullptr, 10);
    while (clock.elapsed() < run) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    window.grab().save(QString::fromLocal8Bit(argv[3]));
    if (argc > 5) {
        auto* grid = window.findChild<tc101::GridView*>(QStringLiteral("GrdYC"));
        const tc101::Table& table = grid->Model()->Source();
        for (int col = tc101::kFirstDeviceCol; col < table.ColCount(); ++col) {
            if (table.Cell(col, 0) != std::string(argv[5]) + "#设备") continue;
            const QModelIndex cell = grid->Model()->index(0, col - 1);
            const QRect rect = grid->visualRect(cell);
            QToolTip::showText(grid->viewport()->mapToGlobal(rect.center()),
                               grid->Model()->data(cell, Qt::ToolTipRole).toString(), grid->viewport());
        }
        clock.restart();
        while (clock.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[3]) +
                                                             QStringLiteral("-screen.png"));
    }
    tc101::shots::SaveLogText(window, QString::fromLocal8Bit(argv[3]) + QStringLiteral(".txt"));
    simulate->click();
    return 0;
}
