#include "export/workbook_writer.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>

namespace tc101 {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& file, std::string_view reason) {
    throw ExportError("不能写入文件 " + file.string() + "：" + std::string(reason));
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const {
        // Only reached on an error path: frees without writing the half-built file.
        lxw_workbook_free(workbook);
    }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookCloser>;

void Check(lxw_error error, const std::filesystem::path& file) {
    if (error != LXW_NO_ERROR) Fail(file, lxw_strerror(error));
}

void WriteSheet(lxw_workbook* workbook, lxw_format* centred, const SheetSource& sheet,
                const std::filesystem::path& file) {
    const std::string name(sheet.name);
    if (const lxw_error error = workbook_validate_sheet_name(workbook, name.c_str()); error != LXW_NO_ERROR)
        Fail(file, "工作表名 " + name + " 无效：" + lxw_strerror(error));
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook, name.c_str());
    if (!worksheet) Fail(file, "工作表 " + name + " 无法添加");

    const Table& table = sheet.table;
    for (int col = 1; col < table.ColCount(); ++col) {
        const auto sheetCol = static_cast<lxw_col_t>(col - 1);
        Check(worksheet_set_column(worksheet, sheetCol, sheetCol, SheetColumnWidth(table.ColWidth(col)), nullptr),
              file);
        // Every written cell carries the centred format, so exactly the
        // title row and the table's rows are centred, as a range would be.
        for (int row = 0; row < table.RowCount(); ++row) {
            const auto sheetRow = static_cast<lxw_row_t>(row);
            if (const auto number = SheetCellNumber(table, col, row))
                Check(worksheet_write_number(worksheet, sheetRow, sheetCol, *number, centred), file);
            else
                Check(worksheet_write_string(worksheet, sheetRow, sheetCol, SheetCellText(table, col, row).c_str(),
                                             centred),
                      file);
        }
    }
}

// Creates the working file first, so a folder or permission problem is
// reported with the system's own reason, under the name the user asked for.
void CreateEmpty(const std::filesystem::path& part, const std::filesystem::path& file) {
    std::FILE* probe = std::fopen(part.c_str(), "wb");
    if (!probe) Fail(file, std::strerror(errno));
    std::fclose(probe);
}

void Build(const std::filesystem::path& part, std::span<const SheetSource> sheets,
           const std::filesystem::path& file) {
    WorkbookPtr workbook(workbook_new(part.c_str()));
    if (!workbook) Fail(file, lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
    lxw_format* centred = workbook_add_format(workbook.get());
    if (!centred) Fail(file, lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
    format_set_align(centred, LXW_ALIGN_CENTER);
    for (const SheetSource& sheet : sheets) WriteSheet(workbook.get(), centred, sheet, file);
    Check(workbook_close(workbook.release()), file);
}

}  // namespace

void WriteWorkbook(const std::filesystem::path& file, std::span<const SheetSource> sheets) {
    // Built beside the target and renamed over it, so a failed export never
    // spoils a workbook already there.
    std::filesystem::path part = file;
    part += ".part";
    CreateEmpty(part, file);
    try {
        Build(part, sheets, file);
        if (std::rename(part.c_str(), file.c_str()) != 0) Fail(file, std::strerror(errno));
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw;
    }
}

void WriteValueTablesWorkbook(const std::filesystem::path& file, const Table& yc, const Table& yx,
                              const Table& sj) {
    const auto sheets = ValueTableSheets(yc, yx, sj);
    WriteWorkbook(file, sheets);
}

void WriteValueTablesWorkbook(const std::filesystem::path& file, const ValueTables& tables) {
    WriteValueTablesWorkbook(file, tables.GrdYC, tables.GrdYX, tables.GrdSJ);
}

}  // namespace tc101
