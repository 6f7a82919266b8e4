#include "app/demo/display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace tc101::demo {
namespace {

// A listening socket at path stands in for a display server.
int Listen(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ::unlink(path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 4) == 0 ? fd : -1;
}

TEST(DisplayProbe, OnlyADisplayThatAnswersOrAPlatformWithoutOneCounts) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::string wayland = folder + "/tc101-probe-wayland", x11 = folder + "/tc101-probe-x:0";
    const int servers[] = {Listen(wayland), Listen(x11)};
    ASSERT_TRUE(servers[0] >= 0 && servers[1] >= 0);
    const std::tuple<const char*, DisplayEnvironment, DisplayState> cases[] = {
        {"nothing set", {}, DisplayState::None},
        {"offscreen beats a dead display", {":7391", "", "", "offscreen"}, DisplayState::Reachable},
        {"no X server there", {":7391", "", "", ""}, DisplayState::Unreachable},
        {"not a display name", {"nonsense", "", "", ""}, DisplayState::Unreachable},
        {"X socket path", {x11, "", "", ""}, DisplayState::Reachable},
        {"Wayland in the runtime folder", {":7391", "tc101-probe-wayland", folder, ""}, DisplayState::Reachable},
        {"Wayland without a runtime folder", {"", "tc101-probe-wayland", "", ""}, DisplayState::Unreachable},
        {"xcb asked, only Wayland there", {"", wayland, "", "xcb"}, DisplayState::None},
    };
    for (const auto& [label, environment, state] : cases) EXPECT_EQ(ProbeDisplay(environment), state) << label;
    EXPECT_EQ(DisplayNames({":9", "wayland-0", "", ""}), "DISPLAY=:9, WAYLAND_DISPLAY=wayland-0");
    for (const int fd : servers) ::close(fd);
    for (const std::string& path : {wayland, x11}) ::unlink(path.c_str());
}

}  // namespace
}  // namespace tc101::demo
