// The two editors opened from the main window: the point definitions from
// "遥测遥信设置(&S)" and the send list from "报文维护(&U)".

#include "app/window/main_window.h"
#include "files/comset_keys.h"
#include "files/ui/define_send_form.h"
#include "files/ui/yc_yx_def_form.h"
#include "widgets/application.h"
#include "widgets/form_geometry.h"

namespace tc101 {

void TfrmZh::BtnYcYxDefClick() {
    tables_.ClearValueTable(static_cast<int>(ValuePage::Yc));
    tables_.ClearValueTable(static_cast<int>(ValuePage::Yx));
    RunCommand([this] {
        Tfrmyxycdef editor(this, StandInDefinitions{standInYc_, standInYx_});
        editor.exec();
    });
    // The editor stores the decoding settings at every close.
    station_->SetDecoding(ReadDecodingSettings());
    RunCommand([this] { LoadValueTables(); });
}

void TfrmZh::BtnUpdateClick() {
    RunCommand([this] {
        // Its section is its component name.
        SaveFormSize(*this, objectName().toStdString());
        TfrmDefineSend editor(*frmBwSet, this);
        editor.SetLinkProfile(station_->Profile());
        editor.exec();
    });
    RunCommand([this] { LoadSendList(); });
}

}  // namespace tc101
