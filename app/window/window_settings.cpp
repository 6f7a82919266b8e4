#include "app/window/window_settings.h"

#include "files/comset_keys.h"
#include "protocol/address_list.h"

namespace tc101 {

WindowSettings ReadWindowSettings(const IniFile& comset) {
    WindowSettings s;
    s.bsee = comset.ReadBool(kBaowenSection, kBseeKey, s.bsee);
    if (s.bsee) s.height = comset.ReadInteger(kBaowenSection, kHeightKey, s.height);
    s.timeInteval1 = comset.ReadInteger(kDefineSendSection, kTimeInteval1Key, s.timeInteval1);
    s.timeInteval2 = comset.ReadInteger(kDefineSendSection, kTimeInteval2Key, s.timeInteval2);
    s.isCircle = comset.ReadBool(kDefineSendSection, kIsCircleKey, s.isCircle);
    s.noteBookHeight = comset.ReadInteger(kDefineSendSection, kNoteBookHeightKey, s.noteBookHeight);
    s.pageIndex = comset.ReadInteger(kZhSection, kPageIndexKey, s.pageIndex);
    s.address = comset.ReadInteger(kDefaultSendSection, kAddressKey, s.address);
    const std::string stored = comset.ReadString(kDefaultSendSection, kAddressKey, "");
    if (!stored.empty() && !IsSingleAddress(stored)) s.addressList = stored;
    return s;
}

void WriteWindowSettings(IniFile& comset, const WindowSettings& s) {
    comset.WriteInteger(kDefineSendSection, kTimeInteval1Key, s.timeInteval1);
    comset.WriteInteger(kDefineSendSection, kTimeInteval2Key, s.timeInteval2);
    comset.WriteBool(kDefineSendSection, kIsCircleKey, s.isCircle);
    comset.WriteInteger(kDefineSendSection, kNoteBookHeightKey, s.noteBookHeight);
    if (s.addressList.empty())
        comset.WriteInteger(kDefaultSendSection, kAddressKey, s.address);
    else
        comset.WriteString(kDefaultSendSection, kAddressKey, s.addressList);
    comset.WriteInteger(kZhSection, kPageIndexKey, s.pageIndex);
    comset.WriteInteger(kBaowenSection, kHeightKey, s.height);
}

}  // namespace tc101
