#pragma once

// Point definitions for a demo run, so the tables show names, units and
// scaled values. They never replace the user's files: only a definition file
// missing from the working folder gets a stand-in, written to a folder of the
// run's own that goes when the run ends.

#include <filesystem>
#include <optional>

#include "protocol/value_tables.h"

namespace tc101::demo {

// Rows 1..count of GrdYC (name, unit, ratio) and GrdYX (name, state texts).
void FillDemoYcDefinitions(Table& yc, int count);
void FillDemoYxDefinitions(Table& yx, int count);

class SessionDefinitions {
public:
    // Writes a stand-in for each of yc.sen and yx.sen the working folder
    // lacks, when the station has such points.
    SessionDefinitions(int ycCount, int yxCount);
    ~SessionDefinitions();
    SessionDefinitions(const SessionDefinitions&) = delete;
    SessionDefinitions& operator=(const SessionDefinitions&) = delete;

    // The stand-ins; none where the user's own file is used.
    const std::optional<std::filesystem::path>& YcFile() const { return ycFile_; }
    const std::optional<std::filesystem::path>& YxFile() const { return yxFile_; }

private:
    std::filesystem::path folder_;
    std::optional<std::filesystem::path> ycFile_;
    std::optional<std::filesystem::path> yxFile_;
};

}  // namespace tc101::demo
