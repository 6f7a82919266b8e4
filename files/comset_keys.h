#pragma once

// The comset.ini keys of the definition and send files, of the decoding
// settings and of the link profile. comset.ini lives in AppDirectory().

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/decoding_settings.h"
#include "protocol/link_profile.h"

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

// The link profile: written only by the profile dialog, so a file without the
// section reads as the default profile and stays without it.
inline constexpr std::string_view kProfileSection = "Profile";
inline constexpr std::string_view kLinkAddressKey = "LinkAddress";
inline constexpr std::string_view kCauseKey = "Cause";
inline constexpr std::string_view kCommonAddressKey = "CommonAddress";
inline constexpr std::string_view kObjectAddressKey = "ObjectAddress";
inline constexpr std::string_view kOriginatorKey = "Originator";
inline constexpr std::string_view kCommonAddressValueKey = "CommonAddressValue";
inline constexpr std::string_view kDecodingKey = "Decoding";
inline constexpr std::string_view kYxBaseKey = "YxBase";
inline constexpr std::string_view kYcBaseKey = "YcBase";
// The balanced procedure's keys: written only when not at their default or
// already there, so an unbalanced profile is stored as before.
inline constexpr std::string_view kModeKey = "Mode";
inline constexpr std::string_view kOtherAddressKey = "OtherAddress";
inline constexpr std::string_view kSingleCharAckKey = "SingleCharAck";
inline constexpr std::string_view kTestPeriodKey = "TestPeriod";
inline constexpr std::string_view kRepeatTimeoutKey = "RepeatTimeout";
inline constexpr std::string_view kRetriesKey = "Retries";

// Largest object address of three octets: the bases' upper limit.
inline constexpr std::uint32_t kMaxObjectAddress = 0xFFFFFF;
inline constexpr std::uint32_t kMaxOriginator = 0xFF;

// The largest common address the profile's common address octets hold.
std::uint32_t MaxCommonAddress(const FieldSizes& sizes);

struct StoredLinkProfile {
    LinkProfile profile;
    // One line per stored value that could not be used (its default was
    // taken instead), for the user to see.
    std::vector<std::string> faults;
};

// A missing key gives its default; a value out of range too, with a fault line.
StoredLinkProfile ReadLinkProfile();
// Every key of the section; an absent common address as an empty value. Throws FileError.
void WriteLinkProfile(const LinkProfile& profile);

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
