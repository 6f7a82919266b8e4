#pragma once

// The stored port settings (comset.ini, section ComSet) and how they reach
// the main window's port Comm1: read when opening, applied over Comm1's own
// property values, and shown in the status bar. The window and the console
// master both open their port through here.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/ini_file.h"
#include "serial/comm_settings.h"

namespace tc101 {

class TComm;

inline constexpr std::string_view kComSetSection = "ComSet";
inline constexpr std::string_view kKeyPort = "port";
inline constexpr std::string_view kKeyBaudRate = "BaudRate";
inline constexpr std::string_view kKeyByteSize = "ByteSize";
inline constexpr std::string_view kKeyParity = "Parity";
inline constexpr std::string_view kKeyStopBits = "StopBits";
inline constexpr std::string_view kKeyAutoOpen = "AutoOpen";
// Spelled as the files in the field have it.
inline constexpr std::string_view kKeyRecieveDelay = "RecieveDelay";
// Written only when set: a received block goes up once it holds whole frames.
inline constexpr std::string_view kKeyFrameComplete = "FrameComplete";
// Read only: set by hand for a slow serial device server.
inline constexpr std::string_view kKeyConnectTimeout = "ConnectTimeout";

inline constexpr std::string_view kDefaultPort = "COM1";
inline constexpr std::int64_t kDefaultBaudRate = 9600;
inline constexpr std::int64_t kDefaultDataBits = 8;
inline constexpr std::int64_t kDefaultParity = 0;
inline constexpr std::int64_t kDefaultStopBits = 0;
inline constexpr std::int64_t kDefaultRecieveDelay = 100;
inline constexpr std::int64_t kMinDataBits = 5;
inline constexpr std::int64_t kMaxDataBits = 8;

// The keys as read when opening, as stored: data bits 5 to 8, parity and stop
// bits as list indexes, the frame delay in milliseconds (-1: all ones).
struct PortSettings {
    std::string port{kDefaultPort};
    std::int64_t baudRate = kDefaultBaudRate;
    std::int64_t dataBits = kDefaultDataBits;
    std::int64_t parity = kDefaultParity;
    std::int64_t stopBits = kDefaultStopBits;
    std::int64_t recieveDelay = kDefaultRecieveDelay;
    std::int64_t connectTimeoutMs = kDefaultConnectTimeoutMs;  // "tcp:" ports only
    // Blocks of whole frames go up before the frame delay (the owner knows the frames).
    bool frameComplete = false;

    bool operator==(const PortSettings&) const = default;
};

// -1 (bytes as they arrive) and 1 upward. 0 and below -1 would deliver only
// full 2048-octet blocks: the port would look dead.
bool FrameDelayUsable(std::int64_t delay);
// The delay a port opens with: an unusable stored one becomes the default.
std::int64_t UsableFrameDelay(std::int64_t delay);
inline constexpr char kFrameDelayRule[] = "帧中断延时须为 -1 或不小于 1 的毫秒数 (0 和小于 -1 的值只能收到满 2048 字节的块)";

// comset.ini in the application directory.
IniFile ComSetFile();

PortSettings ReadPortSettings(const IniFile& comset);

// Comm1's own values where they differ from the component's defaults: DTR and
// RTS held off, no flow control of either kind. Call once on a new component.
void SetComm1Properties(TComm& comm);

// Copies the settings into the component in the stored keys' order; an
// unusable frame delay becomes the default (see UsableFrameDelay). A data
// bits, parity or stop bits value the component has no setting for leaves
// that property as it was, as a device would refuse it.
void ApplyPortSettings(const PortSettings& settings, TComm& comm);

// Reads the stored keys, applies them and opens the port; true. An open
// failure propagates as the component's ECommsError.
bool OpenFromSettings(TComm& comm, const IniFile& comset);
bool OpenFromSettings(TComm& comm);

// The stored AutoOpen, default false.
bool AutoOpenEnabled(const IniFile& comset);
bool AutoOpenEnabled();

// Status bar panels 0 to 5.
inline constexpr int kPortPanelCount = 6;
using PortPanelTexts = std::array<std::string, kPortPanelCount>;

// " 效验位:" follows with this: 无, 奇, 偶 (and 标记, 空格); other values as numbers.
std::string ParityText(std::int64_t parity);
// 1, 1.5, 2; other values as numbers.
std::string StopBitsText(std::int64_t stopBits);

// The texts from the open component's properties.
PortPanelTexts OpenPortPanels(const TComm& comm);
PortPanelTexts OpenPortPanels(std::string_view commName, std::uint32_t baudRate, TByteSize byteSize,
                              TParity parity, TStopBits stopBits);
// The texts from the stored keys, baud rate and data bits as their stored text;
// a port given here stands in for the stored one (a port for this run only).
PortPanelTexts ClosedPortPanels(const IniFile& comset, std::string_view sessionPort = {});
PortPanelTexts ClosedPortPanels(std::string_view port, std::string_view baudText, std::string_view dataBitsText,
                                std::int64_t parity, std::int64_t stopBits);

}  // namespace tc101
