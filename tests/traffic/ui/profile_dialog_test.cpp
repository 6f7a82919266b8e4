// The profile dialog: what it refuses, what it stores, and the status bar's text.

#include <filesystem>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "files/comset_keys.h"
#include "support/config_dir.h"
#include "support/message_hook.h"
#include "traffic/ui/profile_dialog.h"

namespace tc101 {
namespace {

class ProfileDialogTest : public testing::ConfigDirTest {
protected:
    testing::MessageRecorder boxes;
};

TEST_F(ProfileDialogTest, RefusesWhatCannotBeUsedAndStoresNothing) {
    struct Case {
        int sizes[4];
        const char* common;
        const char* yxBase;
        const char* ycBase;
    };
    const Case cases[] = {
        {{0, 1, 1, 2}, "", "1", "0x4001"},       {{3, 1, 1, 2}, "", "1", "0x4001"},
        {{1, 0, 1, 2}, "", "1", "0x4001"},       {{1, 1, 3, 2}, "", "1", "0x4001"},
        {{1, 1, 1, 4}, "", "1", "0x4001"},       {{1, 1, 1, 0}, "", "1", "0x4001"},
        {{1, 1, 1, 2}, "256", "1", "0x4001"},    {{1, 1, 2, 2}, "65536", "1", "0x4001"},
        {{1, 1, 1, 2}, "one", "1", "0x4001"},    {{1, 1, 1, 2}, "", "", "0x4001"},
        {{1, 1, 1, 2}, "", "1", "0x1000000"},    {{1, 1, 1, 2}, "", "0x", "1"},
    };
    for (const Case& c : cases) {
        ProfileDialog dialog{LinkProfile{}};
        for (auto [box, size] : {std::pair{dialog.spnLinkAddress, c.sizes[0]}, {dialog.spnCause, c.sizes[1]},
                                 {dialog.spnCommonAddress, c.sizes[2]}, {dialog.spnObjectAddress, c.sizes[3]}})
            box->setValue(size);
        dialog.txtCommonAddress->setText(QString::fromUtf8(c.common));
        dialog.txtYxBase->setText(QString::fromUtf8(c.yxBase));
        dialog.txtYcBase->setText(QString::fromUtf8(c.ycBase));
        boxes.shown.clear();
        dialog.btnOk->click();
        ASSERT_EQ(boxes.shown.size(), 1u) << c.common << c.yxBase;
        EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(std::filesystem::exists(File("comset.ini")));
    }
}

TEST_F(ProfileDialogTest, StoresTheProfileAndShowsIt) {
    LinkProfile given;
    given.commonAddress = 3;
    ProfileDialog dialog(given);
    EXPECT_EQ(dialog.txtCommonAddress->text(), QStringLiteral("3"));
    EXPECT_EQ(dialog.txtYcBase->text(), QStringLiteral("0x4001"));
    EXPECT_FALSE(dialog.spnOriginator->isEnabled()) << "an originator needs a two-octet cause";
    dialog.spnLinkAddress->setValue(2);
    dialog.spnCause->setValue(2);
    dialog.spnCommonAddress->setValue(2);
    dialog.spnObjectAddress->setValue(3);
    EXPECT_TRUE(dialog.spnOriginator->isEnabled());
    dialog.spnOriginator->setValue(12);
    dialog.txtCommonAddress->setText(QStringLiteral(" 0x101 "));
    dialog.cmbDecoding->setCurrentIndex(1);
    dialog.txtYxBase->setText(QStringLiteral("100"));
    dialog.btnOk->click();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    LinkProfile expected;
    expected.sizes = {2, 2, 2, 3};
    expected.originator = 12;
    expected.commonAddress = 0x101;
    expected.decoding = ObjectDecoding::Standard;
    expected.yxBase = 100;
    EXPECT_EQ(dialog.Profile(), expected);
    EXPECT_EQ(ReadLinkProfile().profile, expected);
    EXPECT_EQ(ProfilePanelText(expected), QStringLiteral(u" 规约:2/2/2/3 标准"));
    EXPECT_EQ(ProfilePanelText(LinkProfile{}), QStringLiteral(u" 规约:1/1/1/2"));
}

// Balanced mode takes a link address of no octets and the link's settings;
// those are off in unbalanced mode.
TEST_F(ProfileDialogTest, BalancedModeStoresItsSettings) {
    ProfileDialog dialog{LinkProfile{}};
    EXPECT_FALSE(dialog.spnRetries->isEnabled());
    dialog.spnLinkAddress->setValue(0);
    dialog.cmbMode->setCurrentIndex(1);
    EXPECT_TRUE(dialog.spnRetries->isEnabled());
    dialog.txtOtherAddress->setText(QStringLiteral("256"));
    dialog.btnOk->click();
    ASSERT_EQ(boxes.shown.size(), 1u) << "an other address beyond one octet";
    dialog.txtOtherAddress->setText(QStringLiteral("9"));
    dialog.chkSingleCharAck->setChecked(true);
    dialog.spnTestPeriod->setValue(0);
    dialog.spnRepeatTimeout->setValue(250);
    dialog.spnRetries->setValue(5);
    dialog.btnOk->click();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    LinkProfile expected;
    expected.mode = LinkMode::Balanced;
    expected.sizes.linkAddress = 0;
    expected.balanced = {9, true, 0, 250, 5};
    EXPECT_EQ(dialog.Profile(), expected);
    EXPECT_EQ(ReadLinkProfile().profile, expected);
    EXPECT_EQ(ProfilePanelText(expected), QStringLiteral(u" 规约:0/1/1/2 平衡"));
}

}  // namespace
}  // namespace tc101
