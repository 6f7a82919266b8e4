#include "about/system_probe.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>

#include <fstream>
#include <sstream>

namespace tc101 {

namespace {

constexpr const char* kOsReleaseFiles[] = {"/etc/os-release", "/usr/lib/os-release"};

std::string ReadPrettyName() {
    for (const char* path : kOsReleaseFiles) {
        std::ifstream file(path);
        if (!file) continue;
        std::ostringstream content;
        content << file.rdbuf();
        return OsReleasePrettyName(content.str());
    }
    return {};
}

}  // namespace

OsVersion ReadOsVersion() {
    utsname names{};
    if (uname(&names) != 0) throw SystemInfoError("uname failed");
    const auto kernel = ParseKernelRelease(names.release);
    if (!kernel) throw SystemInfoError(std::string("unknown kernel release ") + names.release);
    return OsVersion{"Linux", kernel->major, kernel->minor, kernel->patch, ReadPrettyName()};
}

std::uint64_t ReadPhysicalMemoryBytes() {
    struct sysinfo info {};
    if (sysinfo(&info) != 0) throw SystemInfoError("sysinfo failed");
    return static_cast<std::uint64_t>(info.totalram) * info.mem_unit;
}

}  // namespace tc101
