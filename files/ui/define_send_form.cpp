#include "files/ui/define_send_form.h"

#include <QMouseEvent>

#include "files/comset_keys.h"
#include "files/send_list_normalize.h"
#include "files/table_file.h"
#include "files/table_rows.h"
#include "files/table_tools.h"
#include "files/ui/edit_snapshot.h"
#include "files/ui/editor_questions.h"
#include "traffic/ui/bw_get_form.h"
#include "widgets/application.h"
#include "widgets/form_geometry.h"
#include "widgets/grid_view.h"
#include "widgets/table_model.h"

namespace tc101 {

namespace {

constexpr char kFormName[] = "frmDefineSend";
constexpr int kSendColumns = 4;
constexpr int kInitialSendRows = 4;
// Beside the content column when the window is resized.
constexpr int kContentSlack = 30;

}  // namespace

TfrmDefineSend::TfrmDefineSend(const TfrmBwSet& settings, QWidget* parent)
    : EditorForm(kFormName, QString::fromUtf16(u"维护发送报文"), QString::fromUtf16(u"没有报文,不可保存!"),
                 QString::fromUtf16(u"修改的报文没有保存，是否要保存？"), parent),
      settings_(settings),
      sendTable_(kSendColumns, kInitialSendRows + 1) {
    BuildLayout();
    NumberFixedColumn(sendTable_);
    GrdSend->setCurrentIndex(GrdSend->model()->index(0, 0));
    RestoreFormSize(*this, kFormName);

    snapshot_ = new EditSnapshot(*GrdSend);
    connect(snapshot_, &EditSnapshot::CellChanged, this, [this] { SetModified(); });
    GrdSend->setFocus();
    // Ctrl+Insert and Ctrl+Delete, in the grid and in a cell's editor.
    GrdSend->SetKeyHandler([this](int key, Qt::KeyboardModifiers modifiers) { return TableKey(key, modifiers); });
    // The grid's size and its mouse releases.
    GrdSend->installEventFilter(this);
    GrdSend->viewport()->installEventFilter(this);
}

// The grid reads the table until it is gone, and the table (a member) dies
// before QDialog's destructor would delete its children. Its viewport still
// sends events while the grid goes: the filter must not see a half-destroyed grid.
TfrmDefineSend::~TfrmDefineSend() {
    GrdSend->viewport()->removeEventFilter(this);
    GrdSend->removeEventFilter(this);
    delete GrdSend;
}

void TfrmDefineSend::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!shown_) {
        shown_ = true;
        RunCommand([this] { FormShow(); });
    }
}

void TfrmDefineSend::FormShow() {
    sendFileName_ = ResolveSendFileName();
    if (LoadTableFile(sendTable_, std::string(kSendFileName))) GrdSend->FitColumns({kSendNameCol});
    KeepOneDataRow(sendTable_);
    NumberFixedColumn(sendTable_);
    if (!GrdSend->currentIndex().isValid()) GrdSend->setCurrentIndex(GrdSend->model()->index(0, 0));
    snapshot_->Take();
    FormResize();
}

void TfrmDefineSend::FormResize() {
    const int width = GrdSend->width() - sendTable_.ColWidth(0) - sendTable_.ColWidth(kSendNameCol) -
                      sendTable_.ColWidth(kSendButtonCol) - kContentSlack;
    sendTable_.SetColWidth(kSendContentCol, width);
}

int TfrmDefineSend::CurrentRow() const {
    const QModelIndex current = GrdSend->currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

void TfrmDefineSend::RowsMoved() {
    NumberFixedColumn(sendTable_);
    snapshot_->Take();
}

void TfrmDefineSend::BtnAddClick() {
    GrdSend->CommitEdit();
    InsertBlankRow(sendTable_, AddedRowIndex(sendTable_, CurrentRow()));
    RowsMoved();
    SetModified();
}

void TfrmDefineSend::BtnDelClick() {
    GrdSend->CommitEdit();
    const int row = CurrentRow();
    if (!ConfirmRowDelete(this, row)) return;
    DeleteDataRow(sendTable_, row);
    RowsMoved();
    SetModified();
}

void TfrmDefineSend::BtnRefreshClick() {
    GrdSend->CommitEdit();
    NormalizeSendList(sendTable_);
    RowsMoved();
}

bool TfrmDefineSend::NothingToSave() const { return SendListEmpty(sendTable_); }

void TfrmDefineSend::WriteFiles() { SaveTableFile(sendTable_, std::string(kSendFileName)); }

void TfrmDefineSend::TakeSnapshots() { snapshot_->Take(); }

void TfrmDefineSend::OpenGenerator() {
    const int row = CurrentRow();
    TfrmBwget generator(settings_, this);
    generator.SetLinkProfile(profile_);
    generator.SetCaption(QString::fromUtf16(u"生成第 ") + QString::number(row) + QString::fromUtf16(u" 行报文"));
    generator.exec();
    if (generator.MessageGenerated()) {
        SetModified();
        sendTable_.SetCell(kSendNameCol, row, generator.GeneratedName().toStdString());
        sendTable_.SetCell(kSendContentCol, row, generator.GeneratedContent().toStdString());
    }
    raise();
    activateWindow();
}

void TfrmDefineSend::GridMouseUp(const QPoint& at) {
    const QModelIndex current = GrdSend->currentIndex();
    if (!current.isValid() || TableModel::TableColumn(current.column()) != kSendButtonCol) return;
    if (GrdSend->visualRect(current).contains(at)) OpenGenerator();
}

bool TfrmDefineSend::TableKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!(modifiers & Qt::ControlModifier)) return false;
    if (key == Qt::Key_Insert) {
        GrdSend->CommitEdit();
        InsertBlankRow(sendTable_, CurrentRow() + 1);
    } else if (key == Qt::Key_Delete) {
        GrdSend->CommitEdit();
        DeleteDataRow(sendTable_, CurrentRow());
    } else {
        return false;
    }
    RowsMoved();
    return true;
}

void TfrmDefineSend::PrepareCloseCheck() { BtnRefreshClick(); }

void TfrmDefineSend::FormClose() {
    if (!shown_) return;
    RunCommand([this] {
        StoreSendFileName(sendFileName_);
        SaveFormSize(*this, FormName());
    });
}

bool TfrmDefineSend::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GrdSend && event->type() == QEvent::Resize) FormResize();
    if (watched == GrdSend->viewport() && event->type() == QEvent::MouseButtonRelease)
        GridMouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
    return EditorForm::eventFilter(watched, event);
}

}  // namespace tc101
