#pragma once

// TfrmBwget "101常用报文生成": makes one of the four standard requests into a
// named send-list message. The send message editor creates it per use, sets
// the caption label, shows it modally and reads the three results.

#include <QDialog>
#include <QString>

#include "protocol/link_profile.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace tc101 {

class TfrmBwSet;

inline constexpr char kBwGetSection[] = "bwSet";

class TfrmBwget : public QDialog {
    Q_OBJECT
public:
    // The settings dialog supplies the control fields and interrogation cells.
    explicit TfrmBwget(const TfrmBwSet& settings, QWidget* parent = nullptr);

    // The profile the frames are built in (default 1/1/1/2).
    void SetLinkProfile(const LinkProfile& profile) { profile_ = profile; }

    // "生成第 n 行报文" as the caller words it.
    void SetCaption(const QString& text);

    bool MessageGenerated() const { return messageGenerated_; }
    const QString& GeneratedName() const { return generatedName_; }
    const QString& GeneratedContent() const { return generatedContent_; }

    // The dialog's widgets, for the tests that drive it.
    QPushButton* btnOk = nullptr;
    QPushButton* btnBack = nullptr;
    QLabel* lblCaption = nullptr;
    QComboBox* cmbBWLX = nullptr;
    QSpinBox* cmbAddress = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtnOkClick();

    const TfrmBwSet& settings_;
    LinkProfile profile_;
    bool messageGenerated_ = false;
    QString generatedName_;
    QString generatedContent_;
};

}  // namespace tc101
