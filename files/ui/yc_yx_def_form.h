#pragma once

// Tfrmyxycdef "遥测遥信设置": the telemetry and telesignal point definitions
// (yc.sen, yx.sen) and the two decoding settings. Created per use and shown
// modally; at every close the decoding settings are stored and take effect.

#include <QDialog>

#include "protocol/table.h"

class QComboBox;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tc101 {

class EditSnapshot;
class GridView;

// Columns of both definition tables.
inline constexpr int kDefNameCol = 1;
inline constexpr int kYcRatioColumn = 3;

class Tfrmyxycdef : public QDialog {
    Q_OBJECT
public:
    // Reads the stored size and decoding settings, then yc.sen and yx.sen.
    explicit Tfrmyxycdef(QWidget* parent = nullptr);
    ~Tfrmyxycdef() override;

    bool Modified() const { return modified_; }
    Table& YcTable() { return ycTable_; }
    Table& YxTable() { return yxTable_; }

    void BtnAddClick();
    void BtnDelClick();
    void BtnRefreshClick();
    // Returns whether both table files were written. Throws FileError.
    bool BtnSaveClick();

    // The window's widgets, for the tests that drive it.
    QPushButton* btnAdd = nullptr;
    QPushButton* btnDel = nullptr;
    QPushButton* btnRefresh = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnBack = nullptr;
    QTabWidget* PageControl1 = nullptr;
    GridView* GrdYC = nullptr;
    GridView* GrdYX = nullptr;
    QSpinBox* txtYcUseByte = nullptr;
    QComboBox* cmbYxUseByte = nullptr;

    // The close check; a window that may not close stays open.
    void reject() override;
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    void FormCreate();
    void LoadDefinitions();
    GridView* ActiveGrid() const;
    EditSnapshot* ActiveSnapshot() const;
    void TidyTables();
    bool BothTablesEmpty() const;
    // Row numbers repaired and the snapshots taken again after rows moved.
    void RowsMoved();
    void CommitEdits();
    bool FormCloseQuery();
    void FormClose();
    void YcCellChanged(int col, int row, const std::string& before);

    Table ycTable_;
    Table yxTable_;
    EditSnapshot* ycSnapshot_ = nullptr;
    EditSnapshot* yxSnapshot_ = nullptr;
    bool modified_ = false;
};

}  // namespace tc101
