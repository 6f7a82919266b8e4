// Not a test: shows the two editors with a few rows, for screenshots under
// xvfb-run. Argument: "yc", "yx" or "send".

#include <QApplication>
#include <QTabWidget>
#include <QTimer>

#include "files/ui/define_send_form.h"
#include "files/ui/yc_yx_def_form.h"
#include "traffic/ui/bw_set_form.h"
#include "widgets/application.h"
#include "widgets/grid_view.h"

int main(int argc, char** argv) {
    tc101::Application app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("send");
    std::unique_ptr<QDialog> form;
    tc101::TfrmBwSet settings;
    if (which == QStringLiteral("send")) {
        auto send = std::make_unique<tc101::TfrmDefineSend>(settings);
        send->show();
        tc101::Table& list = send->SendTable();
        list.SetCell(1, 1, "召唤链路状态1#");
        list.SetCell(2, 1, "10 49 01 4A 16");
        list.SetCell(1, 2, "总召1#");
        list.SetCell(2, 2, "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16");
        auto* grid = send->findChild<tc101::GridView*>(QStringLiteral("GrdSend"));
        grid->setCurrentIndex(grid->model()->index(1, 0));
        form = std::move(send);
    } else {
        auto def = std::make_unique<tc101::Tfrmyxycdef>();
        def->show();
        def->YcTable().SetCell(1, 1, "A相电压");
        def->YcTable().SetCell(2, 1, "kV");
        def->YcTable().SetCell(3, 1, "0.01");
        def->YcTable().SetCell(1, 2, "A相电流");
        def->YcTable().SetCell(2, 2, "A");
        def->YcTable().SetCell(3, 2, "0.1");
        def->YxTable().SetCell(1, 1, "1#开关");
        def->YxTable().SetCell(2, 1, "分");
        def->YxTable().SetCell(3, 1, "合");
        if (which == QStringLiteral("yx")) def->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        form = std::move(def);
    }
    form->move(10, 10);
    QTimer::singleShot(120000, &app, &QApplication::quit);
    return app.exec();
}
