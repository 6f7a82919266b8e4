#include "widgets/dialog_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tc101 {

OkBackButtons MakeOkBackButtons(QWidget* parent) {
    auto* ok = new QPushButton(QString::fromUtf16(u"确定(&O)"), parent);
    auto* back = new QPushButton(QString::fromUtf16(u"返回(&B)"), parent);
    ok->setAutoDefault(false);
    back->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(back);
    row->addStretch();
    return {ok, back, row};
}

}  // namespace tc101
