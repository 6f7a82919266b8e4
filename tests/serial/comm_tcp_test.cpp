// The component on a serial device server's TCP port, with a listener on the
// loopback address as the server.

#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/pty_harness.h"
#include "serial/comms_error.h"
#include "serial/tcp_socket.h"

namespace tc101 {
namespace {

using namespace testing_support;

TEST(TcpPortName, ParsesBothRolesAndRefusesHalfNames) {
    const struct {
        const char* name;
        std::optional<TcpEndpoint> endpoint;  // nothing: not a TCP name
        bool refused;
    } cases[] = {
        {"tcp:127.0.0.1:4001", TcpEndpoint{false, "127.0.0.1", "4001"}, false},
        {"tcp-listen:0.0.0.0:2404", TcpEndpoint{true, "0.0.0.0", "2404"}, false},
        {"tcp:[::1]:4001", TcpEndpoint{false, "::1", "4001"}, false},
        {"tcp:rtu-7.substation:950", TcpEndpoint{false, "rtu-7.substation", "950"}, false},
        {"COM1", std::nullopt, false},
        {"/dev/tcp:1", std::nullopt, false},
        {"tcp:4001", std::nullopt, true},
        {"tcp::4001", std::nullopt, true},
        {"tcp-listen:127.0.0.1:", std::nullopt, true},
    };
    for (const auto& c : cases) {
        if (c.refused) {
            EXPECT_THROW(ParseTcpPortName(c.name), ECommsError) << c.name;
            EXPECT_TRUE(IsTcpPortName(c.name)) << c.name;
        } else {
            EXPECT_EQ(ParseTcpPortName(c.name), c.endpoint) << c.name;
        }
    }
}

class CommOverTcp : public ::testing::Test {
protected:
    std::string Name() const { return "tcp:127.0.0.1:" + std::to_string(server.Port()); }
    UniqueFd Accept() {
        auto connection = server.Accept(3s);
        if (!connection) throw std::runtime_error("no connection");
        return std::move(*connection);
    }
    static void Send(const UniqueFd& to, const Bytes& bytes) {
        ASSERT_EQ(::send(to.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
    }
    static Bytes Receive(const UniqueFd& from, std::size_t count) {
        Bytes got;
        const auto deadline = std::chrono::steady_clock::now() + 3s;
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{from.Get(), POLLIN, 0};
            ::poll(&ready, 1, 20);
            std::uint8_t buffer[256];
            const ssize_t n = ::recv(from.Get(), buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0) got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    TcpListener server{TcpEndpoint{true, "127.0.0.1", "0"}};
    CommHarness h;
};

// As on a tty: the frame delay cuts blocks, sent octets arrive in order, the
// far side closing is a hang-up, and opening again reconnects.
TEST_F(CommOverTcp, BehavesAsASerialPort) {
    h.comm.SetCommName(Name());
    h.comm.SetReadIntervalTimeout(30);
    h.comm.SetBaudRate(1200);  // kept, though a socket has no rate
    for (int round = 0; round < 2; ++round) {
        h.comm.OpenPort();
        const UniqueFd peer = Accept();
        const Bytes frame = {0x10, 0x49, 0x01, 0x4A, 0x16};
        ASSERT_TRUE(h.comm.SendBytes(frame.data(), static_cast<std::uint16_t>(frame.size())));
        EXPECT_EQ(Receive(peer, frame.size()), frame);

        h.blocks.clear();
        Send(peer, Pattern(7));
        ASSERT_TRUE(h.PumpUntil([&] { return h.Received() == 7; }));
        std::this_thread::sleep_for(80ms);  // longer than the frame delay: a new block
        Send(peer, Pattern(3));
        ASSERT_TRUE(h.PumpUntil([&] { return h.Received() == 10; }));
        EXPECT_EQ(h.Sizes(), (std::vector<std::size_t>{7, 3}));
        EXPECT_EQ(h.comm.BaudRate(), 1200u);

        h.hangups = 0;
        ::shutdown(peer.Get(), SHUT_RDWR);
        ASSERT_TRUE(h.PumpUntil([&] { return h.hangups == 1; })) << "round " << round;
        h.comm.ClosePort();
    }
}

TEST_F(CommOverTcp, OpenFailsWithTheSystemsMessageWithinTheTimeout) {
    // A listener whose queue is full drops further connection requests.
    std::vector<UniqueFd> waiting;
    for (int i = 0; i < 8; ++i) {
        try {
            waiting.push_back(ConnectTcp({false, "127.0.0.1", std::to_string(server.Port())}, 100ms));
        } catch (const ECommsError&) {
            break;
        }
    }
    const std::string full = Name();
    std::string refused;
    {
        TcpListener closed(TcpEndpoint{true, "127.0.0.1", "0"});
        refused = "tcp:127.0.0.1:" + std::to_string(closed.Port());
    }
    const struct {
        std::string name;
        std::string message;
    } cases[] = {
        {full, "Cannot connect to 127.0.0.1:" + std::to_string(server.Port()) + ": Connection timed out"},
        {refused, "Cannot connect to " + refused.substr(4) + ": Connection refused"},
        {"tcp-listen:127.0.0.1:0", "Only the outstation listens on tcp-listen:127.0.0.1:0"},
        {"tcp:4001", "A TCP port is named tcp:HOST:PORT, not \"tcp:4001\""},
    };
    h.comm.SetConnectTimeoutMs(300);
    for (const auto& c : cases) {
        h.comm.SetCommName(c.name);
        const auto start = std::chrono::steady_clock::now();
        try {
            h.comm.OpenPort();
            ADD_FAILURE() << c.name << " opened";
        } catch (const ECommsError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << c.name;
        EXPECT_FALSE(h.comm.IsOpen());
    }
}

}  // namespace
}  // namespace tc101
