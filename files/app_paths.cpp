#include "files/app_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace tc101 {

namespace {

constexpr const char* kOverrideVariable = "TC101_CONFIG_DIR";
constexpr const char* kAppFolderName = "tc101tool";

std::filesystem::path FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : exe.parent_path();
}

namespace {

// An installed program sits in PREFIX/bin with its desktop entry under
// PREFIX/share; /usr/bin is writable for root, yet no place for settings.
bool IsInstalledFolder(const std::filesystem::path& folder) {
    std::error_code ignored;
    return folder.filename() == "bin" &&
           std::filesystem::exists(folder.parent_path() / "share/applications/tc101tool.desktop", ignored);
}

}  // namespace

std::filesystem::path ChooseAppDirectory(const AppDirectoryInputs& inputs) {
    if (!inputs.configDirOverride.empty()) return inputs.configDirOverride;
    if (!inputs.executableFolder.empty() && inputs.executableFolderWritable && !inputs.executableInstalled)
        return inputs.executableFolder;
    if (!inputs.xdgConfigHome.empty() && inputs.xdgConfigHome.is_absolute())
        return inputs.xdgConfigHome / kAppFolderName;
    const auto base = inputs.home.empty() ? std::filesystem::path(".config") : inputs.home / ".config";
    return base / kAppFolderName;
}

std::filesystem::path AppDirectory() {
    AppDirectoryInputs inputs;
    inputs.configDirOverride = FromEnvironment(kOverrideVariable);
    if (inputs.configDirOverride.empty()) {
        inputs.executableFolder = ExecutableFolder();
        inputs.executableFolderWritable =
            !inputs.executableFolder.empty() && ::access(inputs.executableFolder.c_str(), W_OK) == 0;
        inputs.executableInstalled = !inputs.executableFolder.empty() && IsInstalledFolder(inputs.executableFolder);
        inputs.xdgConfigHome = FromEnvironment("XDG_CONFIG_HOME");
        inputs.home = FromEnvironment("HOME");
    }
    auto folder = ChooseAppDirectory(inputs);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

std::filesystem::path AppFile(std::string_view name) { return AppDirectory() / name; }

}  // namespace tc101
