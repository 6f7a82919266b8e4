#include "about/cpu_clock.h"

#include <gtest/gtest.h>

#include <chrono>

#include "about/system_probe.h"

namespace tc101 {
namespace {

// The real system, whatever priority this user may take.
TEST(SystemProbes, ThisMachineReportsAPlausibleClockMemoryAndSystem) {
    const auto start = std::chrono::steady_clock::now();
    const double mhz = MeasureCpuMhz();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GT(mhz, 100.0);
    EXPECT_LT(mhz, 10000.0);
    EXPECT_LT(took, std::chrono::seconds(2));

    EXPECT_GT(ReadPhysicalMemoryBytes(), std::uint64_t{64} << 20);
    const OsVersion os = ReadOsVersion();
    EXPECT_EQ(os.name, "Linux");
    EXPECT_GE(os.major, 2);
    EXPECT_TRUE(os.build.has_value());
}

}  // namespace
}  // namespace tc101
