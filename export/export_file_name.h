#pragma once

// Where the window's export puts its workbook: a new file
// "遥测遥信_yyyymmddhhmmss.xlsx" in the temporary folder, for the user to
// open, look at and save elsewhere.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace tc101 {

// "遥测遥信_yyyymmddhhmmss.xlsx" for the given local time.
std::string ExportFileName(std::chrono::local_seconds time);

// folder / ExportFileName(time); when that name is taken (two exports in one
// second), "遥测遥信_yyyymmddhhmmss_2.xlsx" and so on, so an earlier export
// is never overwritten. exists is asked about each candidate.
std::filesystem::path ProposedExportPath(std::chrono::local_seconds time, const std::filesystem::path& folder,
                                         const std::function<bool(const std::filesystem::path&)>& exists);

// The wall clock as local time, to the second.
std::chrono::local_seconds LocalNow();

}  // namespace tc101
