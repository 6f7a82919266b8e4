#pragma once

// The base of the two editors: the toolbar 添加, 删除, 刷新, 保存, 返回 at the
// top left, saving, and the close check that offers to save what changed.
// Each editor supplies its tables, its files and its messages.

#include <QDialog>
#include <QSize>
#include <QString>

class QHBoxLayout;

namespace tc101 {

class EditorForm : public QDialog {
    Q_OBJECT
public:
    bool Modified() const { return modified_; }

    virtual void BtnAddClick() = 0;
    virtual void BtnDelClick() = 0;
    // Ends the edits and tidies the tables.
    virtual void BtnRefreshClick() = 0;
    // Tidies, then writes the files unless nothing is left to save; returns
    // whether they were written. Throws FileError.
    bool BtnSaveClick();

    // The close check; a window that may not close stays open.
    void reject() override;
    void done(int result) override;

protected:
    // `formName` is the object name and the stored size's section;
    // `nothingToSave` is shown instead of saving an empty editor, and
    // `saveQuestion` asked when it closes with changes.
    EditorForm(const char* formName, const QString& caption, QString nothingToSave, QString saveQuestion,
               QWidget* parent);

    const char* FormName() const { return formName_; }
    void SetModified() { modified_ = true; }
    // The window's minimum and start size, and the toolbar, its buttons wired
    // to the commands (返回 closes); built first, it comes first in the tab order.
    void BuildToolbar(QSize size);
    // The toolbar above `body`, which takes the rest of the window.
    void LayOut(QWidget* body);

    virtual bool NothingToSave() const = 0;
    // Throws FileError.
    virtual void WriteFiles() = 0;
    // The current cells' texts remembered again after rows moved or a save.
    virtual void TakeSnapshots() = 0;
    // What the close check does before it looks at the tables.
    virtual void PrepareCloseCheck() = 0;
    // At every close, once the window is hidden.
    virtual void FormClose() = 0;

private:
    bool FormCloseQuery();
    // Says so when there is nothing to save.
    bool NothingToSaveShown();

    const char* formName_;
    QString nothingToSave_;
    QString saveQuestion_;
    QHBoxLayout* toolbar_ = nullptr;
    bool modified_ = false;
};

}  // namespace tc101
