#pragma once

// The three value tables of the main window and the rules that fill them:
// GrdYC (telemetry) and GrdYX (telesignals) with one device column per link
// address, GrdSJ (event records) growing one row per event. The analyser is
// their only writer of values; the windows show them, the export reads them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/table.h"

namespace tc101 {

// Page index of each table on the main window's lower page control.
enum class ValuePage : int { Yc = 0, Yx = 1, Sj = 2 };

// GrdYC columns.
inline constexpr int kYcNameCol = 1;
inline constexpr int kYcUnitCol = 2;
inline constexpr int kYcRatioCol = 3;
// GrdYX columns.
inline constexpr int kYxNameCol = 1;
inline constexpr int kYxState0Col = 2;
inline constexpr int kYxState1Col = 3;
// Device columns of GrdYC and GrdYX start here.
inline constexpr int kFirstDeviceCol = 4;
// GrdSJ columns.
inline constexpr int kSjNumberCol = 0;
inline constexpr int kSjTimeCol = 1;
inline constexpr int kSjNameCol = 2;
inline constexpr int kSjStateCol = 3;

// Data rows of GrdYC and GrdYX before any definition file is loaded.
inline constexpr int kInitialPointRows = 4;

// Link addresses of one octet; two-octet addresses grow the slots as they come.
inline constexpr int kDeviceSlotCount = 256;

// A link address as the tables key it: one or two octets.
using LinkAddress = std::uint16_t;

// Where the values of one link address live in a value table.
struct DeviceColumnSlot {
    std::int32_t column = 0;
    bool present = false;
};

class ValueTables {
public:
    ValueTables();
    ValueTables(const ValueTables&) = delete;
    ValueTables& operator=(const ValueTables&) = delete;

    Table GrdYC;
    Table GrdYX;
    Table GrdSJ;

    // The table of a page (Yc, Yx or Sj).
    Table& Grid(ValuePage page);
    const Table& Grid(ValuePage page) const;

    // Yc or Yx: adds the column "N#设备" at the right on first sight of the address.
    void EnsureDeviceColumn(ValuePage page, LinkAddress address);
    const DeviceColumnSlot& Slot(ValuePage page, LinkAddress address) const;

    // How the address's device columns of GrdYC and GrdYX are drawn: grey
    // while the device is lost, else green, with the note as every cell's
    // tip. An address without columns is left alone.
    void MarkDevice(LinkAddress address, bool lost, const std::string& note);

    // Sets the address's device cell at a data row, with the quality flags
    // its value came with (0: none); other rows, or an address without a
    // column, are left alone.
    void WriteValue(ValuePage page, LinkAddress address, int row, std::string text, std::uint8_t quality = 0);
    // A definition cell of a data row; any other row reads as empty.
    const std::string& Definition(ValuePage page, int col, int row) const;
    // Row count less the title row.
    int DataRowCount(ValuePage page) const;

    // Reserves count rows of GrdSJ and returns the first; the next count
    // WriteEvent calls fill them in order. A count below 1 changes nothing.
    int AppendEvents(int count);
    // Fills the current event row (state: nullptr for none) and moves on.
    void WriteEvent(std::string timeText, std::string name, const std::string* stateText);

    // Page 0 or 1: drop every device column; page 2: empty the event list.
    void ClearValueTable(int page);

private:
    std::vector<DeviceColumnSlot>& Slots(ValuePage page);
    const std::vector<DeviceColumnSlot>& Slots(ValuePage page) const;
    bool IsDataRow(const Table& table, int row) const { return row >= 1 && row < table.RowCount(); }

    std::vector<DeviceColumnSlot> ycSlots_;
    std::vector<DeviceColumnSlot> yxSlots_;
    int eventRow_ = 1;
};

// Whether the context menu item "清除(&C)" shows on a page: only when there is
// something to clear.
bool ClearItemVisible(const ValueTables& tables, int page);

}  // namespace tc101
