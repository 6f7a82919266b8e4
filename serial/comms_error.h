#pragma once

// The serial component's failure on open, with the user's message.

#include <stdexcept>
#include <string>

namespace tc101 {

class ECommsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr char kMsgAlreadyOpen[] = "This serial port already opened";
inline constexpr char kMsgOpenFailed[] = "Error opening serial port";
inline constexpr char kMsgNotCommHandle[] = "File handle is not a comm handle ";
inline constexpr char kMsgSetupFailed[] = "Cannot setup comm buffer";
inline constexpr char kMsgEventFailed[] = "Unable to create event";
inline constexpr char kMsgReadThreadFailed[] = "Unable to create read thread";
inline constexpr char kMsgWriteThreadFailed[] = "Unable to create write thread";

// kMsgOpenFailed, then which device and the system's reason:
// "Error opening serial port. /dev/ttyUSB7: No such file or directory".
std::string OpenFailedText(const std::string& devicePath, int error);

}  // namespace tc101
