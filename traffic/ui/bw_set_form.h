#pragma once

// frmBwSet "报文设置": the master message settings. Created once at start and
// kept until exit: its cells are the live MasterSettings value, so an edit is
// used at once, saved or not (SettingsChanged). It loads and saves through
// the one reader and writer of bwset.ini. Outside the dialog the cells
// always hold hex text.

#include <array>
#include <cstdint>

#include <QDialog>

#include "files/bw_set_cells.h"
#include "protocol/requests.h"
#include "protocol/table.h"
#include "traffic/master_settings.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace tc101 {

class GridView;

// Columns of both tables: the fixed label and the value.
inline constexpr int kBwLabelCol = 1;
inline constexpr int kBwValueCol = 2;

class TfrmBwSet : public QDialog {
    Q_OBJECT
public:
    // Reads bwset.ini; a missing file or key gives the stored defaults.
    explicit TfrmBwSet(QWidget* parent = nullptr);
    ~TfrmBwSet() override;

    // The settings as the cells and the switch stand now, each cell read in
    // the display it is shown in (nothing for a cell that cannot be read).
    MasterSettings Settings() const;
    // The requests built from Settings().
    std::array<std::uint8_t, kFixedFrameSize> ShortRequestFrame(ShortRequest request, std::int64_t address) const;
    std::array<std::uint8_t, kInterrogationFrameSize> InterrogationFrame(
        std::int64_t address, CellFallback fallback = CellFallback::TableDefaults) const;

    const Table& ShortCells() const { return shortCells_; }
    const Table& ZZCells() const { return zzCells_; }
    ValueDisplay Display() const { return display_; }
    // "标准链路规程(&F)" as it stands now, saved or not, like the cells.
    bool StandardLink() const;

    // The dialog's widgets, for the tests that drive it.
    GridView* grdShort = nullptr;
    GridView* GrdZZ = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnBack = nullptr;
    QRadioButton* rbHex = nullptr;
    QRadioButton* rbDec = nullptr;
    QCheckBox* chkStandardLink = nullptr;
    QSpinBox* spnLostAfter = nullptr;
    QTabWidget* PageControl1 = nullptr;

    void done(int result) override;

Q_SIGNALS:
    // A value cell, the display or the switch changed: Settings() is new.
    void SettingsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildLayout();
    void FormCreate();
    void BtnOkClick();
    void SetDisplay(ValueDisplay display);
    // Showing and closing: back to hex, converting the cells if decimal was on.
    void ReturnToHex();
    void ApplyEditLimits();

    Table shortCells_;
    Table zzCells_;
    ValueDisplay display_ = ValueDisplay::Hex;
};

}  // namespace tc101
