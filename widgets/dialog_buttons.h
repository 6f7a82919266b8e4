#pragma once

// The "确定(&O)" and "返回(&B)" pair at the top of the program's dialogs.
// Neither is a default button: Enter in a grid cell ends the edit, it does
// not close or confirm the dialog.

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace tc101 {

struct OkBackButtons {
    QPushButton* ok;
    QPushButton* back;
    QHBoxLayout* row;  // the two buttons at the left; for the caller's layout
};

OkBackButtons MakeOkBackButtons(QWidget* parent);

}  // namespace tc101
