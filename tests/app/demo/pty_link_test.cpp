// The demo's in-process link: octets written on one port arrive on the
// other, a side may close and open its port again, and a side that never
// reads does not stop the link from ending.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/demo/pty_link.h"

namespace tc101::demo {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

class RawPort {
public:
    explicit RawPort(const std::string& name) : fd_(::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        if (fd_ < 0) return;
        termios raw{};
        ::tcgetattr(fd_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(fd_, TCSANOW, &raw);
    }
    ~RawPort() {
        if (fd_ >= 0) ::close(fd_);
    }
    RawPort(const RawPort&) = delete;
    RawPort& operator=(const RawPort&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    void Write(const Bytes& bytes) const {
        ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Waits for room as long as the terminal takes octets.
    void WriteAll(const Bytes& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            pollfd fd{fd_, POLLOUT, 0};
            ASSERT_GT(::poll(&fd, 1, 2000), 0) << "no room for " << bytes.size() - done << " octets";
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += static_cast<std::size_t>(n);
        }
    }
    // Reads until count octets came or the time is up.
    Bytes Read(std::size_t count, std::chrono::milliseconds timeout = 1000ms) const {
        Bytes got;
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (got.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd fd{fd_, POLLIN, 0};
            if (::poll(&fd, 1, 10) <= 0) continue;
            std::uint8_t buffer[256];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

private:
    int fd_;
};

const Bytes kRequest = {0x10, 0x49, 0x01, 0x4A, 0x16};
const Bytes kReply = {0x10, 0x0B, 0x01, 0x0C, 0x16};

TEST(PtyLinkTest, PortsAreTwoDistinctTerminals) {
    const PtyLink link;
    EXPECT_NE(link.PortA(), link.PortB());
    EXPECT_EQ(link.PortA().rfind("/dev/pts/", 0), 0u);
    EXPECT_EQ(link.PortB().rfind("/dev/pts/", 0), 0u);
}

TEST(PtyLinkTest, CarriesEachWayUnchanged) {
    const PtyLink link;
    RawPort a(link.PortA());
    RawPort b(link.PortB());
    ASSERT_TRUE(a.IsOpen() && b.IsOpen());
    // Every octet value, so no line discipline (CR, XON, DEL, ...) touches one.
    Bytes all;
    for (int v = 0; v < 256; ++v) all.push_back(static_cast<std::uint8_t>(v));
    struct Case {
        const RawPort* from;
        const RawPort* to;
        Bytes bytes;
    } cases[] = {{&b, &a, kRequest}, {&a, &b, kReply}, {&a, &b, all}, {&b, &a, all}};
    for (const Case& c : cases) {
        c.from->Write(c.bytes);
        EXPECT_EQ(c.to->Read(c.bytes.size()), c.bytes);
    }
    // The link counts an octet just after the far side could read it.
    const auto carried = static_cast<std::int64_t>(kRequest.size() + kReply.size() + 2 * all.size());
    for (int i = 0; i < 500 && link.Carried() < carried; ++i) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(link.Carried(), carried);
    EXPECT_EQ(link.Dropped(), 0);
}

TEST(PtyLinkTest, SideThatClosesAndOpensAgainKeepsTheLink) {
    const PtyLink link;
    RawPort a(link.PortA());
    { RawPort first(link.PortB()); }
    RawPort again(link.PortB());
    ASSERT_TRUE(again.IsOpen());
    again.Write(kRequest);
    EXPECT_EQ(a.Read(kRequest.size()), kRequest);
    a.Write(kReply);
    EXPECT_EQ(again.Read(kReply.size()), kReply);
}

TEST(PtyLinkTest, EndsPromptlyWhenTheFarSideNeverReads) {
    constexpr std::int64_t kTotal = 64 * 4096;
    const auto start = std::chrono::steady_clock::now();
    {
        const PtyLink link;
        const RawPort a(link.PortA());
        // Far more than a terminal's input queue holds; nobody reads B.
        a.WriteAll(Bytes(kTotal, 0x55));
        for (int i = 0; i < 500 && link.Carried() + link.Dropped() < kTotal; ++i) std::this_thread::sleep_for(10ms);
        EXPECT_EQ(link.Carried() + link.Dropped(), kTotal);
        EXPECT_GT(link.Dropped(), 0);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

}  // namespace
}  // namespace tc101::demo
