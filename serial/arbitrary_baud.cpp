// The kernel's termios2 interface; <termios.h> must not be included here.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdint>

namespace tc101 {

bool SetArbitraryBaudRate(int fd, std::uint32_t baudRate) noexcept {
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        return false;
    }
    t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = baudRate;
    t.c_ospeed = baudRate;
    return ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace tc101
