#pragma once

// "控制命令": one control command at a time through the window's master
// station: the type, object address, state or value, qualifier, the time
// of a clock synchronisation and the time limit of each step; 选择, 执行,
// 撤销 and 直接执行 send one step each. The station sends, fetches the
// confirmations and logs; the dialog shows each step's outcome and the result.
// Modeless, so the log and the tables stay in view.

#include <cstdint>
#include <functional>

#include <QDialog>

#include "traffic/command_sequence.h"

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimer;

namespace tc101 {

class MasterStation;

inline constexpr char16_t kCommandDialogTitle[] = u"控制命令";

// What the dialog needs of its owner.
struct CommandDialogLinks {
    std::function<std::int64_t()> address;  // 设备地址
    std::function<bool()> portOpen;
    // One tick of the station, when no master simulation ticks it already.
    std::function<void()> tick;
};

class CommandDialog : public QDialog {
    Q_OBJECT
public:
    // The station must outlive the dialog.
    CommandDialog(MasterStation& station, CommandDialogLinks links, QWidget* parent = nullptr);

private:
    void TypeChanged();
    void UpdateButtons();
    // The plan from the fields; throws with the user's message on a value that cannot go.
    CommandPlan Plan(CommandMode mode) const;
    void Start(CommandMode mode);
    void TimerTick();
    void ShowLine(const QString& text, bool trouble);
    CommandType Type() const;

    MasterStation& station_;
    CommandDialogLinks links_;
    bool running_ = false;
    CommandMode runningMode_ = CommandMode::SelectExecute;
    // A confirmed selection the execute may follow; any change of the fields drops it.
    bool selected_ = false;

    QComboBox* cmbType = nullptr;
    QLineEdit* txtIoa = nullptr;
    QComboBox* cmbState = nullptr;
    QLineEdit* txtValue = nullptr;
    QSpinBox* spnQu = nullptr;
    QCheckBox* cekComputerTime = nullptr;
    QDateTimeEdit* dteTime = nullptr;
    QSpinBox* spnTimeout = nullptr;
    QPushButton* btnSelect = nullptr;
    QPushButton* btnExecute = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnDirect = nullptr;
    QListWidget* lstSteps = nullptr;
    QLabel* lblResult = nullptr;
    QTimer* tmrCommand = nullptr;
};

}  // namespace tc101
