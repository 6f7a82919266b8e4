#include "files/comset_keys.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "files/app_paths.h"
#include "files/ini_file.h"
#include "files/ini_text.h"

namespace tc101 {

namespace {

constexpr std::int64_t kLowByteMask = 0xFF;

IniFile Comset() { return IniFile(AppFile(kComsetIniName)); }

std::uint8_t LowByte(std::int64_t value) { return static_cast<std::uint8_t>(value & kLowByteMask); }

void StoreByte(std::string_view key, std::int64_t value) { Comset().WriteInteger(kYcYxDefSection, key, LowByte(value)); }

std::string FaultLine(std::string_view key, const std::string& text, std::string_view allowed, const std::string& used) {
    return "comset.ini [" + std::string(kProfileSection) + "] " + std::string(key) + "=" + text + " 不可用(" +
           std::string(allowed) + "), 按 " + used + " 使用";
}

// A profile key read as a whole number within [min, max]; absent or empty: nothing.
class ProfileReader {
public:
    ProfileReader(const IniFile& ini, std::vector<std::string>& faults) : ini_(ini), faults_(faults) {}

    std::string Text(std::string_view key) const { return ini_.ReadString(kProfileSection, key, {}); }

    std::optional<std::int64_t> Number(std::string_view key, std::int64_t min, std::int64_t max,
                                       std::string_view allowed, const std::string& used) {
        const std::string text = Text(key);
        if (text.empty()) return std::nullopt;
        const auto value = ini::ParseInteger(text);
        if (value && *value >= min && *value <= max) return value;
        faults_.push_back(FaultLine(key, text, allowed, used));
        return std::nullopt;
    }

    int Size(std::string_view key, int min, int max, int fallback) {
        const std::string allowed = min + 1 == max ? std::to_string(min) + " 或 " + std::to_string(max)
                                                   : std::to_string(min) + " 至 " + std::to_string(max);
        return static_cast<int>(Number(key, min, max, allowed, std::to_string(fallback)).value_or(fallback));
    }

