#pragma once

// Tfrmyxycdef "遥测遥信设置": the telemetry and telesignal point definitions
// (yc.sen, yx.sen) and the two decoding settings. Created per use and shown
// modally; at every close the decoding settings are stored and take effect.

#include <filesystem>
#include <optional>

#include "files/ui/editor_form.h"
#include "protocol/table.h"

class QComboBox;
class QSpinBox;
class QTabWidget;

namespace tc101 {

class EditSnapshot;
class GridView;

// Columns of both definition tables.
inline constexpr int kDefNameCol = 1;
inline constexpr int kYcRatioColumn = 3;

// Definitions shown where the working folder has no yc.sen or yx.sen (the
// demo's stand-ins); saving writes the working folder's files, never these.
struct StandInDefinitions {
    std::optional<std::filesystem::path> ycFile;
    std::optional<std::filesystem::path> yxFile;
};

class Tfrmyxycdef : public EditorForm {
    Q_OBJECT
public:
    // Reads the stored size and decoding settings, then yc.sen and yx.sen
    // (a stand-in where one is missing).
    explicit Tfrmyxycdef(QWidget* parent = nullptr, const StandInDefinitions& standIns = {});
    ~Tfrmyxycdef() override;

    Table& YcTable() { return ycTable_; }
    Table& YxTable() { return yxTable_; }

    void BtnAddClick() override;
    void BtnDelClick() override;
    void BtnRefreshClick() override;

protected:
    bool NothingToSave() const override;
    void WriteFiles() override;
    void TakeSnapshots() override;
    void PrepareCloseCheck() override;
    void FormClose() override;

private:
    void BuildLayout();
    void FormCreate();
    void LoadDefinitions(const StandInDefinitions& standIns);
    GridView* ActiveGrid() const;
    // Row numbers repaired and the snapshots taken again after rows moved.
    void RowsMoved();
    void CommitEdits();
    void YcCellChanged(int col, int row, const std::string& before);

    Table ycTable_;
    Table yxTable_;
    QTabWidget* PageControl1 = nullptr;
    GridView* GrdYC = nullptr;
    GridView* GrdYX = nullptr;
    QSpinBox* txtYcUseByte = nullptr;
    QComboBox* cmbYxUseByte = nullptr;
    EditSnapshot* ycSnapshot_ = nullptr;
    EditSnapshot* yxSnapshot_ = nullptr;
};

}  // namespace tc101
