#pragma once

// A null-modem cable inside the process: two pseudo-terminals whose slave
// ends are the two ports. TComm opens its port by name and only a slave end
// has one, so each side gets the slave of a pair of its own and a thread
// copies between the two master ends. The link keeps each slave open itself,
// so a side closing and opening its port again sees no hang-up.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace tc101::demo {

class PtyLink {
public:
    // Throws std::system_error when the terminals cannot be made.
    PtyLink();
    // Stops and joins the copying thread, then closes the terminals.
    ~PtyLink();
    PtyLink(const PtyLink&) = delete;
    PtyLink& operator=(const PtyLink&) = delete;

    // The ports' names (/dev/pts/N).
    const std::string& PortA() const { return ends_[0].name; }
    const std::string& PortB() const { return ends_[1].name; }

    // Octets carried, and octets dropped because the far side's input queue was full.
    std::int64_t Carried() const { return carried_; }
    std::int64_t Dropped() const { return dropped_; }

private:
    struct End {
        int master = -1;
        int slave = -1;
        std::string name;
    };
    void Run();
    void Copy(const End& from, const End& to);
    void Close();

    std::array<End, 2> ends_;
    int stopEvent_ = -1;
    std::atomic<std::int64_t> carried_{0};
    std::atomic<std::int64_t> dropped_{0};
    std::thread thread_;
};

}  // namespace tc101::demo
