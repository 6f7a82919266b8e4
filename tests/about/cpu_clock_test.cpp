#include "about/cpu_clock.h"

#include <gtest/gtest.h>

#include <chrono>

#include "about/system_probe.h"

namespace tc101 {
namespace {

// The real system, whatever priority this user may take.
TEST(SystemProbes, ThisMachineReportsAPlausibleClockMemoryAndSystem) {
    EXPECT_GT(ReadPhysicalMemoryBytes(), std::uint64_t{64} << 20);
    const OsVersion os = ReadOsVersion();
    EXPECT_EQ(os.name, "Linux");
    EXPECT_GE(os.major, 2);
    EXPECT_TRUE(os.build.has_value());

    // Many ARM and RISC-V machines have neither source: the box then shows 0.
    if (FindCpuClockSource() == CpuClockSource::None)
        GTEST_SKIP() << "no time-stamp counter and no \"cpu MHz\" line in /proc/cpuinfo: the clock is not measured here";
    const auto start = std::chrono::steady_clock::now();
    const double mhz = MeasureCpuMhz();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GT(mhz, 100.0);
    EXPECT_LT(mhz, 10000.0);
    EXPECT_LT(took, std::chrono::seconds(2));
}

}  // namespace
}  // namespace tc101
