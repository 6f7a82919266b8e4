#include "app/window/window_settings.h"

#include "files/comset_keys.h"

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
    return s;
}

void WriteWindowSettings(IniFile& comset, const WindowSettings& s) {
    comset.WriteInteger(kDefineSendSection, kTimeInteval1Key, s.timeInteval1);
    comset.WriteInteger(kDefineSendSection, kTimeInteval2Key, s.timeInteval2);
    comset.WriteBool(kDefineSendSection, kIsCircleKey, s.isCircle);
    comset.WriteInteger(kDefineSendSection, kNoteBookHeightKey, s.noteBookHeight);
    comset.WriteInteger(kDefaultSendSection, kAddressKey, s.address);
    comset.WriteInteger(kZhSection, kPageIndexKey, s.pageIndex);
    comset.WriteInteger(kBaowenSection, kHeightKey, s.height);
}

}  // namespace tc101
