#pragma once

// What the about box asks the system: the operating system and the physical
// memory. Each throws SystemInfoError when the system does not tell.

#include <cstdint>
#include <stdexcept>

#include "about/system_text.h"

namespace tc101 {

class SystemInfoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Linux", the kernel's major, minor and patch level (uname), and the
// distribution's pretty name (/etc/os-release, else /usr/lib/os-release).
OsVersion ReadOsVersion();

// Total physical memory in bytes (sysinfo).
std::uint64_t ReadPhysicalMemoryBytes();

}  // namespace tc101
