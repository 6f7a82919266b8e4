#pragma once

// The main window's keys in comset.ini: read once at creation, written once
// at close (bsee is never written).

#include <cstdint>
#include <string>
#include <string_view>

#include "files/ini_file.h"

namespace tc101 {

inline constexpr std::string_view kBaowenSection = "baowen";
inline constexpr std::string_view kBseeKey = "bsee";
inline constexpr std::string_view kHeightKey = "Height";
inline constexpr std::string_view kTimeInteval1Key = "TimeInteval1";
inline constexpr std::string_view kTimeInteval2Key = "TimeInteval2";
inline constexpr std::string_view kIsCircleKey = "isCircle";
inline constexpr std::string_view kNoteBookHeightKey = "NoteBookHeight";
inline constexpr std::string_view kZhSection = "zh";
inline constexpr std::string_view kPageIndexKey = "PageIndex";
inline constexpr std::string_view kDefaultSendSection = "DefaultSend";
inline constexpr std::string_view kAddressKey = "Address";

struct WindowSettings {
    bool bsee = true;
    std::int64_t height = 100;
    std::int64_t timeInteval1 = 1000;
    std::int64_t timeInteval2 = 1000;
    bool isCircle = false;
    std::int64_t noteBookHeight = 150;
    std::int64_t pageIndex = 0;
    std::int64_t address = 1;
    // Several devices ("1,2,5-7"), stored in Address instead of the number; empty: the number.
    std::string addressList;

    bool operator==(const WindowSettings&) const = default;
};

// Height is read only when bsee is set; otherwise it keeps its default.
WindowSettings ReadWindowSettings(const IniFile& comset);
// Every key but bsee. Throws FileError.
void WriteWindowSettings(IniFile& comset, const WindowSettings& settings);

}  // namespace tc101
