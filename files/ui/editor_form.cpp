#include "files/ui/editor_form.h"

#include <utility>

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/ui/editor_questions.h"
#include "widgets/application.h"
#include "widgets/message_box.h"

namespace tc101 {

EditorForm::EditorForm(const char* formName, const QString& caption, QString nothingToSave, QString saveQuestion,
                       QWidget* parent)
    : QDialog(parent),
      formName_(formName),
      nothingToSave_(std::move(nothingToSave)),
      saveQuestion_(std::move(saveQuestion)) {
    setObjectName(QString::fromLatin1(formName));
    setWindowTitle(caption);
}

void EditorForm::BuildToolbar(QSize size) {
    setMinimumSize(size);
    resize(size);
    auto* row = new QHBoxLayout;
    // None is a default button: Enter in a cell moves on, it never presses one.
    const auto button = [this, row](const char* name, const char16_t* caption) {
        auto* b = new QPushButton(QString::fromUtf16(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    };
    const auto wire = [this](QPushButton* b, auto command) {
        connect(b, &QPushButton::clicked, this, [this, command] { RunCommand([this, command] { (this->*command)(); }); });
    };
    wire(button("btnAdd", u"添加(&A)"), &EditorForm::BtnAddClick);
    wire(button("btnDel", u"删除(&D)"), &EditorForm::BtnDelClick);
    wire(button("btnRefresh", u"刷新(&R)"), &EditorForm::BtnRefreshClick);
    wire(button("btnSave", u"保存(&S)"), &EditorForm::BtnSaveClick);
    connect(button("btnBack", u"返回(&B)"), &QPushButton::clicked, this, &QWidget::close);
    row->addStretch();
    toolbar_ = row;
}

void EditorForm::LayOut(QWidget* body) {
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(toolbar_);
    layout->addWidget(body, 1);
}

bool EditorForm::NothingToSaveShown() {
    if (!NothingToSave()) return false;
    ShowInformation(this, nothingToSave_, QString::fromUtf16(kSystemPrompt));
    return true;
}

bool EditorForm::BtnSaveClick() {
    BtnRefreshClick();
    if (NothingToSaveShown()) return false;
    WriteFiles();
    ShowInformation(this, QString::fromUtf16(u"保存成功!"), QString::fromUtf16(kSystemPrompt));
    modified_ = false;
    TakeSnapshots();
    return true;
}

bool EditorForm::FormCloseQuery() {
    PrepareCloseCheck();
    if (NothingToSaveShown() || !modified_) return true;
    return MayCloseAfterAsking(this, saveQuestion_, [this] { BtnSaveClick(); });
}

void EditorForm::reject() {
    if (FormCloseQuery()) QDialog::reject();
}

void EditorForm::done(int result) {
    QDialog::done(result);
    FormClose();
}

}  // namespace tc101
