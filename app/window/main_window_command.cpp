// TfrmZh's control command dialog: it sends through the window's master
// station. While the master simulation runs its timer ticks the station for
// the command too; otherwise the dialog's own ticks do.

#include <QCheckBox>
#include <QSpinBox>
#include <QTimer>

#include "app/window/main_window.h"
#include "traffic/ui/command_dialog.h"

namespace tc101 {

void TfrmZh::btnCommandClick() {
    if (frmCommand == nullptr) {
        CommandDialogLinks links;
        links.address = [this] { return static_cast<std::int64_t>(txtAdd->value()); };
        links.portOpen = [this] { return portOpen_; };
        links.tick = [this] {
            if (!TimerZZ->isActive()) station_->SimulationTick(txtAdd->value());
            // A balanced link's timer also wakes for the step's time limit.
            ArmLinkTimer();
        };
        frmCommand = new CommandDialog(*station_, std::move(links), this);
    }
    frmCommand->show();
    frmCommand->raise();
    frmCommand->activateWindow();
}

}  // namespace tc101
