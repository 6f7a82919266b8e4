#include "files/ui/yc_yx_def_form.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "files/comset_keys.h"
#include "files/ratio_text.h"
#include "files/table_file.h"
#include "files/table_rows.h"
#include "files/table_tools.h"
#include "files/ui/edit_snapshot.h"
#include "files/ui/editor_questions.h"
#include "widgets/application.h"
#include "widgets/form_geometry.h"
#include "widgets/grid_view.h"
#include "widgets/message_box.h"
#include "widgets/table_model.h"

namespace tc101 {

namespace {

constexpr char kFormName[] = "frmyxycdef";
constexpr int kDefColumns = 4;
// Blank data rows before a file is loaded.
constexpr int kInitialYcRows = 19;
constexpr int kInitialYxRows = 8;
constexpr int kYcPage = 0;
constexpr int kYxPage = 1;
constexpr int kLowByte = 0xFF;

int CurrentTableRow(const GridView& grid) {
    const QModelIndex current = grid.currentIndex();
    return current.isValid() ? current.row() + 1 : 1;
}

}  // namespace

Tfrmyxycdef::Tfrmyxycdef(QWidget* parent)
    : QDialog(parent), ycTable_(kDefColumns, kInitialYcRows + 1), yxTable_(kDefColumns, kInitialYxRows + 1) {
    setObjectName(QString::fromLatin1(kFormName));
    setWindowTitle(QString::fromUtf16(u"遥测遥信设置"));
    BuildLayout();
    FormCreate();
    LoadDefinitions();

    ycSnapshot_ = new EditSnapshot(*GrdYC);
    yxSnapshot_ = new EditSnapshot(*GrdYX);
    connect(ycSnapshot_, &EditSnapshot::CellChanged, this,
            [this](int col, int row, const std::string& before) { YcCellChanged(col, row, before); });
    connect(yxSnapshot_, &EditSnapshot::CellChanged, this, [this] { modified_ = true; });

    // The table of the page shown has the focus, and with it the cell editor.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { ActiveGrid()->setFocus(); });
    GrdYC->setFocus();
    // The window sees F3 and F4 before its controls do.
    qApp->installEventFilter(this);
}

// The grids read the tables until they are gone, and the tables (members)
// die before QDialog's destructor would delete its children.
Tfrmyxycdef::~Tfrmyxycdef() {
    qApp->removeEventFilter(this);
    delete PageControl1;
}

void Tfrmyxycdef::FormCreate() {
    RestoreFormSize(*this, kFormName);
    PageControl1->setCurrentIndex(kYcPage);
    txtYcUseByte->setValue(static_cast<int>(ReadYcUseByte() & kLowByte));
    const int yxIndex = static_cast<int>(ReadYxUseByte() & kLowByte);
    cmbYxUseByte->setCurrentIndex(yxIndex < cmbYxUseByte->count() ? yxIndex : -1);
}

void Tfrmyxycdef::LoadDefinitions() {
    if (LoadTableFile(ycTable_, std::string(kYcFileName))) GrdYC->FitColumns({1, 2, 3});
    if (LoadTableFile(yxTable_, std::string(kYxFileName))) GrdYX->FitColumns({1, 2, 3});
    for (Table* table : {&ycTable_, &yxTable_}) {
        KeepOneDataRow(*table);
        NumberFixedColumn(*table);
    }
    for (GridView* grid : {GrdYC, GrdYX}) grid->setCurrentIndex(grid->model()->index(0, 0));
}

GridView* Tfrmyxycdef::ActiveGrid() const { return PageControl1->currentIndex() == kYxPage ? GrdYX : GrdYC; }

EditSnapshot* Tfrmyxycdef::ActiveSnapshot() const {
    return PageControl1->currentIndex() == kYxPage ? yxSnapshot_ : ycSnapshot_;
}

void Tfrmyxycdef::CommitEdits() {
    for (GridView* grid : {GrdYC, GrdYX}) grid->CommitEdit();
}

void Tfrmyxycdef::RowsMoved() {
    // An open editor follows its cell: the view reloads it on each cell change.
    NumberFixedColumn(ycTable_);
    NumberFixedColumn(yxTable_);
    ycSnapshot_->Take();
    yxSnapshot_->Take();
}

void Tfrmyxycdef::BtnAddClick() {
    GridView* grid = ActiveGrid();
    grid->CommitEdit();
    Table& table = grid->Model()->Source();
    InsertBlankRow(table, AddedRowIndex(table, CurrentTableRow(*grid)));
    RowsMoved();
    modified_ = true;
}

void Tfrmyxycdef::BtnDelClick() {
    GridView* grid = ActiveGrid();
    grid->CommitEdit();
    const int row = CurrentTableRow(*grid);
    if (ConfirmRowDelete(this, row)) {
        DeleteDataRow(grid->Model()->Source(), row);
        RowsMoved();
    }
    modified_ = true;
}

void Tfrmyxycdef::TidyTables() {
    CommitEdits();
    DeleteRowsBlankIn(ycTable_, kDefNameCol);
    DeleteRowsBlankIn(yxTable_, kDefNameCol);
    RowsMoved();
}

void Tfrmyxycdef::BtnRefreshClick() { TidyTables(); }

bool Tfrmyxycdef::BothTablesEmpty() const {
    return HoldsNothingIn(ycTable_, kDefNameCol) && HoldsNothingIn(yxTable_, kDefNameCol);
}

bool Tfrmyxycdef::BtnSaveClick() {
    TidyTables();
    if (BothTablesEmpty()) {
        ShowInformation(this, QString::fromUtf16(u"遥测和遥信都没有设置,不可保存!"), QString::fromUtf16(kSystemPrompt));
        return false;
    }
    SaveTableFile(ycTable_, std::string(kYcFileName));
    SaveTableFile(yxTable_, std::string(kYxFileName));
    ShowInformation(this, QString::fromUtf16(u"保存成功!"), QString::fromUtf16(kSystemPrompt));
    modified_ = false;
    ycSnapshot_->Take();
    yxSnapshot_->Take();
    return true;
}

void Tfrmyxycdef::YcCellChanged(int col, int row, const std::string& before) {
    if (col == kYcRatioColumn) {
        const std::optional<std::string> number = RatioCellText(ycTable_.Cell(col, row));
        if (!number) {
            QApplication::beep();
            ycTable_.SetCell(col, row, before);
            return;
        }
        ycTable_.SetCell(col, row, *number);
        if (*number == before) return;
    }
    modified_ = true;
}

bool Tfrmyxycdef::FormCloseQuery() {
    CommitEdits();
    if (BothTablesEmpty()) {
        ShowInformation(this, QString::fromUtf16(u"遥测和遥信都没有设置,不可保存!"), QString::fromUtf16(kSystemPrompt));
        return true;
    }
    if (!modified_) return true;
    return MayCloseAfterAsking(this, QString::fromUtf16(u"修改的遥测遥信设置没有保存，是否要保存？"), [this] { BtnSaveClick(); });
}

void Tfrmyxycdef::reject() {
    if (FormCloseQuery()) QDialog::reject();
}

void Tfrmyxycdef::done(int result) {
    QDialog::done(result);
    FormClose();
}

void Tfrmyxycdef::FormClose() {
    RunCommand([this] {
        SaveFormSize(*this, kFormName);
        StoreDefFileName("");
        WriteYcUseByte(txtYcUseByte->value());
        WriteYxUseByte(cmbYxUseByte->currentIndex());
    });
}

bool Tfrmyxycdef::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_F3: PageControl1->setCurrentIndex(kYcPage); return true;
            case Qt::Key_F4: PageControl1->setCurrentIndex(kYxPage); return true;
            default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tc101
