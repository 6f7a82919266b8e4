#pragma once

// The comset.ini keys of the definition and send files and of the decoding
// settings. comset.ini lives in AppDirectory().

#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/decoding_settings.h"

namespace tc101 {

inline constexpr std::string_view kComsetIniName = "comset.ini";
inline constexpr std::string_view kDefineSendSection = "DefineSend";
inline constexpr std::string_view kSendFileNameKey = "SendFileName";
inline constexpr std::string_view kYcYxDefSection = "YcYxDef";
inline constexpr std::string_view kDefFileNameKey = "DefFileName";
inline constexpr std::string_view kYcUseByteKey = "YcUseByte";
inline constexpr std::string_view kYxUseByteKey = "YxUseByte";
inline constexpr std::string_view kDefaultSendFileName = "default.sen";
inline constexpr std::string_view kDefaultDefFileName = "default.set";

// The stored values as written; callers keep the low 8 bits.
std::int64_t ReadYcUseByte();
std::int64_t ReadYxUseByte();
// The stored decoding settings, each value's low 8 bits.
DecodingSettings ReadDecodingSettings();
// Each stores value AND 0xFF. Throws FileError.
void WriteYcUseByte(std::int64_t value);
void WriteYxUseByte(std::int64_t value);

// The stored send file name when that file exists; otherwise the application
// directory's default.sen, which is also written back to the key.
std::string ResolveSendFileName();
void StoreSendFileName(std::string_view name);

// Records the application directory's default.set as the definition file name
// when no such file exists. The key is written, never read back.
void ResolveDefFileName();
void StoreDefFileName(std::string_view name);

}  // namespace tc101
