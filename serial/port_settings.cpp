#include "serial/port_settings.h"

#include <limits>

#include "files/app_paths.h"
#include "files/comset_keys.h"
#include "serial/comm.h"
#include "serial/tcp_port_name.h"

namespace tc101 {

namespace {

constexpr std::int64_t kParityCount = 5;    // none, odd, even, mark, space
constexpr std::int64_t kStopBitsCount = 3;  // 1, 1.5, 2

constexpr std::string_view kPanelPort = " 端口:";
constexpr std::string_view kPanelBaud = " 波特率:";
constexpr std::string_view kPanelDataBits = " 数据位:";
constexpr std::string_view kPanelParity = " 效验位:";
constexpr std::string_view kPanelStopBits = " 停止位:";
constexpr std::string_view kPanelOpen = " 端口状态: 打开 ";
constexpr std::string_view kPanelClosed = " 端口状态: 关闭 ";
// A serial device server's TCP port has no line of its own to set.
constexpr std::string_view kPanelTcpNote = "(TCP连接: 线路参数不起作用) ";

std::string Join(std::string_view label, std::string_view value) {
    std::string text(label);
    text += value;
    return text;
}

}  // namespace

bool FrameDelayUsable(std::int64_t delay) { return delay == -1 || delay >= 1; }

std::int64_t UsableFrameDelay(std::int64_t delay) { return FrameDelayUsable(delay) ? delay : kDefaultRecieveDelay; }

IniFile ComSetFile() { return IniFile(AppFile(kComsetIniName)); }

PortSettings ReadPortSettings(const IniFile& comset) {
    PortSettings s;
    s.port = comset.ReadString(kComSetSection, kKeyPort, kDefaultPort);
    s.baudRate = comset.ReadInteger(kComSetSection, kKeyBaudRate, kDefaultBaudRate);
    s.parity = comset.ReadInteger(kComSetSection, kKeyParity, kDefaultParity);
    s.dataBits = comset.ReadInteger(kComSetSection, kKeyByteSize, kDefaultDataBits);
    s.stopBits = comset.ReadInteger(kComSetSection, kKeyStopBits, kDefaultStopBits);
    s.recieveDelay = comset.ReadInteger(kComSetSection, kKeyRecieveDelay, kDefaultRecieveDelay);
    s.connectTimeoutMs = comset.ReadInteger(kComSetSection, kKeyConnectTimeout, kDefaultConnectTimeoutMs);
    s.frameComplete = comset.ReadBool(kComSetSection, kKeyFrameComplete, false);
    return s;
}

void SetComm1Properties(TComm& comm) {
    comm.SetDtrControl(TDtrControl::DtrDisable);
    comm.SetTxContinueOnXoff(false);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetRtsControl(TRtsControl::RtsDisable);
    comm.SetXonChar(0);
    comm.SetXoffChar(0);
}

void ApplyPortSettings(const PortSettings& settings, TComm& comm) {
    comm.SetCommName(settings.port);
    // The stored integers wrap as the 32-bit properties take them: -1 is all ones.
    comm.SetBaudRate(static_cast<std::uint32_t>(settings.baudRate));
    if (settings.parity >= 0 && settings.parity < kParityCount)
        comm.SetParity(static_cast<TParity>(settings.parity));
    if (settings.dataBits >= kMinDataBits && settings.dataBits <= kMaxDataBits)
        comm.SetByteSize(static_cast<TByteSize>(settings.dataBits - kMinDataBits));
    if (settings.stopBits >= 0 && settings.stopBits < kStopBitsCount)
        comm.SetStopBits(static_cast<TStopBits>(settings.stopBits));
    comm.SetReadIntervalTimeout(static_cast<std::uint32_t>(UsableFrameDelay(settings.recieveDelay)));
    if (settings.connectTimeoutMs > 0 && settings.connectTimeoutMs <= std::numeric_limits<std::int32_t>::max())
        comm.SetConnectTimeoutMs(static_cast<std::uint32_t>(settings.connectTimeoutMs));
}

bool OpenFromSettings(TComm& comm, const IniFile& comset) {
    ApplyPortSettings(ReadPortSettings(comset), comm);
    comm.OpenPort();
    return true;
}

bool OpenFromSettings(TComm& comm) { return OpenFromSettings(comm, ComSetFile()); }

bool AutoOpenEnabled(const IniFile& comset) { return comset.ReadBool(kComSetSection, kKeyAutoOpen, false); }

bool AutoOpenEnabled() { return AutoOpenEnabled(ComSetFile()); }

std::string ParityText(std::int64_t parity) {
    switch (parity) {
        case 0: return "无";
        case 1: return "奇";
        case 2: return "偶";
        case 3: return "标记";
        case 4: return "空格";
        default: return std::to_string(parity);
    }
}

std::string StopBitsText(std::int64_t stopBits) {
    switch (stopBits) {
        case 0: return "1";
        case 1: return "1.5";
        case 2: return "2";
        default: return std::to_string(stopBits);
    }
}

PortPanelTexts OpenPortPanels(std::string_view commName, std::uint32_t baudRate, TByteSize byteSize,
                              TParity parity, TStopBits stopBits) {
    return {Join(kPanelPort, commName),
            Join(kPanelBaud, std::to_string(baudRate)),
            Join(kPanelDataBits, std::to_string(static_cast<int>(byteSize) + kMinDataBits)),
            Join(kPanelParity, ParityText(static_cast<std::int64_t>(parity))),
            Join(kPanelStopBits, StopBitsText(static_cast<std::int64_t>(stopBits))),
            std::string(kPanelOpen)};
}

PortPanelTexts OpenPortPanels(const TComm& comm) {
    PortPanelTexts texts =
        OpenPortPanels(comm.CommName(), comm.BaudRate(), comm.ByteSize(), comm.Parity(), comm.StopBits());
    if (IsTcpPortName(comm.CommName())) texts.back() += kPanelTcpNote;
    return texts;
}

PortPanelTexts ClosedPortPanels(std::string_view port, std::string_view baudText, std::string_view dataBitsText,
                                std::int64_t parity, std::int64_t stopBits) {
    return {Join(kPanelPort, port),
            Join(kPanelBaud, baudText),
            Join(kPanelDataBits, dataBitsText),
            Join(kPanelParity, ParityText(parity)),
            Join(kPanelStopBits, StopBitsText(stopBits)),
            std::string(kPanelClosed)};
}

PortPanelTexts ClosedPortPanels(const IniFile& comset, std::string_view sessionPort) {
    const std::string storedPort = comset.ReadString(kComSetSection, kKeyPort, kDefaultPort);
    return ClosedPortPanels(sessionPort.empty() ? std::string_view(storedPort) : sessionPort,
                            comset.ReadString(kComSetSection, kKeyBaudRate, std::to_string(kDefaultBaudRate)),
                            comset.ReadString(kComSetSection, kKeyByteSize, std::to_string(kDefaultDataBits)),
                            comset.ReadInteger(kComSetSection, kKeyParity, kDefaultParity),
                            comset.ReadInteger(kComSetSection, kKeyStopBits, kDefaultStopBits));
}

}  // namespace tc101
