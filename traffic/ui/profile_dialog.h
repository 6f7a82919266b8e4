#pragma once

// "规约参数": the link profile of the installation, the field sizes, the
// originator, the common address, the object decoding and the row bases.
// Shown modally over a profile; "确定(&O)" refuses what cannot be used with
// an error box, else stores the profile in comset.ini and closes.

#include <QDialog>

#include "protocol/link_profile.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tc101 {

inline constexpr char16_t kProfileDialogTitle[] = u"规约参数";

class ProfileDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProfileDialog(const LinkProfile& profile, QWidget* parent = nullptr);

    // The profile stored by "确定(&O)" (the one given until then).
    const LinkProfile& Profile() const { return profile_; }

    // The dialog's widgets, for the tests that drive it.
    QPushButton* btnOk = nullptr;
    QPushButton* btnBack = nullptr;
    QSpinBox* spnLinkAddress = nullptr;
    QSpinBox* spnCause = nullptr;
    QSpinBox* spnCommonAddress = nullptr;
    QSpinBox* spnObjectAddress = nullptr;
    QSpinBox* spnOriginator = nullptr;
    QLineEdit* txtCommonAddress = nullptr;
    QComboBox* cmbDecoding = nullptr;
    QLineEdit* txtYxBase = nullptr;
    QLineEdit* txtYcBase = nullptr;
    QComboBox* cmbMode = nullptr;
    QLineEdit* txtOtherAddress = nullptr;
    QCheckBox* chkSingleCharAck = nullptr;
    QSpinBox* spnTestPeriod = nullptr;
    QSpinBox* spnRepeatTimeout = nullptr;
    QSpinBox* spnRetries = nullptr;

private:
    void Show(const LinkProfile& profile);
    void BtnOkClick();
    void TakeBalanced(LinkProfile& profile) const;
    void ShowMode();

    LinkProfile profile_;
};

// The status bar's compact form: " 规约:1/1/1/2", with " 标准" for standard
// decoding and " 平衡" for the balanced procedure.
QString ProfilePanelText(const LinkProfile& profile);

}  // namespace tc101
