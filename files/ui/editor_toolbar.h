#pragma once

// The toolbar both editors share: 添加, 删除, 刷新, 保存, 返回 at the top left.
// None is a default button: Enter in a cell moves on, it never presses one.

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace tc101 {

struct EditorToolbar {
    QPushButton* add;
    QPushButton* del;
    QPushButton* refresh;
    QPushButton* save;
    QPushButton* back;
    QHBoxLayout* row;
};

EditorToolbar MakeEditorToolbar(QWidget* parent);

}  // namespace tc101
