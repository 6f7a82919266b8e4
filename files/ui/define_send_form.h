#pragma once

// TfrmDefineSend "维护发送报文": the named messages of the send list
// (send.sen), typed by hand or made by the generator TfrmBwget from the
// "生成" button cell of a row. Created per use and shown modally.

#include <string>

#include "files/ui/editor_form.h"
#include "protocol/link_profile.h"
#include "protocol/table.h"

namespace tc101 {

class EditSnapshot;
class GridView;
class TfrmBwSet;

class TfrmDefineSend : public EditorForm {
    Q_OBJECT
public:
    // The settings dialog supplies the generator's frames.
    explicit TfrmDefineSend(const TfrmBwSet& settings, QWidget* parent = nullptr);
    ~TfrmDefineSend() override;

    // The generator builds its frames in this profile (default 1/1/1/2).
    void SetLinkProfile(const LinkProfile& profile) { profile_ = profile; }

    Table& SendTable() { return sendTable_; }
    const std::string& SendFileName() const { return sendFileName_; }

    void BtnAddClick() override;
    void BtnDelClick() override;
    void BtnRefreshClick() override;
    // The generator on the current row: shown modally, its message written
    // into the row when it was closed with OK.
    void OpenGenerator();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool NothingToSave() const override;
    void WriteFiles() override;
    void TakeSnapshots() override;
    void PrepareCloseCheck() override;
    void FormClose() override;

private:
    void BuildLayout();
    void FormShow();
    void FormResize();
    int CurrentRow() const;
    void RowsMoved();
    bool TableKey(int key, Qt::KeyboardModifiers modifiers);
    void GridMouseUp(const QPoint& at);

    const TfrmBwSet& settings_;
    LinkProfile profile_;
    Table sendTable_;
    GridView* GrdSend = nullptr;
    EditSnapshot* snapshot_ = nullptr;
    std::string sendFileName_;
    bool shown_ = false;
};

}  // namespace tc101
