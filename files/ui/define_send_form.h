#pragma once

// TfrmDefineSend "维护发送报文": the named messages of the send list
// (send.sen), typed by hand or made by the generator TfrmBwget from the
// "生成" button cell of a row. Created per use and shown modally.

#include <string>

#include <QDialog>

#include "protocol/link_profile.h"
#include "protocol/table.h"

class QPushButton;

namespace tc101 {

class EditSnapshot;
class GridView;
class TfrmBwSet;

class TfrmDefineSend : public QDialog {
    Q_OBJECT
public:
    // The settings dialog supplies the generator's frames.
    explicit TfrmDefineSend(const TfrmBwSet& settings, QWidget* parent = nullptr);
    ~TfrmDefineSend() override;

    // The generator builds its frames in this profile (default 1/1/1/2).
    void SetLinkProfile(const LinkProfile& profile) { profile_ = profile; }

    bool Modified() const { return modified_; }
    Table& SendTable() { return sendTable_; }
    const std::string& SendFileName() const { return sendFileName_; }

    void BtnAddClick();
    void BtnDelClick();
    void BtnRefreshClick();
    // Returns whether send.sen was written. Throws FileError.
    bool BtnSaveClick();
    // The generator on the current row: shown modally, its message written
    // into the row when it was closed with OK.
    void OpenGenerator();

    // The window's widgets, for the tests that drive it.
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnRefresh = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnBack = nullptr;
    GridView* GrdSend = nullptr;

    // The close check; a window that may not close stays open.
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void FormShow();
    void FormClose();
    void FormResize();
    bool FormCloseQuery();
    int CurrentRow() const;
    void RowsMoved();
    bool TableKey(int key, Qt::KeyboardModifiers modifiers);
    void GridMouseUp(const QPoint& at);

    const TfrmBwSet& settings_;
    LinkProfile profile_;
    Table sendTable_;
    EditSnapshot* snapshot_ = nullptr;
    std::string sendFileName_;
    bool modified_ = false;
    bool shown_ = false;
};

}  // namespace tc101
