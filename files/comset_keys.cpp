#include "files/comset_keys.h"

#include <filesystem>

#include "files/app_paths.h"
#include "files/ini_file.h"
#include "protocol/decoding_settings.h"

namespace tc101 {

namespace {

constexpr std::int64_t kByteMask = 0xFF;

IniFile Comset() { return IniFile(AppFile(kComsetIniName)); }

std::uint8_t StoreByte(std::string_view key, std::int64_t value) {
    const auto low = static_cast<std::uint8_t>(value & kByteMask);
    Comset().WriteInteger(kYcYxDefSection, key, low);
    return low;
}

}  // namespace

std::int64_t ReadYcUseByte() { return Comset().ReadInteger(kYcYxDefSection, kYcUseByteKey, kDefaultYcUseByte); }

std::int64_t ReadYxUseByte() { return Comset().ReadInteger(kYcYxDefSection, kYxUseByteKey, kDefaultYxUseByte); }

void LoadDecodingSettings() {
    YcUseByte = static_cast<std::uint8_t>(ReadYcUseByte() & kByteMask);
    YxUseByte = static_cast<std::uint8_t>(ReadYxUseByte() & kByteMask);
}

void WriteYcUseByte(std::int64_t value) { YcUseByte = StoreByte(kYcUseByteKey, value); }

void WriteYxUseByte(std::int64_t value) { YxUseByte = StoreByte(kYxUseByteKey, value); }

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
