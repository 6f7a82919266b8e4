#include "about/system_text.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

using namespace std::chrono_literals;

TEST(SystemText, MemoryIsKilobytesGroupedInThrees) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {2ull << 30, "2,097,152 KB"},
        {24ull << 30, "25,165,824 KB"},
        {1023, "0 KB"},
        {1024, "1 KB"},
        {999 * 1024, "999 KB"},
        {1000 * 1024, "1,000 KB"},
        {1024ull * 123456789012ull, "123,456,789,012 KB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(FormatMemoryText(bytes), text) << bytes;
}

TEST(SystemText, ClockIsCountsPerMicrosecondWithTwoDecimals) {
    EXPECT_EQ(FormatClockText(MhzFromCounts(12'345'678, 100ms)), "123.46 MHz");
    EXPECT_EQ(FormatClockText(MhzFromCounts(299'999'000, 100ms)), "2999.99 MHz");
    // Measured over a longer sleep than asked, the count is scaled down.
    EXPECT_EQ(FormatClockText(MhzFromCounts(300'300'000, 100100us)), "3000.00 MHz");
    EXPECT_EQ(FormatClockText(MhzFromCounts(5, 0ms)), "0.00 MHz");
    EXPECT_EQ(FormatClockText(0), "0.00 MHz");
}

TEST(SystemText, OsLineTakesTheFormItsFactsAllow) {
    const std::pair<OsVersion, const char*> cases[] = {
        {{"Linux", 6, 1, 0, "Debian GNU/Linux 12 (bookworm)"}, "Linux 6.1 (Build 0: Debian GNU/Linux 12 (bookworm))"},
        {{"Linux", 5, 15, 90, ""}, "Linux 5.15 (Build 90)"},
        {{"Linux", 4, 19, std::nullopt, "ignored without a build"}, "Linux 4.19"},
    };
    for (const auto& [version, text] : cases) EXPECT_EQ(FormatOsText(version), text);
}

TEST(SystemText, KernelReleaseReadsMajorMinorAndPatch) {
    struct Case {
        const char* release;
        std::optional<KernelRelease> kernel;
    };
    const Case cases[] = {
        {"6.1.0-13-amd64", KernelRelease{6, 1, 0}},
        {"5.15.90.1-microsoft-standard-WSL2", KernelRelease{5, 15, 90}},
        {"6.8", KernelRelease{6, 8, 0}},
        {"6.8-rc1", KernelRelease{6, 8, 0}},
        {"4.19.x", KernelRelease{4, 19, 0}},
        {"6", std::nullopt},
        {"6.", std::nullopt},
        {"", std::nullopt},
        {"linux-6.1", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto kernel = ParseKernelRelease(c.release);
        ASSERT_EQ(kernel.has_value(), c.kernel.has_value()) << c.release;
        if (!kernel) continue;
        EXPECT_EQ(kernel->major, c.kernel->major) << c.release;
        EXPECT_EQ(kernel->minor, c.kernel->minor) << c.release;
        EXPECT_EQ(kernel->patch, c.kernel->patch) << c.release;
    }
}

TEST(SystemText, PrettyNameIsUnquoted) {
    const std::pair<const char*, const char*> cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n",
         "Debian GNU/Linux 12 (bookworm)"},
        {"PRETTY_NAME='Ubuntu 22.04.3 LTS'", "Ubuntu 22.04.3 LTS"},
        {"PRETTY_NAME=Alpine\r\n", "Alpine"},
        {"PRETTY_NAME=\"say \\\"hi\\\" \\\\ now\"", "say \"hi\" \\ now"},
        {"# PRETTY_NAME=\"commented\"\nNAME=x\n", ""},
        {"", ""},
    };
    for (const auto& [content, name] : cases) EXPECT_EQ(OsReleasePrettyName(content), name) << content;
}

TEST(SystemText, CpuinfoGivesTheFirstClock) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"processor\t: 0\nmodel name\t: X\ncpu MHz\t\t: 2893.202\ncache size\t: 512 KB\n"
         "processor\t: 1\ncpu MHz\t\t: 1000.000\n",
         2893.202},
        {"processor\t: 0\nBogoMIPS\t: 48.00\n", std::nullopt},
        {"cpu MHz\t\t: unknown\ncpu MHz\t\t: 1200.5", 1200.5},
    };
    for (const auto& [content, mhz] : cases) EXPECT_EQ(CpuinfoMhz(content), mhz) << content;
}

}  // namespace
}  // namespace tc101
