#include "files/ui/yc_yx_def_form.h"

#include <QApplication>
#include <QComboBox>
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
#include "widgets/key_shortcut.h"
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

Tfrmyxycdef::Tfrmyxycdef(QWidget* parent, const StandInDefinitions& standIns)
    : EditorForm(kFormName, QString::fromUtf16(u"遥测遥信设置"), QString::fromUtf16(u"遥测和遥信都没有设置,不可保存!"),
                 QString::fromUtf16(u"修改的遥测遥信设置没有保存，是否要保存？"), parent),
      ycTable_(kDefColumns, kInitialYcRows + 1),
      yxTable_(kDefColumns, kInitialYxRows + 1) {
    BuildLayout();
    FormCreate();
    LoadDefinitions(standIns);

    ycSnapshot_ = new EditSnapshot(*GrdYC);
    yxSnapshot_ = new EditSnapshot(*GrdYX);
    connect(ycSnapshot_, &EditSnapshot::CellChanged, this,
            [this](int col, int row, const std::string& before) { YcCellChanged(col, row, before); });
    connect(yxSnapshot_, &EditSnapshot::CellChanged, this, [this] { SetModified(); });

    // The table of the page shown has the focus, and with it the cell editor.
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { ActiveGrid()->setFocus(); });
    GrdYC->setFocus();
    // F3 and F4 whatever has the focus, with any modifiers, and never typed into a cell.
    AddKeyShortcut(*this, Qt::Key_F3, Qt::NoModifier, Qt::WindowShortcut, [this] { PageControl1->setCurrentIndex(kYcPage); });
    AddKeyShortcut(*this, Qt::Key_F4, Qt::NoModifier, Qt::WindowShortcut, [this] { PageControl1->setCurrentIndex(kYxPage); });
}

// The grids read the tables until they are gone, and the tables (members)
// die before QDialog's destructor would delete its children.
Tfrmyxycdef::~Tfrmyxycdef() { delete PageControl1; }

void Tfrmyxycdef::FormCreate() {
    RestoreFormSize(*this, kFormName);
    PageControl1->setCurrentIndex(kYcPage);
    txtYcUseByte->setValue(static_cast<int>(ReadYcUseByte() & kLowByte));
    const int yxIndex = static_cast<int>(ReadYxUseByte() & kLowByte);
    cmbYxUseByte->setCurrentIndex(yxIndex < cmbYxUseByte->count() ? yxIndex : -1);
}

void Tfrmyxycdef::LoadDefinitions(const StandInDefinitions& standIns) {
    const auto load = [](Table& table, std::string_view name, const std::optional<std::filesystem::path>& standIn) {
        return LoadTableFile(table, std::string(name)) || (standIn && LoadTableFile(table, *standIn));
    };
    if (load(ycTable_, kYcFileName, standIns.ycFile)) GrdYC->FitColumns({1, 2, 3});
    if (load(yxTable_, kYxFileName, standIns.yxFile)) GrdYX->FitColumns({1, 2, 3});
    for (Table* table : {&ycTable_, &yxTable_}) {
        KeepOneDataRow(*table);
        NumberFixedColumn(*table);
    }
    for (GridView* grid : {GrdYC, GrdYX}) grid->setCurrentIndex(grid->model()->index(0, 0));
}

GridView* Tfrmyxycdef::ActiveGrid() const { return PageControl1->currentIndex() == kYxPage ? GrdYX : GrdYC; }

void Tfrmyxycdef::CommitEdits() {
    for (GridView* grid : {GrdYC, GrdYX}) grid->CommitEdit();
}

void Tfrmyxycdef::RowsMoved() {
    // An open editor follows its cell: the view reloads it on each cell change.
    NumberFixedColumn(ycTable_);
    NumberFixedColumn(yxTable_);
    TakeSnapshots();
}

void Tfrmyxycdef::TakeSnapshots() {
    ycSnapshot_->Take();
    yxSnapshot_->Take();
}

void Tfrmyxycdef::BtnAddClick() {
    GridView* grid = ActiveGrid();
    grid->CommitEdit();
    Table& table = grid->Model()->Source();
    InsertBlankRow(table, AddedRowIndex(table, CurrentTableRow(*grid)));
    RowsMoved();
    SetModified();
}

void Tfrmyxycdef::BtnDelClick() {
    GridView* grid = ActiveGrid();
    grid->CommitEdit();
    const int row = CurrentTableRow(*grid);
    if (ConfirmRowDelete(this, row)) {
        DeleteDataRow(grid->Model()->Source(), row);
        RowsMoved();
    }
    SetModified();
}

void Tfrmyxycdef::BtnRefreshClick() {
    CommitEdits();
    DeleteRowsBlankIn(ycTable_, kDefNameCol);
    DeleteRowsBlankIn(yxTable_, kDefNameCol);
    RowsMoved();
}

bool Tfrmyxycdef::NothingToSave() const {
    return HoldsNothingIn(ycTable_, kDefNameCol) && HoldsNothingIn(yxTable_, kDefNameCol);
}

void Tfrmyxycdef::WriteFiles() {
    SaveTableFile(ycTable_, std::string(kYcFileName));
    SaveTableFile(yxTable_, std::string(kYxFileName));
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
    SetModified();
}

void Tfrmyxycdef::PrepareCloseCheck() { CommitEdits(); }

void Tfrmyxycdef::FormClose() {
    RunCommand([this] {
        SaveFormSize(*this, FormName());
        StoreDefFileName("");
        WriteYcUseByte(txtYcUseByte->value());
        WriteYxUseByte(cmbYxUseByte->currentIndex());
    });
}

}  // namespace tc101
