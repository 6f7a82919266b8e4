#include "files/comset_keys.h"

#include <filesystem>

#include "files/app_paths.h"
#include "files/ini_file.h"

namespace tc101 {

namespace {

constexpr std::int64_t kByteMask = 0xFF;

IniFile Comset() { return IniFile(AppFile(kComsetIniName)); }

std::uint8_t LowByte(std::int64_t value) { return static_cast<std::uint8_t>(value & kByteMask); }

void StoreByte(std::string_view key, std::int64_t value) { Comset().WriteInteger(kYcYxDefSection, key, LowByte(value)); }

}  // namespace

std::int64_t ReadYcUseByte() { return Comset().ReadInteger(kYcYxDefSection, kYcUseByteKey, kDefaultYcUseByte); }

std::int64_t ReadYxUseByte() { return Comset().ReadInteger(kYcYxDefSection, kYxUseByteKey, kDefaultYxUseByte); }

DecodingSettings ReadDecodingSettings() { return {LowByte(ReadYcUseByte()), LowByte(ReadYxUseByte())}; }

void WriteYcUseByte(std::int64_t value) { StoreByte(kYcUseByteKey, value); }

void WriteYxUseByte(std::int64_t value) { StoreByte(kYxUseByteKey, value); }

std::string ResolveSendFileName() {
    const std::string fallback = AppFile(kDefaultSendFileName).string();
    auto ini = Comset();
    std::string name = ini.ReadString(kDefineSendSection, kSendFileNameKey, fallback);
    std::error_code error;
    if (!name.empty() && std::filesystem::exists(name, error)) return name;
    ini.WriteString(kDefineSendSection, kSendFileNameKey, fallback);
    return fallback;
}

void StoreSendFileName(std::string_view name) { Comset().WriteString(kDefineSendSection, kSendFileNameKey, name); }

void ResolveDefFileName() {
    const auto file = AppFile(kDefaultDefFileName);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) StoreDefFileName(file.string());
}

void StoreDefFileName(std::string_view name) { Comset().WriteString(kYcYxDefSection, kDefFileNameKey, name); }

}  // namespace tc101