    void Fault(std::string_view key, const std::string& text, std::string_view allowed, const std::string& used) {
        faults_.push_back(FaultLine(key, text, allowed, used));
    }

private:
    const IniFile& ini_;
    std::vector<std::string>& faults_;
};

std::string HexAddress(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
    return text;
}

constexpr std::int64_t kMaxLinkMs = 3'600'000;
constexpr std::int64_t kMaxRetries = 100;

void ReadBalancedSettings(ProfileReader& reader, LinkProfile& profile) {
    BalancedSettings& balanced = profile.balanced;
    const BalancedSettings defaults;
    const std::int64_t maxLink = profile.sizes.linkAddress >= 2 ? 0xFFFF : 0xFF;
    if (auto v = reader.Number(kOtherAddressKey, 0, maxLink, "0 至 " + std::to_string(maxLink), "设备地址"))
        balanced.otherAddress = static_cast<std::uint32_t>(*v);
    if (auto v = reader.Number(kSingleCharAckKey, 0, 1, "0 或 1", "0")) balanced.singleCharAck = *v != 0;
    if (auto v = reader.Number(kTestPeriodKey, 0, kMaxLinkMs, "0 至 3600000", std::to_string(defaults.testPeriodMs)))
        balanced.testPeriodMs = *v;
    if (auto v = reader.Number(kRepeatTimeoutKey, 1, kMaxLinkMs, "1 至 3600000", std::to_string(defaults.repeatTimeoutMs)))
        balanced.repeatTimeoutMs = *v;
    if (auto v = reader.Number(kRetriesKey, 0, kMaxRetries, "0 至 100", std::to_string(defaults.retries)))
        balanced.retries = static_cast<int>(*v);
}

// A key written when it is not at its default or is there already, so a file
// that never had it keeps without it.
void WriteUnlessDefault(IniFile& ini, std::string_view key, const std::string& value, bool isDefault) {
    if (isDefault && ini.ReadString(kProfileSection, key, {}).empty()) return;
    ini.WriteString(kProfileSection, key, value);
}

}  // namespace

std::uint32_t MaxCommonAddress(const FieldSizes& sizes) { return sizes.commonAddress >= 2 ? 0xFFFF : 0xFF; }

StoredLinkProfile ReadLinkProfile() {
    StoredLinkProfile stored;
    LinkProfile& profile = stored.profile;
    const IniFile ini = Comset();
    ProfileReader reader(ini, stored.faults);
    const FieldSizes defaults;
    if (const std::string text = reader.Text(kModeKey); !text.empty()) {
        if (auto mode = ParseLinkMode(text))
            profile.mode = *mode;
        else
            reader.Fault(kModeKey, text, "unbalanced 或 balanced", "unbalanced");
    }
    const int minLink = profile.mode == LinkMode::Balanced ? 0 : 1;
    profile.sizes.linkAddress = reader.Size(kLinkAddressKey, minLink, 2, defaults.linkAddress);
    profile.sizes.cause = reader.Size(kCauseKey, 1, 2, defaults.cause);
    profile.sizes.commonAddress = reader.Size(kCommonAddressKey, 1, 2, defaults.commonAddress);
    profile.sizes.objectAddress = reader.Size(kObjectAddressKey, 1, 3, defaults.objectAddress);
    if (auto v = reader.Number(kOriginatorKey, 0, kMaxOriginator, "0 至 255", "0"))
        profile.originator = static_cast<std::uint8_t>(*v);
    const std::uint32_t maxCommon = MaxCommonAddress(profile.sizes);
    if (auto v = reader.Number(kCommonAddressValueKey, 0, maxCommon, "0 至 " + std::to_string(maxCommon), "设备地址"))
        profile.commonAddress = static_cast<std::uint32_t>(*v);
    if (const std::string text = reader.Text(kDecodingKey); !text.empty()) {
        if (auto decoding = ParseObjectDecoding(text))
            profile.decoding = *decoding;
        else
            reader.Fault(kDecodingKey, text, "legacy 或 standard", "legacy");
    }
    const std::string baseRange = "0 至 " + HexAddress(kMaxObjectAddress);
    if (auto v = reader.Number(kYxBaseKey, 0, kMaxObjectAddress, baseRange, HexAddress(kDefaultYxBase)))
        profile.yxBase = static_cast<std::uint32_t>(*v);
    if (auto v = reader.Number(kYcBaseKey, 0, kMaxObjectAddress, baseRange, HexAddress(kDefaultYcBase)))
        profile.ycBase = static_cast<std::uint32_t>(*v);
    ReadBalancedSettings(reader, profile);
    return stored;
}

void WriteLinkProfile(const LinkProfile& profile) {
    IniFile ini = Comset();
    ini.WriteInteger(kProfileSection, kLinkAddressKey, profile.sizes.linkAddress);
    ini.WriteInteger(kProfileSection, kCauseKey, profile.sizes.cause);
    ini.WriteInteger(kProfileSection, kCommonAddressKey, profile.sizes.commonAddress);
    ini.WriteInteger(kProfileSection, kObjectAddressKey, profile.sizes.objectAddress);
    ini.WriteInteger(kProfileSection, kOriginatorKey, profile.originator);
    ini.WriteString(kProfileSection, kCommonAddressValueKey,
                    profile.commonAddress ? std::to_string(*profile.commonAddress) : std::string());
    ini.WriteString(kProfileSection, kDecodingKey, ObjectDecodingName(profile.decoding));
    ini.WriteString(kProfileSection, kYxBaseKey, HexAddress(profile.yxBase));
    ini.WriteString(kProfileSection, kYcBaseKey, HexAddress(profile.ycBase));
    const BalancedSettings defaults;
    const BalancedSettings& balanced = profile.balanced;
    WriteUnlessDefault(ini, kModeKey, std::string(LinkModeName(profile.mode)), profile.mode == LinkMode::Unbalanced);
    WriteUnlessDefault(ini, kOtherAddressKey, balanced.otherAddress ? std::to_string(*balanced.otherAddress) : "",
                       !balanced.otherAddress);
    WriteUnlessDefault(ini, kSingleCharAckKey, balanced.singleCharAck ? "1" : "0", !balanced.singleCharAck);
    WriteUnlessDefault(ini, kTestPeriodKey, std::to_string(balanced.testPeriodMs),
                       balanced.testPeriodMs == defaults.testPeriodMs);
    WriteUnlessDefault(ini, kRepeatTimeoutKey, std::to_string(balanced.repeatTimeoutMs),
                       balanced.repeatTimeoutMs == defaults.repeatTimeoutMs);
    WriteUnlessDefault(ini, kRetriesKey, std::to_string(balanced.retries), balanced.retries == defaults.retries);
}

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
