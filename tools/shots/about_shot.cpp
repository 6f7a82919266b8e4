// Shows the about box on the real system and saves a picture of it;
// with "hover", the pointer rests on the first link.
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

#include "about/about_form.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: about_shot FILE.png [hover]\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("澄风101规约调试工具V2.8"));
    auto* form = new tc101::TAboutfrm;
    form->show();
    if (argc > 2 && qstrcmp(argv[2], "hover") == 0) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(form->lblweb, &enter);
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    int status = 1;
    QTimer::singleShot(300, [&] {
        status = form->grab().save(file) ? 0 : 1;
        form->close();
        app.quit();
    });
    app.exec();
    return status;
}
