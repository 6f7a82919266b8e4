// TfrmDefineSend's widgets: the toolbar above the send table with its
// titles, start widths and the "生成" button column.

#include <array>

#include <QHeaderView>

#include "files/send_list_normalize.h"
#include "files/ui/define_send_form.h"
#include "widgets/cell_delegate.h"
#include "widgets/grid_view.h"

namespace tc101 {

namespace {

constexpr int kMinWidth = 590;
constexpr int kMinHeight = 354;
constexpr int kRowHeight = 20;
constexpr std::array kWidths{25, 100, 300, 58};
constexpr std::array kTitles{u"", u"报文名称", u"报文内容", u"规约报文"};

}  // namespace

void TfrmDefineSend::BuildLayout() {
    BuildToolbar(QSize(kMinWidth, kMinHeight));

    for (int col = 0; col < sendTable_.ColCount(); ++col) {
        sendTable_.SetColWidth(col, kWidths[static_cast<size_t>(col)]);
        sendTable_.SetCell(col, 0, QString::fromUtf16(kTitles[static_cast<size_t>(col)]).toStdString());
    }
    GrdSend = new GridView(sendTable_, this);
    GrdSend->setObjectName(QStringLiteral("GrdSend"));
    GrdSend->SetWholeRowSelection(false);
    GrdSend->SetEditableColumns({kSendNameCol, kSendContentCol});
    GrdSend->SetLeftAligned(true);
    GrdSend->SetEnterMovesRight(true);
    GrdSend->Delegate()->SetButtonColumn(kSendButtonCol, QString::fromUtf16(u"生成"));
    GrdSend->verticalHeader()->setDefaultSectionSize(kRowHeight);
    LayOut(GrdSend);
}

}  // namespace tc101
