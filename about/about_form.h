#pragma once

// The about box: the program's icon, name, version and maker, the computer's
// system, memory and clock measured when it is made, and two links.

#include <QDialog>
#include <QUrl>

#include <cstdint>
#include <functional>

#include "about/system_text.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tc101 {

// Where the box gets its facts; the tests put their own.
struct AboutProbes {
    std::function<double()> cpuMhz;
    std::function<std::uint64_t()> memoryBytes;
    std::function<OsVersion()> osVersion;
    // Opens a link's target; a false return (nothing opened) is not reported.
    std::function<bool(const QUrl&)> openUrl;
};

// The system's own: MeasureCpuMhz, sysinfo, uname and os-release, QDesktopServices.
AboutProbes SystemAboutProbes();

class TAboutfrm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutfrm(QWidget* parent = nullptr, AboutProbes probes = SystemAboutProbes());

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* lblMaker;
    QLabel* lblOs;
    QLabel* lblMemory;
    QLabel* lableCpu;
    QFrame* Bevel1;
    QLabel* lblContact;
    QLabel* lblweb;
    QLabel* lblmail;
    QPushButton* btnClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FormCreate();
    void lblMouseMove(QLabel* label);
    void lblMouseLeave(QLabel* label);
    void lblMouseDown(QLabel* label);

    AboutProbes probes_;
};

}  // namespace tc101
