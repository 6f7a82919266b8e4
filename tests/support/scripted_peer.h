#pragma once

// The outstation end of a pty pair inside the test's event loop: it cuts
// what the window writes into frames, records them and answers each one
// with what the script says.

#include <unistd.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QSocketNotifier>

#include "support/pty_harness.h"

namespace tc101::testing_support {

class ScriptedPeer {
public:
    // The answer to one frame; empty: no answer.
    using Responder = std::function<Bytes(const Bytes& frame)>;

    explicit ScriptedPeer(PtyPair& pty) : pty_(pty), notifier_(pty.Master(), QSocketNotifier::Read) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { Readable(); });
    }

    std::vector<Bytes> frames;
    Responder respond;

private:
    static constexpr std::size_t kFixedSize = 5;
    static constexpr std::size_t kVariableOverhead = 6;

    // A fixed or variable frame by its start octet; anything else one octet at a time.
    static std::size_t WholeFrameSize(const Bytes& pending) {
        if (pending.empty()) return 0;
        if (pending[0] == 0x10) return pending.size() >= kFixedSize ? kFixedSize : 0;
        if (pending[0] == 0x68) {
            if (pending.size() < 2) return 0;
            const std::size_t size = pending[1] + kVariableOverhead;
            return pending.size() >= size ? size : 0;
        }
        return 1;
    }

    void Readable() {
        std::uint8_t buffer[4096];
        const ssize_t n = ::read(pty_.Master(), buffer, sizeof buffer);
        if (n <= 0) {
            notifier_.setEnabled(false);  // the window closed its end
            return;
        }
        pending_.insert(pending_.end(), buffer, buffer + n);
        for (std::size_t size = WholeFrameSize(pending_); size != 0; size = WholeFrameSize(pending_)) {
            Bytes frame(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(size));
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(size));
            frames.push_back(frame);
            if (respond) {
                const Bytes answer = respond(frame);
                if (!answer.empty()) pty_.Write(answer);
            }
        }
    }

    PtyPair& pty_;
    QSocketNotifier notifier_;
    Bytes pending_;
};

}  // namespace tc101::testing_support
