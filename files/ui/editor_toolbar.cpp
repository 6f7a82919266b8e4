#include "files/ui/editor_toolbar.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tc101 {

EditorToolbar MakeEditorToolbar(QWidget* parent) {
    const auto button = [parent](const char16_t* caption) {
        auto* b = new QPushButton(QString::fromUtf16(caption), parent);
        b->setAutoDefault(false);
        return b;
    };
    EditorToolbar bar{button(u"添加(&A)"), button(u"删除(&D)"), button(u"刷新(&R)"),
                      button(u"保存(&S)"), button(u"返回(&B)"), new QHBoxLayout};
    for (QPushButton* b : {bar.add, bar.del, bar.refresh, bar.save, bar.back}) bar.row->addWidget(b);
    bar.row->addStretch();
    return bar;
}

}  // namespace tc101
