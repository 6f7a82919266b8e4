#include "protocol/value_tables.h"

#include <string_view>

namespace tc101 {

namespace {

struct ColumnLook {
    std::string_view title;
    int width;
};

constexpr int kNumberColWidth = 20;
constexpr ColumnLook kYcColumns[] = {{"", kNumberColWidth}, {"遥测量", 102}, {"单位", 73}, {"比例", 104}};
constexpr ColumnLook kYxColumns[] = {{"", kNumberColWidth}, {"遥信量", 101}, {"0的意义", 72}, {"1的意义", 67}};
constexpr ColumnLook kSjColumns[] = {{"", 31}, {"时间", 213}, {"遥信量", 161}, {"状态", 74}};
constexpr int kSjInitialRows = 2;
const std::string kNoText;
const DeviceColumnSlot kNoSlot;

constexpr std::string_view kDeviceTitleSuffix = "#设备";

template <size_t N>
void SetColumns(Table& table, const ColumnLook (&looks)[N]) {
    for (size_t col = 0; col < N; ++col) {
        table.SetCell(static_cast<int>(col), 0, std::string(looks[col].title));
        table.SetColWidth(static_cast<int>(col), looks[col].width);
    }
}

void NumberRows(Table& table) {
    for (int row = 1; row < table.RowCount(); ++row) table.SetCell(0, row, std::to_string(row));
}

bool IsBlank(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) > ' ') return false;
    }
    return true;
}

}  // namespace

ValueTables::ValueTables()
    : GrdYC(kFirstDeviceCol, kInitialPointRows + 1),
      GrdYX(kFirstDeviceCol, kInitialPointRows + 1),
      GrdSJ(kFirstDeviceCol, kSjInitialRows),
      ycSlots_(kDeviceSlotCount),
      yxSlots_(kDeviceSlotCount) {
    SetColumns(GrdYC, kYcColumns);
    SetColumns(GrdYX, kYxColumns);
    SetColumns(GrdSJ, kSjColumns);
    NumberRows(GrdYC);
    NumberRows(GrdYX);
    GrdSJ.SetTone(kSjStateCol, ColumnTone::Green);
}

Table& ValueTables::Grid(ValuePage page) {
    switch (page) {
        case ValuePage::Yc: return GrdYC;
        case ValuePage::Yx: return GrdYX;
        case ValuePage::Sj: break;
    }
    return GrdSJ;
}

const Table& ValueTables::Grid(ValuePage page) const {
    return const_cast<ValueTables*>(this)->Grid(page);
}

std::vector<DeviceColumnSlot>& ValueTables::Slots(ValuePage page) {
    return page == ValuePage::Yx ? yxSlots_ : ycSlots_;
}

const std::vector<DeviceColumnSlot>& ValueTables::Slots(ValuePage page) const {
    return page == ValuePage::Yx ? yxSlots_ : ycSlots_;
}

void ValueTables::EnsureDeviceColumn(ValuePage page, LinkAddress address) {
    if (page == ValuePage::Sj) return;
    std::vector<DeviceColumnSlot>& slots = Slots(page);
    if (address >= slots.size()) slots.resize(std::size_t{address} + 1);
    DeviceColumnSlot& slot = slots[address];
    if (slot.present) return;
    Table& table = Grid(page);
    const int column = table.ColCount();
    table.SetColCount(column + 1);
    table.SetTone(column, ColumnTone::Green);
    std::string title = std::to_string(address);
    title += kDeviceTitleSuffix;
    table.SetCell(column, 0, std::move(title));
    slot.column = column;
    slot.present = true;
}

void ValueTables::MarkDevice(LinkAddress address, bool lost, const std::string& note) {
    for (const ValuePage page : {ValuePage::Yc, ValuePage::Yx}) {
        const DeviceColumnSlot& slot = Slot(page, address);
        if (!slot.present) continue;
        Grid(page).SetTone(slot.column, lost ? ColumnTone::Grey : ColumnTone::Green);
        Grid(page).SetNote(slot.column, note);
    }
}

