#pragma once

// Port names as the user types them, and the ports the system has.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tc101 {

// "COMn" in any case names /dev/ttyS(n-1); a name beginning with "/" is a
// device path; any other name is looked up under /dev/.
std::string DevicePathFor(const std::string& commName);

// The device path of a port name that stands for a device the system does
// not have; nothing for a present device, an empty name or a device server's name.
std::optional<std::string> MissingDevice(const std::string& commName);

// The serial devices of the system as names DevicePathFor accepts: "COMn"
// for the built-in ports that have hardware behind them, other tty devices by
// their /dev name, then the stable /dev/serial/by-id links. Built-in ports
// come in number order, the rest in name order.
std::vector<std::string> ListSerialPorts(const std::filesystem::path& sysClassTty = "/sys/class/tty",
                                         const std::filesystem::path& byIdDir = "/dev/serial/by-id");

}  // namespace tc101
