#include "app/demo/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace tc101::demo {
namespace {

// A listening socket at a path: a display server as far as a connection goes.
class Listener {
public:
    explicit Listener(const std::string& path) : path_(path), fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ::unlink(path.c_str());
        listening_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(fd_, 4) == 0;
    }
    ~Listener() {
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;
    bool Listening() const { return listening_; }

private:
    std::string path_;
    int fd_;
    bool listening_ = false;
};

TEST(DisplayProbe, OnlyADisplayThatAnswersOrAPlatformWithoutOneCounts) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string wayland = (folder / "tc101-probe-wayland").string();
    const std::string x11 = (folder / "tc101-probe-x:0").string();
    const Listener waylandServer(wayland);
    const Listener x11Server(x11);
    ASSERT_TRUE(waylandServer.Listening() && x11Server.Listening());
    const std::string runtime = folder.string();
    struct Case {
        const char* label;
        DisplayEnvironment environment;
        DisplayState state;
    };
    const Case cases[] = {
        {"nothing set", {}, DisplayState::None},
        {"offscreen", {"", "", "", "offscreen"}, DisplayState::Reachable},
        {"offscreen beats a dead display", {":7391", "", "", "offscreen"}, DisplayState::Reachable},
        {"no X server there", {":7391", "", "", ""}, DisplayState::Unreachable},
        {"not a display name", {"nonsense", "", "", ""}, DisplayState::Unreachable},
        {"X socket path", {x11, "", "", ""}, DisplayState::Reachable},
        {"Wayland in the runtime folder", {"", "tc101-probe-wayland", runtime, ""}, DisplayState::Reachable},
        {"Wayland by path", {":7391", wayland, "", ""}, DisplayState::Reachable},
        {"Wayland without a runtime folder", {"", "tc101-probe-wayland", "", ""}, DisplayState::Unreachable},
        {"xcb asked, only Wayland there", {"", wayland, "", "xcb"}, DisplayState::None},
        {"xcb asked, X there", {x11, wayland, "", "xcb"}, DisplayState::Reachable},
    };
    for (const Case& c : cases) EXPECT_EQ(ProbeDisplay(c.environment), c.state) << c.label;
    EXPECT_EQ(DisplayNames({":9", "wayland-0", "", ""}), "DISPLAY=:9, WAYLAND_DISPLAY=wayland-0");
}

}  // namespace
}  // namespace tc101::demo
