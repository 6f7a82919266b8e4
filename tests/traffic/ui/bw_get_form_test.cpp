#include <fstream>
#include <optional>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "support/config_dir.h"
#include "files/ini_file.h"
#include "support/message_hook.h"
#include "traffic/ui/bw_get_form.h"
#include "traffic/ui/bw_set_form.h"
#include "widgets/grid_view.h"

namespace tc101 {
namespace {

class BwgetFormTest : public testing::ConfigDirTest {
protected:
    void SetUp() override {
        ConfigDirTest::SetUp();
        settings_ = std::make_unique<TfrmBwSet>();
    }
    void TearDown() override {
        settings_.reset();
        ConfigDirTest::TearDown();
    }
    // One modeless showing, closed by the given button.
    void Generate(TfrmBwget& form, int item, int address, QPushButton* TfrmBwget::*button) {
        form.show();
        form.cmbBWLX->setCurrentIndex(item);
        form.cmbAddress->setValue(address);
        QTest::mouseClick(form.*button, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
    }
    IniFile Comset() const { return IniFile(File("comset.ini")); }

    std::unique_ptr<TfrmBwSet> settings_;
};

struct GeneratorCase {
    int item;
    int address;
    const char* name;
    const char* content;
};

TEST_F(BwgetFormTest, GeneratesNamedRequests) {
    const GeneratorCase cases[] = {
        {0, 1, "召唤链路状态1#", "10 49 01 4A 16"},
        {1, 1, "召唤一级数据1#", "10 5A 01 5B 16"},
        {2, 3, "召唤二级数据3#", "10 5B 03 5E 16"},
        {3, 1, "总召1#", "68 09 09 68 53 01 64 01 06 01 00 00 14 D4 16"},
        {2, 300, "召唤二级数据300#", "10 5B 2C 87 16"},  // the name keeps the address as entered
    };
    for (const auto& c : cases) {
        TfrmBwget form(*settings_);
        Generate(form, c.item, c.address, &TfrmBwget::btnOk);
        EXPECT_TRUE(form.MessageGenerated()) << c.name;
        EXPECT_EQ(form.GeneratedName(), QString::fromUtf8(c.name));
        EXPECT_EQ(form.GeneratedContent(), QString::fromUtf8(c.content));
    }
}

TEST_F(BwgetFormTest, GeneratesInTheGivenProfile) {
    struct Case {
        FieldSizes sizes;
        std::uint8_t originator;
        std::optional<std::uint32_t> common;
        GeneratorCase generated;
    };
    const Case cases[] = {
        {{2, 2, 2, 3}, 0, {}, {1, 257, "召唤一级数据257#", "10 5A 01 01 5C 16"}},
        {{2, 2, 2, 3}, 0, {}, {3, 257, "总召257#", "68 0D 0D 68 53 01 01 64 01 06 00 01 01 00 00 00 14 D6 16"}},
        {{1, 2, 2, 3}, 5, 0x0203, {3, 3, "总召3#", "68 0C 0C 68 53 03 64 01 06 05 03 02 00 00 00 14 DF 16"}},
        {{2, 1, 1, 2}, 0, {}, {0, 300, "召唤链路状态300#", "10 49 2C 01 76 16"}},
    };
    for (const Case& c : cases) {
        LinkProfile profile;
        profile.sizes = c.sizes;
        profile.originator = c.originator;
        profile.commonAddress = c.common;
        TfrmBwget form(*settings_);
        form.SetLinkProfile(profile);
        Generate(form, c.generated.item, c.generated.address, &TfrmBwget::btnOk);
        EXPECT_EQ(form.GeneratedName(), QString::fromUtf8(c.generated.name));
        EXPECT_EQ(form.GeneratedContent(), QString::fromUtf8(c.generated.content)) << c.generated.name;
    }
}

TEST_F(BwgetFormTest, InterrogationCellsThatAreNotHexGiveZero) {
    auto* zz = settings_->GrdZZ->model();
    ASSERT_TRUE(zz->setData(zz->index(6, 1), QStringLiteral("g")));
    TfrmBwget form(*settings_);
    Generate(form, 3, 1, &TfrmBwget::btnOk);
    EXPECT_EQ(form.GeneratedContent(), QStringLiteral("68 09 09 68 53 01 64 01 06 01 00 00 00 C0 16"));
}

TEST_F(BwgetFormTest, BackOrNoItemGeneratesNothing) {
    TfrmBwget back(*settings_);
    Generate(back, 2, 3, &TfrmBwget::btnBack);
    EXPECT_FALSE(back.MessageGenerated());
    TfrmBwget none(*settings_);
    Generate(none, -1, 3, &TfrmBwget::btnOk);
    EXPECT_FALSE(none.MessageGenerated());
    EXPECT_EQ(Comset().ReadInteger("bwSet", "bwStyle", 99), -1);
}

TEST_F(BwgetFormTest, RemembersItemAndAddressInComset) {
    {
        TfrmBwget form(*settings_);
        form.show();
        EXPECT_EQ(form.cmbBWLX->currentIndex(), -1);
        EXPECT_EQ(form.cmbAddress->value(), 1);
        form.cmbBWLX->setCurrentIndex(1);
        form.cmbAddress->setValue(7);
        form.close();
    }
    EXPECT_EQ(Comset().ReadInteger("bwSet", "bwStyle", 99), 1);
    EXPECT_EQ(Comset().ReadInteger("bwSet", "bwAdd", 99), 7);
    TfrmBwget again(*settings_);
    again.show();
    EXPECT_EQ(again.cmbBWLX->currentIndex(), 1);
    EXPECT_EQ(again.cmbAddress->value(), 7);
    EXPECT_FALSE(again.MessageGenerated());
    again.close();
}

TEST_F(BwgetFormTest, EachShowingStartsWithNothingGenerated) {
    TfrmBwget form(*settings_);
    Generate(form, 0, 1, &TfrmBwget::btnOk);
    ASSERT_TRUE(form.MessageGenerated());
    form.show();
    EXPECT_FALSE(form.MessageGenerated());
    form.SetCaption(QString::fromUtf8("生成第 3 行报文"));
    EXPECT_EQ(form.lblCaption->text(), QString::fromUtf8("生成第 3 行报文"));
    form.close();
}

TEST_F(BwgetFormTest, SettingsThatCannotBeWrittenDoNotHoldTheDialogOpen) {
    testing::MessageRecorder boxes;
    TfrmBwget form(*settings_);
    { std::ofstream(File("plain")) << "x"; }
    qputenv("TC101_CONFIG_DIR", QByteArray::fromStdString((File("plain") / "sub").string()));
    Generate(form, 0, 1, &TfrmBwget::btnOk);
    EXPECT_TRUE(form.MessageGenerated());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, BoxKind::Error);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("comset.ini"))) << boxes.shown[0].text.toStdString();
}

}  // namespace
}  // namespace tc101
