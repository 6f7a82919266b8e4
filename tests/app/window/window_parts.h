#pragma once

// TfrmZh's parts as the tests reach them: by their object names.

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

#include "app/window/main_window.h"
#include "support/find_part.h"
#include "traffic/ui/bw_set_form.h"
#include "traffic/ui/traffic_log.h"
#include "widgets/grid_view.h"

namespace tc101::testing {

struct WindowParts {
    explicit WindowParts(const TfrmZh& window)
        : BtnOpenCom(Part<QAction>(window, "BtnOpenCom")),
          btnCloseCom(Part<QAction>(window, "btnCloseCom")),
          btnPortSet(Part<QAction>(window, "btnPortSet")),
          BtnYcYxDef(Part<QAction>(window, "BtnYcYxDef")),
          N2(Part<QAction>(window, "N2")),
          BtnClear(Part<QAction>(window, "BtnClear")),
          BtnExcel(Part<QAction>(window, "BtnExcel")),
          A2(Part<QMenu>(window, "A2")),
          A3(Part<QAction>(window, "A3")),
          PageControl2(Part<QTabWidget>(window, "PageControl2")),
          cbxMlzz(Part<QCheckBox>(window, "cbxMlzz")),
          txtAdd(Part<QSpinBox>(window, "txtAdd")),
          txtInteval1(Part<QSpinBox>(window, "txtInteval1")),
          BtnLL(Part<QPushButton>(window, "BtnLL")),
          Btn1J(Part<QPushButton>(window, "Btn1J")),
          Btn2J(Part<QPushButton>(window, "Btn2J")),
          BtnZZ(Part<QPushButton>(window, "BtnZZ")),
          cekSend2(Part<QCheckBox>(window, "cekSend2")),
          txtInteval2(Part<QSpinBox>(window, "txtInteval2")),
          cekCircle(Part<QCheckBox>(window, "cekCircle")),
          BtnSend(Part<QPushButton>(window, "BtnSend")),
          BtnUpdate(Part<QPushButton>(window, "BtnUpdate")),
          BtnAnalyze(Part<QPushButton>(window, "BtnAnalyze")),
          Notebook1(Part<QStackedWidget>(window, "Notebook1")),
          GrdSend(Part<GridView>(window, "GrdSend")),
          memoAna(Part<QPlainTextEdit>(window, "memoAna")),
          PageControl1(Part<QTabWidget>(window, "PageControl1")),
          GrdYC(Part<GridView>(window, "GrdYC")),
          GrdSJ(Part<GridView>(window, "GrdSJ")),
          C2(Part<QAction>(window, "C2")),
          Memo1(Part<TrafficLog>(window, "Memo1")),
          TimerZZ(Part<QTimer>(window, "TimerZZ")),
          Timer1(Part<QTimer>(window, "Timer1")),
          frmBwSet(Part<TfrmBwSet>(window, "frmBwSet")) {}

    QAction* BtnOpenCom;
    QAction* btnCloseCom;
    QAction* btnPortSet;
    QAction* BtnYcYxDef;
    QAction* N2;
    QAction* BtnClear;
    QAction* BtnExcel;
    QMenu* A2;
    QAction* A3;
    QTabWidget* PageControl2;
    QCheckBox* cbxMlzz;
    QSpinBox* txtAdd;
    QSpinBox* txtInteval1;
    QPushButton* BtnLL;
    QPushButton* Btn1J;
    QPushButton* Btn2J;
    QPushButton* BtnZZ;
    QCheckBox* cekSend2;
    QSpinBox* txtInteval2;
    QCheckBox* cekCircle;
    QPushButton* BtnSend;
    QPushButton* BtnUpdate;
    QPushButton* BtnAnalyze;
    QStackedWidget* Notebook1;
    GridView* GrdSend;
    QPlainTextEdit* memoAna;
    QTabWidget* PageControl1;
    GridView* GrdYC;
    GridView* GrdSJ;
    QAction* C2;
    TrafficLog* Memo1;
    QTimer* TimerZZ;
    QTimer* Timer1;
    TfrmBwSet* frmBwSet;
};

}  // namespace tc101::testing
