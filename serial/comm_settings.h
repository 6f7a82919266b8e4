#pragma once

// The line properties and read/write time-outs of the serial component, with
// the component's defaults. Plain values: the component keeps one copy, the
// termios builder and the receive thread's block timing read them.

#include <cstddef>
#include <cstdint>

namespace tc101 {

enum class TDtrControl : std::uint8_t { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl : std::uint8_t { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize : std::uint8_t { _5, _6, _7, _8 };
enum class TParity : std::uint8_t { None, Odd, Even, Mark, Space };
enum class TStopBits : std::uint8_t { _1, _1_5, _2 };

// Every read asks for at most this many bytes; a full read ends a block.
inline constexpr std::size_t kReadBlockSize = 2048;
// The all-ones time-out value: as interval with both read totals 0 it means
// "return at once with what is there".
inline constexpr std::uint32_t kTimeoutAllOnes = 0xFFFFFFFFu;

inline constexpr char kDefaultCommName[] = "COM2";
// How long a "tcp:" port may take to connect.
inline constexpr std::uint32_t kDefaultConnectTimeoutMs = 3000;

struct LineSettings {
    std::uint32_t BaudRate = 9600;
    bool ParityCheck = false;
    bool Outx_CtsFlow = false;
    bool Outx_DsrFlow = false;
    TDtrControl DtrControl = TDtrControl::DtrEnable;
    bool DsrSensitivity = false;
    bool TxContinueOnXoff = true;
    bool Outx_XonXoffFlow = true;
    bool Inx_XonXoffFlow = true;
    bool ReplaceWhenParityError = false;
    bool IgnoreNullChar = false;
    TRtsControl RtsControl = TRtsControl::RtsEnable;
    std::uint16_t XonLimit = 500;
    std::uint16_t XoffLimit = 500;
    TByteSize ByteSize = TByteSize::_8;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::_1;
    std::uint8_t XonChar = 17;
    std::uint8_t XoffChar = 19;
    std::uint8_t ReplacedChar = 0;

    bool operator==(const LineSettings&) const = default;
};

struct CommTimeouts {
    std::uint32_t ReadIntervalTimeout = 100;
    std::uint32_t ReadTotalTimeoutMultiplier = 0;
    std::uint32_t ReadTotalTimeoutConstant = 0;
    std::uint32_t WriteTotalTimeoutMultiplier = 0;
    std::uint32_t WriteTotalTimeoutConstant = 0;

    bool operator==(const CommTimeouts&) const = default;
};

}  // namespace tc101
