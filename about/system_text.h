#pragma once

// The about box's three system lines as text, and the parsing of what the
// system says about itself. Pure functions: the probes in system_probe.h and
// cpu_clock.h gather the raw facts.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tc101 {

struct OsVersion {
    std::string name;          // "Linux"
    int major = 0;
    int minor = 0;
    std::optional<int> build;  // the kernel's patch level; none: "%s %d.%d"
    std::string extra;         // the distribution's pretty name; empty: no ": ..." part
};

struct KernelRelease {
    int major = 0;
    int minor = 0;
    int patch = 0;
};

// "%s %d.%d", "%s %d.%d (Build %d)" or "%s %d.%d (Build %d: %s)".
std::string FormatOsText(const OsVersion& version);

// "6.1.0-13-amd64" gives 6, 1, 0; a missing patch level is 0. None when
// there is no major.minor to read.
std::optional<KernelRelease> ParseKernelRelease(std::string_view release);

// PRETTY_NAME of an os-release file, unquoted; empty when it has none.
std::string OsReleasePrettyName(std::string_view content);

// Digits grouped in threes with commas ("#,###"): 2097152 gives "2,097,152".
std::string GroupThousands(std::uint64_t value);

// Bytes of physical memory as the memory line shows them: "2,097,152 KB".
std::string FormatMemoryText(std::uint64_t bytes);

// Counter ticks over an interval as MHz: 12,345,678 over 100 ms give 123.45678.
double MhzFromCounts(std::uint64_t counts, std::chrono::nanoseconds elapsed);

// "123.46 MHz".
std::string FormatClockText(double mhz);

// The first "cpu MHz" of /proc/cpuinfo; none when it has none.
std::optional<double> CpuinfoMhz(std::string_view content);

}  // namespace tc101
