#include "files/ui/define_send_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

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
#include "widgets/message_box.h"
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
    : QDialog(parent), settings_(settings), sendTable_(kSendColumns, kInitialSendRows + 1) {
    setObjectName(QString::fromLatin1(kFormName));
    setWindowTitle(QString::fromUtf16(u"维护发送报文"));
    BuildLayout();
    NumberFixedColumn(sendTable_);
    GrdSend->setCurrentIndex(GrdSend->model()->index(0, 0));
    RestoreFormSize(*this, kFormName);

    snapshot_ = new EditSnapshot(*GrdSend);
    connect(snapshot_, &EditSnapshot::CellChanged, this, [this] { modified_ = true; });
    GrdSend->setFocus();
    // Sees the grid's size, its mouse releases and Ctrl+Insert, Ctrl+Delete
    // even from a cell's editor.
    qApp->installEventFilter(this);
}

// The grid reads the table until it is gone, and the table (a member) dies
// before QDialog's destructor would delete its children.
TfrmDefineSend::~TfrmDefineSend() {
    // The filter looks at the grid: it goes first.
    qApp->removeEventFilter(this);
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
    modified_ = true;
}

void TfrmDefineSend::BtnDelClick() {
    GrdSend->CommitEdit();
    const int row = CurrentRow();
    if (!ConfirmRowDelete(this, row)) return;
    DeleteDataRow(sendTable_, row);
    RowsMoved();
    modified_ = true;
}

void TfrmDefineSend::BtnRefreshClick() {
    GrdSend->CommitEdit();
    NormalizeSendList(sendTable_);
    RowsMoved();
}

bool TfrmDefineSend::BtnSaveClick() {
    BtnRefreshClick();
    if (SendListEmpty(sendTable_)) {
        ShowInformation(this, QString::fromUtf16(u"没有报文,不可保存!"), QString::fromUtf16(kSystemPrompt));
        return false;
    }
    SaveTableFile(sendTable_, std::string(kSendFileName));
    ShowInformation(this, QString::fromUtf16(u"保存成功!"), QString::fromUtf16(kSystemPrompt));
    modified_ = false;
    snapshot_->Take();
    return true;
}

void TfrmDefineSend::OpenGenerator() {
    const int row = CurrentRow();
    TfrmBwget generator(settings_, this);
    generator.SetLinkProfile(profile_);
    generator.SetCaption(QString::fromUtf16(u"生成第 ") + QString::number(row) + QString::fromUtf16(u" 行报文"));
    generator.exec();
    if (generator.MessageGenerated()) {
        modified_ = true;
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

bool TfrmDefineSend::FormCloseQuery() {
    GrdSend->CommitEdit();
    NormalizeSendList(sendTable_);
    RowsMoved();
    if (SendListEmpty(sendTable_)) {
        ShowInformation(this, QString::fromUtf16(u"没有报文,不可保存!"), QString::fromUtf16(kSystemPrompt));
        return true;
    }
    if (!modified_) return true;
    return MayCloseAfterAsking(this, QString::fromUtf16(u"修改的报文没有保存，是否要保存？"), [this] { BtnSaveClick(); });
}

void TfrmDefineSend::reject() {
    if (FormCloseQuery()) QDialog::reject();
}

void TfrmDefineSend::done(int result) {
    QDialog::done(result);
    FormClose();
}

void TfrmDefineSend::FormClose() {
    if (!shown_) return;
    RunCommand([this] {
        StoreSendFileName(sendFileName_);
        SaveFormSize(*this, kFormName);
    });
}

bool TfrmDefineSend::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GrdSend && event->type() == QEvent::Resize) FormResize();
    if (watched == GrdSend->viewport() && event->type() == QEvent::MouseButtonRelease)
        GridMouseUp(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        (watched == GrdSend || GrdSend->isAncestorOf(static_cast<QWidget*>(watched)))) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (TableKey(key->key(), key->modifiers())) return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tc101
