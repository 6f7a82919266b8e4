#pragma once

// The toolbar both editors share: 添加, 删除, 刷新, 保存, 返回 at the top left.
// None is a default button: Enter in a cell moves on, it never presses one.

#include <QPushButton>

#include "widgets/application.h"

class QHBoxLayout;
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

// Builds the toolbar into the form's named buttons and wires them to the
// form's commands (返回 closes it); the row is for the form's layout.
template <typename Form>
QHBoxLayout* AttachEditorToolbar(Form& form) {
    const EditorToolbar bar = MakeEditorToolbar(&form);
    form.btnAdd = bar.add;
    form.btnDel = bar.del;
    form.btnRefresh = bar.refresh;
    form.btnSave = bar.save;
    form.btnBack = bar.back;
    const auto wire = [&form](QPushButton* button, auto command) {
        QObject::connect(button, &QPushButton::clicked, &form,
                         [&form, command] { RunCommand([&form, command] { (form.*command)(); }); });
    };
    wire(bar.add, &Form::BtnAddClick);
    wire(bar.del, &Form::BtnDelClick);
    wire(bar.refresh, &Form::BtnRefreshClick);
    wire(bar.save, &Form::BtnSaveClick);
    QObject::connect(bar.back, &QPushButton::clicked, &form, [&form] { form.close(); });
    return bar.row;
}

}  // namespace tc101
