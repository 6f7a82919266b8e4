#pragma once

// Where comset.ini, bwset.ini and FromSizeInfo.ini live.

#include <filesystem>
#include <string_view>

namespace tc101 {

// The "application directory": TC101_CONFIG_DIR when set, else the
// executable's folder when it is writable (a portable copy, as Windows users
// keep it) and not an installed program's folder, else
// $XDG_CONFIG_HOME/tc101tool (~/.config/tc101tool). The
// folder is created when missing; a failure to create it shows up at the
// first write, whose error names the file.
std::filesystem::path AppDirectory();

// The rule behind AppDirectory(), over the values it looks at (empty: unset).
struct AppDirectoryInputs {
    std::filesystem::path configDirOverride;  // TC101_CONFIG_DIR
    std::filesystem::path executableFolder;
    bool executableFolderWritable = false;
    std::filesystem::path xdgConfigHome;
    std::filesystem::path home;
    bool executableInstalled = false;  // bin/ of a prefix whose share/ holds our desktop entry
};
std::filesystem::path ChooseAppDirectory(const AppDirectoryInputs& inputs);

// The folder of the running program; empty when the system does not tell.
std::filesystem::path ExecutableFolder();

// AppDirectory() / name
std::filesystem::path AppFile(std::string_view name);

}  // namespace tc101
