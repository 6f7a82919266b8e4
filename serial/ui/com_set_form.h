#pragma once

// TfrmComSet "通讯参数设置": edits the stored port settings (comset.ini,
// section ComSet). The main window creates it per use while the port is
// closed, shows it modally and refreshes its status bar afterwards; the
// settings reach the port at the next open.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolButton;
class QWidget;

namespace tc101 {

class TfrmComSet : public QDialog {
    Q_OBJECT
public:
    explicit TfrmComSet(QWidget* parent = nullptr);

    // Replaces the port field's entries with the system's serial ports.
    void ListSerialPorts();

    // The dialog's widgets, for the window and the tests that drive it.
    QWidget* Panel3 = nullptr;  // the button bar
    QToolButton* BtnSend = nullptr;
    QToolButton* BtnSel = nullptr;
    QCheckBox* chkOpen = nullptr;
    QWidget* Panel1 = nullptr;  // the settings group
    QComboBox* Com_Port = nullptr;
    QComboBox* Com_baudrate = nullptr;
    QComboBox* com_ByteSize = nullptr;
    QComboBox* Com_Parity = nullptr;
    QComboBox* Com_StopBits = nullptr;
    QSpinBox* txtInteval = nullptr;
    QCheckBox* chkFrameComplete = nullptr;  // blocks of whole frames go up before the frame delay

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void MakeButtonBar();
    void MakeSettingsGroup();
    void LoadSettings();
    // Throws when the baud or data bits text is not an integer; the keys
    // before it are written by then and the dialog stays open.
    void BtnSendClick();
    void CentreSettingsGroup();
    // A port name that stands for no device shows in red with the path in its tooltip.
    void ShowPortPresence();
};

}  // namespace tc101
