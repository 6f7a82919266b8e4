#include "app/demo/demo_definitions.h"

#include <stdlib.h>

#include <array>
#include <cerrno>
#include <string>
#include <string_view>
#include <system_error>

#include "files/table_file.h"

namespace tc101::demo {

namespace {

struct YcDefinition {
    std::string_view name;
    std::string_view unit;
    std::string_view ratio;
};

// A feeder's usual measurands. The ratio divides the raw value (-1000..1000).
constexpr std::array<YcDefinition, 8> kFeederYc{{
    {"A相电压", "kV", "100"},
    {"B相电压", "kV", "100"},
    {"C相电压", "kV", "100"},
    {"A相电流", "A", "2"},
    {"B相电流", "A", "2"},
    {"C相电流", "A", "2"},
    {"有功功率", "MW", "1000"},
    {"无功功率", "Mvar", "1000"},
}};

constexpr std::string_view kYcName = "遥测";
constexpr std::string_view kYxName = "开关";
constexpr std::string_view kYxOpen = "分";
constexpr std::string_view kYxClosed = "合";

}  // namespace

void FillDemoYcDefinitions(Table& yc, int count) {
    yc.SetRowCount(count + 1);
    for (int row = 1; row <= count; ++row) {
        yc.SetCell(0, row, std::to_string(row));
        const auto index = static_cast<std::size_t>(row - 1);
        if (index < kFeederYc.size()) {
            yc.SetCell(kYcNameCol, row, std::string(kFeederYc[index].name));
            yc.SetCell(kYcUnitCol, row, std::string(kFeederYc[index].unit));
            yc.SetCell(kYcRatioCol, row, std::string(kFeederYc[index].ratio));
        } else {
            yc.SetCell(kYcNameCol, row, std::string(kYcName) + std::to_string(row));
            yc.SetCell(kYcUnitCol, row, "");
            yc.SetCell(kYcRatioCol, row, "1");
        }
    }
}

void FillDemoYxDefinitions(Table& yx, int count) {
    yx.SetRowCount(count + 1);
    for (int row = 1; row <= count; ++row) {
        yx.SetCell(0, row, std::to_string(row));
        yx.SetCell(kYxNameCol, row, std::string(kYxName) + std::to_string(row));
        yx.SetCell(kYxState0Col, row, std::string(kYxOpen));
        yx.SetCell(kYxState1Col, row, std::string(kYxClosed));
    }
}

SessionDefinitions::SessionDefinitions(int ycCount, int yxCount) {
    // No points, nothing to name: a table file always loads at least one row.
    const bool needYc = ycCount > 0 && !std::filesystem::exists(kYcFileName);
    const bool needYx = yxCount > 0 && !std::filesystem::exists(kYxFileName);
    if (!needYc && !needYx) return;
    std::string pattern = (std::filesystem::temp_directory_path() / "tc101tool-demo-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "cannot make a folder for the demo's definitions");
    folder_ = pattern;
    try {
        ValueTables tables;
        if (needYc) {
            FillDemoYcDefinitions(tables.GrdYC, ycCount);
            ycFile_ = folder_ / kYcFileName;
            SaveTableFile(tables.GrdYC, *ycFile_);
        }
        if (needYx) {
            FillDemoYxDefinitions(tables.GrdYX, yxCount);
            yxFile_ = folder_ / kYxFileName;
            SaveTableFile(tables.GrdYX, *yxFile_);
        }
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        throw;
    }
}

SessionDefinitions::~SessionDefinitions() {
    if (folder_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

}  // namespace tc101::demo