const DeviceColumnSlot& ValueTables::Slot(ValuePage page, LinkAddress address) const {
    const std::vector<DeviceColumnSlot>& slots = Slots(page);
    return address < slots.size() ? slots[address] : kNoSlot;
}

void ValueTables::WriteValue(ValuePage page, LinkAddress address, int row, std::string text, std::uint8_t quality) {
    if (page == ValuePage::Sj) return;
    const DeviceColumnSlot& slot = Slot(page, address);
    Table& table = Grid(page);
    if (!slot.present || !IsDataRow(table, row)) return;
    table.SetCell(slot.column, row, std::move(text));
    table.SetQuality(slot.column, row, quality);
}

const std::string& ValueTables::Definition(ValuePage page, int col, int row) const {
    const Table& table = Grid(page);
    // Only definition columns: a device column is not a definition.
    if (!IsDataRow(table, row) || col < 0 || col >= kFirstDeviceCol) return kNoText;
    return table.Cell(col, row);
}

int ValueTables::DataRowCount(ValuePage page) const { return Grid(page).RowCount() - 1; }

int ValueTables::AppendEvents(int count) {
    if (count < 1) return eventRow_;
    if (GrdSJ.RowCount() == kSjInitialRows && GrdSJ.Cell(kSjTimeCol, 1).empty()) {
        eventRow_ = 1;
        GrdSJ.SetCell(kSjNumberCol, 1, "1");
        GrdSJ.SetRowCount(count + 1);
    } else {
        eventRow_ = GrdSJ.RowCount();
        GrdSJ.SetRowCount(eventRow_ + count);
        // The last event write already numbered this row; our table drops
        // writes beyond its end, so the number is set once the row exists.
        GrdSJ.SetCell(kSjNumberCol, eventRow_, std::to_string(eventRow_));
    }
    return eventRow_;
}

void ValueTables::WriteEvent(std::string timeText, std::string name, const std::string* stateText) {
    const int row = eventRow_;
    GrdSJ.SetCell(kSjTimeCol, row, std::move(timeText));
    GrdSJ.SetCell(kSjNameCol, row, std::move(name));
    if (stateText) GrdSJ.SetCell(kSjStateCol, row, *stateText);
    ++eventRow_;
    GrdSJ.SetCell(kSjNumberCol, eventRow_, std::to_string(eventRow_));
    GrdSJ.SetCurrentRow(GrdSJ.RowCount() - 1);
}

void ValueTables::ClearValueTable(int page) {
    if (page == static_cast<int>(ValuePage::Yc) || page == static_cast<int>(ValuePage::Yx)) {
        const auto which = static_cast<ValuePage>(page);
        Table& table = Grid(which);
        for (int col = kFirstDeviceCol; col < table.ColCount(); ++col) {
            for (int row = 0; row < table.RowCount(); ++row) {
                table.SetCell(col, row, {});
                table.SetQuality(col, row, 0);
            }
        }
        table.SetColCount(kFirstDeviceCol);
        Slots(which).assign(kDeviceSlotCount, DeviceColumnSlot{});
    } else if (page == static_cast<int>(ValuePage::Sj)) {
        // The titles stay: only the event cells are emptied.
        for (int col = kSjTimeCol; col <= kSjStateCol; ++col) {
            for (int row = 1; row < GrdSJ.RowCount(); ++row) GrdSJ.SetCell(col, row, {});
        }
        GrdSJ.SetRowCount(kSjInitialRows);
        eventRow_ = 1;
    }
}

bool ClearItemVisible(const ValueTables& tables, int page) {
    switch (page) {
        case static_cast<int>(ValuePage::Yc): return tables.GrdYC.ColCount() > kFirstDeviceCol;
        case static_cast<int>(ValuePage::Yx): return tables.GrdYX.ColCount() > kFirstDeviceCol;
        case static_cast<int>(ValuePage::Sj):
            return !(tables.GrdSJ.RowCount() == kSjInitialRows && IsBlank(tables.GrdSJ.Cell(kSjTimeCol, 1)));
        default: return false;
    }
}

}  // namespace tc101
