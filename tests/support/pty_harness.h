#pragma once

// A pseudo-terminal pair for driving the serial component without hardware,
// and a harness that owns a TComm with a notice queue and records its events.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "serial/comm.h"
#include "serial/notice_queue.h"

namespace tc101::testing_support {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// The component opens the slave side by name; the test drives the master.
class PtyPair {
public:
    PtyPair() {
        if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        name_ = ::ttyname(slave_);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair() {
        CloseMaster();
        ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlaveName() const { return name_; }
    int Master() const { return master_; }
    // The test's own descriptor of the slave side (for tcgetattr).
    int Slave() const { return slave_; }

    void Write(const Bytes& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 100);
            }
        }
    }

    // Reads from the master until `count` bytes are in or the time is up.
    Bytes Read(std::size_t count, std::chrono::milliseconds timeout = 3s) {
        Bytes got;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        std::uint8_t buf[4096];
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - got.size()));
            if (n > 0) {
                got.insert(got.end(), buf, buf + n);
            } else {
                pollfd p{master_, POLLIN, 0};
                ::poll(&p, 1, 20);
            }
        }
        return got;
    }

    void CloseMaster() {
        if (master_ >= 0) {
            ::close(master_);
            master_ = -1;
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

inline Bytes Pattern(std::size_t size, unsigned seed = 7) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * seed + i / 251) % 256);
    }
    return bytes;
}

// The line Comm1 runs with: no flow control, so every byte value passes.
inline void UseComm1Line(TComm& comm) {
    comm.SetDtrControl(TDtrControl::DtrDisable);
    comm.SetTxContinueOnXoff(false);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetRtsControl(TRtsControl::RtsDisable);
    comm.SetXonChar(0);
    comm.SetXoffChar(0);
}

// Owns a component and its notice queue; the owner's thread is the test's.
class CommHarness {
public:
    CommHarness() {
        UseComm1Line(comm);
        comm.OnReceiveData = [this](const std::uint8_t* data, std::uint16_t count) {
            blocks.emplace_back(data, data + count);
            terminated = terminated && data[count] == 0;
        };
        comm.OnReceiveError = [this](std::uint32_t mask) { errors.push_back(mask); };
        comm.OnRequestHangup = [this] { ++hangups; };
        comm.OnSendDataEmpty = [this] { ++txEmpty; };
        comm.OnWriteTimeout = [this](std::uint32_t written, std::uint32_t requested) {
            writeTimeouts.emplace_back(written, requested);
        };
    }

    // Delivers notices until the condition holds or the time is up.
    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3s) {
        const auto deadline = NoticeQueue::Clock::now() + timeout;
        while (!done()) {
            CommNotice notice;
            if (!queue.WaitUntil(deadline, notice)) {
                return done();
            }
            comm.Deliver(std::move(notice));
        }
        return true;
    }
    // Delivers whatever arrives for a while.
    void PumpFor(std::chrono::milliseconds time) {
        PumpUntil([] { return false; }, time);
    }

    std::size_t Received() const {
        std::size_t total = 0;
        for (const auto& b : blocks) total += b.size();
        return total;
    }
    Bytes Joined() const {
        Bytes all;
        for (const auto& b : blocks) all.insert(all.end(), b.begin(), b.end());
        return all;
    }
    std::vector<std::size_t> Sizes() const {
        std::vector<std::size_t> sizes;
        for (const auto& b : blocks) sizes.push_back(b.size());
        return sizes;
    }

    NoticeQueue queue;
    TComm comm{queue};
    std::vector<Bytes> blocks;
    std::vector<std::uint32_t> errors;
    bool terminated = true;
    int hangups = 0;
    int txEmpty = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> writeTimeouts;  // written, requested
};

inline std::size_t CountEntries(const char* dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

}  // namespace tc101::testing_support
