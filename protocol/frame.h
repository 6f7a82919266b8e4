#pragma once

// FT1.2 link frames as this tool builds and reads them: the fixed frame
// (10 C A CS 16), the variable frame (68 L L 68 C A ASDU CS 16) and the
// single character E5. Every protocol constant lives here, once.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tc101 {

inline constexpr std::uint8_t kFixedStart = 0x10;
inline constexpr std::uint8_t kVariableStart = 0x68;
inline constexpr std::uint8_t kFrameEnd = 0x16;
inline constexpr std::uint8_t kSingleChar = 0xE5;

inline constexpr int kFixedFrameSize = 5;
// A variable frame is L octets of control, address and ASDU plus this many.
inline constexpr int kVariableFrameOverhead = 6;

// Offsets inside a variable frame, counted from its first 0x68.
inline constexpr int kVarLengthOffset = 1;
inline constexpr int kVarLengthRepeatOffset = 2;
inline constexpr int kVarStartRepeatOffset = 3;
inline constexpr int kVarControlOffset = 4;
inline constexpr int kVarAddressOffset = 5;
inline constexpr int kVarTypeOffset = 6;
inline constexpr int kVarCauseOffset = 8;
inline constexpr int kVarFirstObjectOffset = 10;  // address of the first information object, low octet

// Offsets inside a fixed frame.
inline constexpr int kFixedControlOffset = 1;
inline constexpr int kFixedAddressOffset = 2;
inline constexpr int kFixedChecksumOffset = 3;
inline constexpr int kFixedEndOffset = 4;

// Control field.
inline constexpr std::uint8_t kPrmMask = 0x40;     // 1: from the primary (master) station
inline constexpr std::uint8_t kFcbAcdMask = 0x20;  // FCB in primary frames, ACD (class 1 data waiting) in secondary
inline constexpr std::uint8_t kFcvDfcMask = 0x10;
inline constexpr std::uint8_t kFunctionMask = 0x0F;
inline constexpr std::uint8_t kDirMask = 0x80;  // balanced link: 1 on the master's frames

// Function codes of primary frames.
namespace primary {
inline constexpr std::uint8_t kResetRemoteLink = 0;
inline constexpr std::uint8_t kResetUserProcess = 1;
inline constexpr std::uint8_t kTestLink = 2;
inline constexpr std::uint8_t kUserDataConfirmed = 3;
inline constexpr std::uint8_t kUserDataUnconfirmed = 4;
inline constexpr std::uint8_t kRequestAccessDemand = 8;
inline constexpr std::uint8_t kRequestLinkStatus = 9;
inline constexpr std::uint8_t kRequestClass1 = 10;
inline constexpr std::uint8_t kRequestClass2 = 11;
}  // namespace primary

// Function codes of secondary frames.
namespace secondary {
inline constexpr std::uint8_t kAck = 0;
inline constexpr std::uint8_t kLinkBusy = 1;
inline constexpr std::uint8_t kUserData = 8;
inline constexpr std::uint8_t kNoData = 9;
inline constexpr std::uint8_t kLinkStatus = 11;
inline constexpr std::uint8_t kLinkNotFunctioning = 14;
inline constexpr std::uint8_t kLinkNotImplemented = 15;
}  // namespace secondary

// Type identifications the analyser decodes and the simulator sends.
inline constexpr std::uint8_t kTypeSinglePoint = 1;             // M_SP_NA_1
inline constexpr std::uint8_t kTypeSinglePointTime = 2;         // M_SP_TA_1
inline constexpr std::uint8_t kTypeDoublePoint = 4;             // M_DP_TA_1
inline constexpr std::uint8_t kTypeMeasuredNormalised = 9;      // M_ME_NA_1
inline constexpr std::uint8_t kTypeMeasuredScaled = 11;         // M_ME_NB_1
inline constexpr std::uint8_t kTypeMeasuredNoQuality = 21;      // M_ME_ND_1
inline constexpr std::uint8_t kTypeInterrogation = 100;         // C_IC_NA_1

// Causes of transmission.
inline constexpr std::uint8_t kCauseSpontaneous = 3;
inline constexpr std::uint8_t kCauseRequested = 5;
inline constexpr std::uint8_t kCauseActivationConfirm = 7;
inline constexpr std::uint8_t kCauseDeactivationConfirm = 9;
inline constexpr std::uint8_t kCauseActivationTermination = 10;
inline constexpr std::uint8_t kCauseReturnRemote = 11;
inline constexpr std::uint8_t kCauseReturnLocal = 12;
inline constexpr std::uint8_t kCauseBackground = 2;
inline constexpr std::uint8_t kCausePeriodic = 1;
inline constexpr std::uint8_t kCauseInterrogatedFirst = 20;  // station interrogation
inline constexpr std::uint8_t kCauseInterrogatedLast = 32;   // group 12
inline constexpr std::uint8_t kCauseUnknownCause = 45;
// Set in the cause octet of a negative confirmation.
inline constexpr std::uint8_t kCauseNegativeMask = 0x40;
inline constexpr std::uint8_t kCauseTestMask = 0x80;
inline constexpr std::uint8_t kCauseMask = 0x3F;  // the cause without P/N and test

// Variable structure qualifier: values follow the first object's address.
inline constexpr std::uint8_t kVsqSequenceMask = 0x80;
// Largest L of a variable frame (one octet).
inline constexpr int kMaxVariableLength = 255;
// Control field, link address, type, qualifier, cause, common address,
// first object address (two octets): the octets of L before any element.
inline constexpr int kVarHeaderLength = 8;

// Sum of buffer[first] .. buffer[last] modulo 256; 0 when last < first.
// A range outside the buffer throws std::out_of_range.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> buffer, int first, int last);

// 10 control address checksum 16.
std::array<std::uint8_t, kFixedFrameSize> BuildFixedFrame(std::uint8_t control, std::uint8_t address);

// 68 L L 68 control address ASDU checksum 16. Throws std::length_error when
// the ASDU does not fit (L above 255).
std::vector<std::uint8_t> BuildVariableFrame(std::uint8_t control, std::uint8_t address,
                                             std::span<const std::uint8_t> asdu);

// The same with a link address of `linkOctets` octets (1 or 2, low first);
// the address is taken modulo 256 or 65536.
std::vector<std::uint8_t> BuildFixedFrame(std::uint8_t control, std::uint32_t address, int linkOctets);
std::vector<std::uint8_t> BuildVariableFrame(std::uint8_t control, std::uint32_t address, int linkOctets,
                                             std::span<const std::uint8_t> asdu);

}  // namespace tc101
