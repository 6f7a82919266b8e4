// The port settings dialog: what it loads, what OK writes and in which
// order, the conversion errors, Back, the frame delay field and the layout.

#include <fstream>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "support/config_dir.h"
#include "files/file_io.h"
#include "files/ini_file.h"
#include "support/message_hook.h"
#include "protocol/hex_text.h"
#include "serial/port_names.h"
#include "serial/port_settings.h"
#include "serial/ui/com_set_form.h"
#include "serial/ui/integer_text.h"

namespace tc101 {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

class ComSetFormTest : public testing::ConfigDirTest {
protected:
    IniFile Comset() const { return IniFile(File("comset.ini")); }
    std::string Key(std::string_view key) const { return Comset().ReadString(kComSetSection, key, "<none>"); }
    std::string FileBytes() const { return ReadFileIfExists(File("comset.ini")).value_or("<none>"); }
    // What the user sees in the six fields and the box.
    static std::vector<QString> Fields(const TfrmComSet& form) {
        return {form.Com_Port->currentText(),     form.Com_baudrate->currentText(),
                form.com_ByteSize->currentText(), form.Com_Parity->currentText(),
                form.Com_StopBits->currentText(), QString::number(form.txtInteval->value()),
                form.chkOpen->isChecked() ? Q("auto") : Q("manual")};
    }

    // A click, then the queued command it starts.
    static void Click(QToolButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }

    testing::MessageRecorder messages;
};

TEST_F(ComSetFormTest, FirstShowWithoutComsetIniShowsTheDefaults) {
    TfrmComSet form;
    form.show();
    EXPECT_EQ(Fields(form), (std::vector<QString>{Q("COM1"), Q("9600"), Q("8"), Q("无"), Q("1"), Q("100"), Q("manual")}));
    EXPECT_EQ(form.windowTitle(), Q("通讯参数设置"));
    EXPECT_FALSE(std::filesystem::exists(File("comset.ini")));
}

TEST_F(ComSetFormTest, ShowingLoadsTheStoredKeys) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string_view, std::string>> keys;
        std::vector<QString> fields;
    };
    const Case cases[] = {
        {"every key",
         {{kKeyPort, "/dev/ttyUSB7"}, {kKeyBaudRate, "19200"}, {kKeyByteSize, "7"}, {kKeyParity, "2"},
          {kKeyStopBits, "2"}, {kKeyAutoOpen, "1"}, {kKeyRecieveDelay, "-1"}},
         {Q("/dev/ttyUSB7"), Q("19200"), Q("7"), Q("偶"), Q("2"), Q("-1"), Q("auto")}},
        // The odd entry keeps its blank.
        {"odd parity, baud not in the list", {{kKeyBaudRate, "1200"}, {kKeyParity, "1"}, {kKeyStopBits, "1"}},
         {Q("COM1"), Q("1200"), Q("8"), Q("奇 "), Q("1.5"), Q("100"), Q("manual")}},
        // Numbers outside the fixed lists leave them with no selection.
        {"outside the lists", {{kKeyByteSize, "9"}, {kKeyParity, "3"}, {kKeyStopBits, "-1"}, {kKeyBaudRate, "abc"}},
         {Q("COM1"), Q("abc"), Q(""), Q(""), Q(""), Q("100"), Q("manual")}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(File("comset.ini"));
        IniFile comset = Comset();
        for (const auto& [key, value] : c.keys) comset.WriteString(kComSetSection, key, value);
        TfrmComSet form;
        form.show();
        EXPECT_EQ(Fields(form), c.fields) << c.what;
    }
}

TEST_F(ComSetFormTest, OkWritesEveryKeyThenConfirmsAndCloses) {
    TfrmComSet form;
    form.show();
    form.Com_Port->setCurrentText(Q("/dev/ttyUSB0"));
    form.Com_baudrate->setCurrentText(Q("4800"));
    form.com_ByteSize->setCurrentIndex(2);  // 7
    form.Com_Parity->setCurrentIndex(2);    // 偶
    form.Com_StopBits->setCurrentIndex(2);  // 2
    form.chkOpen->setChecked(true);
    form.txtInteval->setValue(1);
    Click(form.BtnSend);

    EXPECT_EQ(Key(kKeyPort), "/dev/ttyUSB0");
    EXPECT_EQ(Key(kKeyBaudRate), "4800");
    EXPECT_EQ(Key(kKeyByteSize), "7");
    EXPECT_EQ(Key(kKeyParity), "2");
    EXPECT_EQ(Key(kKeyStopBits), "2");
    EXPECT_EQ(Key(kKeyAutoOpen), "1");
    EXPECT_EQ(Key(kKeyRecieveDelay), "1");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, BoxKind::Information);
    EXPECT_EQ(messages.shown[0].text, Q("端口设置成功！"));
    EXPECT_EQ(messages.shown[0].caption, Q("系统提示！"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    // What OK stored is what opening the port reads.
    const PortSettings stored = ReadPortSettings(Comset());
    EXPECT_EQ(stored, (PortSettings{"/dev/ttyUSB0", 4800, 7, 2, 2, 1}));
}

// Frame-complete delivery: shown as stored, written by OK only once it is or was set.
TEST_F(ComSetFormTest, FrameCompleteKeyIsWrittenOnlyOnceSet) {
    struct Case {
        const char* stored;  // nullptr: no key
        bool tick;
        const char* written;
    };
    for (const Case& c : {Case{nullptr, false, "<none>"}, Case{nullptr, true, "1"}, Case{"1", false, "0"},
                          Case{"0", false, "0"}}) {
        std::filesystem::remove(File("comset.ini"));
        if (c.stored) Comset().WriteString(kComSetSection, kKeyFrameComplete, c.stored);
        TfrmComSet form;
        form.show();
        EXPECT_EQ(form.chkFrameComplete->isChecked(), c.stored && std::string(c.stored) == "1");
        form.chkFrameComplete->setChecked(c.tick);
        Click(form.BtnSend);
        EXPECT_EQ(Key(kKeyFrameComplete), c.written) << (c.stored ? c.stored : "none") << " " << c.tick;
        EXPECT_EQ(ReadPortSettings(Comset()).frameComplete, c.tick);
    }
}

TEST_F(ComSetFormTest, ASecondClickBeforeTheFirstIsHandledConfirmsOnce) {
    TfrmComSet form;
    form.show();
    QTest::mouseClick(form.BtnSend, Qt::LeftButton);
    QTest::mouseClick(form.BtnSend, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(ComSetFormTest, ListsWithoutSelectionStoreMinusOne) {
    IniFile comset = Comset();
    comset.WriteString(kComSetSection, kKeyParity, "7");
    comset.WriteString(kComSetSection, kKeyStopBits, "9");
    TfrmComSet form;
    form.show();
    Click(form.BtnSend);
    EXPECT_EQ(Key(kKeyParity), "-1");
    EXPECT_EQ(Key(kKeyStopBits), "-1");
}

// A text that is not an integer stops OK at its key: the keys before it are
// written, the rest are not, the error box shows the message with its full
// stop and the dialog stays open.
TEST_F(ComSetFormTest, NonIntegerTextStopsOkAtItsKey) {
    struct Case {
        const char* baud;
        int dataBitsEntry;
        const char* message;
        const char* storedBaud;
    };
    const Case cases[] = {
        {"96OO", 3, "'96OO' is not a valid integer value.", "<none>"},
        {"", 3, "'' is not a valid integer value.", "<none>"},
        {"99999999999", 3, "'99999999999' is not a valid integer value.", "<none>"},
        {"9600", -1, "'' is not a valid integer value.", "9600"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(File("comset.ini"));
        messages.shown.clear();
        TfrmComSet form;
        form.show();
        form.Com_Port->setCurrentText(Q("COM3"));
        form.Com_baudrate->setCurrentText(Q(c.baud));
        form.com_ByteSize->setCurrentIndex(c.dataBitsEntry);
        Click(form.BtnSend);  // the application object catches it

        EXPECT_EQ(Key(kKeyPort), "COM3") << c.baud;
        EXPECT_EQ(Key(kKeyBaudRate), c.storedBaud) << c.baud;
        EXPECT_EQ(Key(kKeyByteSize), "<none>") << c.baud;
        EXPECT_EQ(Key(kKeyRecieveDelay), "<none>") << c.baud;
        ASSERT_EQ(messages.shown.size(), 1u) << c.baud;
        EXPECT_EQ(messages.shown[0].kind, BoxKind::Error);
        EXPECT_EQ(messages.shown[0].text, Q(c.message));
        EXPECT_TRUE(form.isVisible()) << c.baud;
    }
}

TEST_F(ComSetFormTest, BackWritesNothing) {
    IniFile comset = Comset();
    comset.WriteString(kComSetSection, kKeyPort, "COM2");
    const std::string before = FileBytes();
    TfrmComSet form;
    form.show();
    form.Com_Port->setCurrentText(Q("COM9"));
    form.Com_Parity->setCurrentIndex(1);
    form.chkOpen->setChecked(true);
    Click(form.BtnSel);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(messages.shown.empty());
}

// Text that is not a number reads as 0. A delay of 0 or below -1 would make
// the port deliver only full 2048-octet blocks: OK refuses it, says why and
// writes nothing.
TEST_F(ComSetFormTest, FrameDelayFieldTakesNumbersAndRefusesDelaysThatMakeThePortLookDead) {
    struct Case {
        const char* typed;
        const char* stored;  // nothing: refused
    };
    const Case cases[] = {
        {"250", "250"},   {"-1", "-1"},   {"+30", "30"},    {"1", "1"},
        {"1a2b0", "120"},  // letters are not taken
        {"0", nullptr},   {"-2", nullptr}, {"-100", nullptr}, {"1.5", nullptr}, {"", nullptr}, {"-", nullptr},
    };
    for (const Case& c : cases) {
        const std::string before = FileBytes();
        messages.shown.clear();
        TfrmComSet form;
        form.show();
        QLineEdit* edit = form.txtInteval->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, Q(c.typed));
        Click(form.BtnSend);
        if (c.stored) {
            EXPECT_EQ(Key(kKeyRecieveDelay), c.stored) << c.typed;
            EXPECT_FALSE(form.isVisible()) << c.typed;
            continue;
        }
        EXPECT_EQ(FileBytes(), before) << c.typed;
        EXPECT_TRUE(form.isVisible()) << c.typed;
        ASSERT_EQ(messages.shown.size(), 1u) << c.typed;
        EXPECT_EQ(messages.shown[0].text, QString::fromUtf8(kFrameDelayRule));
    }
}

TEST_F(ComSetFormTest, FrameDelayStepsByTenWithoutBounds) {
    TfrmComSet form;
    form.show();
    form.txtInteval->setValue(0);
    form.txtInteval->stepDown();
    EXPECT_EQ(form.txtInteval->value(), -10);
    form.txtInteval->setValue(100000);
    form.txtInteval->stepUp();
    EXPECT_EQ(form.txtInteval->value(), 100010);
}

TEST_F(ComSetFormTest, PortListIsTheSystemsAndATypedNameStays) {
    TfrmComSet form;
    QStringList expected;
    for (const std::string& port : ListSerialPorts()) expected << QString::fromStdString(port);
    QStringList entries;
    for (int i = 0; i < form.Com_Port->count(); ++i) entries << form.Com_Port->itemText(i);
    EXPECT_EQ(entries, expected);
    form.Com_Port->setCurrentText(Q("ttyNothing"));
    form.ListSerialPorts();
    EXPECT_EQ(form.Com_Port->currentText(), Q("ttyNothing"));
}

TEST_F(ComSetFormTest, BaudListRunsFrom300To115200) {
    TfrmComSet form;
    QStringList entries;
    for (int i = 0; i < form.Com_baudrate->count(); ++i) entries << form.Com_baudrate->itemText(i);
    EXPECT_EQ(entries, (QStringList{Q("300"), Q("600"), Q("1200"), Q("2400"), Q("4800"), Q("9600"), Q("19200"),
                                    Q("38400"), Q("57600"), Q("115200")}));
}

// A name that stands for no device is drawn red with the path it tried; a
// present device, a device server and an empty field are not.
TEST_F(ComSetFormTest, APortThatDoesNotExistIsMarked) {
    { std::ofstream(File("ttyFake")) << ""; }
    const std::string present = File("ttyFake").string();
    struct Case {
        std::string name;
        QString tip;
    };
    const Case cases[] = {
        {"/dev/tc101-no-such-port", Q("端口不存在: /dev/tc101-no-such-port")},
        {"tc101-no-such-port", Q("端口不存在: /dev/tc101-no-such-port")},
        {present, QString()},
        {"tcp:127.0.0.1:1", QString()},
        {"", QString()},
    };
    TfrmComSet form;
    form.show();
    for (const Case& c : cases) {
        form.Com_Port->setCurrentText(QString::fromStdString(c.name));
        EXPECT_EQ(form.Com_Port->toolTip(), c.tip) << c.name;
        const QColor text = form.Com_Port->lineEdit()->palette().color(QPalette::Text);
        EXPECT_EQ(text == QColor(Qt::red), !c.tip.isEmpty()) << c.name;
    }
}

TEST_F(ComSetFormTest, FixedSizeButtonBarAndCentredGroup) {
    TfrmComSet form;
    form.show();
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_GE(form.width(), 332);
    EXPECT_GE(form.height(), 259);
    EXPECT_EQ(form.Panel3->geometry(), QRect(0, 0, form.width(), 64));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form.BtnSend->text(), Q("确定(&O)"));
    EXPECT_EQ(form.BtnSel->text(), Q("返回(&B)"));
    EXPECT_EQ(form.chkOpen->text(), Q("启动时自动打开端口(&A)"));
    // Centred, halves truncated; below the bar.
    const QRect group = form.Panel1->geometry();
    EXPECT_EQ(group.left(), (form.width() - group.width()) / 2);
    EXPECT_EQ(group.top(), 64 + (form.height() - 64 - group.height()) / 2);
    // The group follows a change of size; it never rises over the bar.
    form.setFixedSize(500, 200);
    EXPECT_EQ(form.Panel1->geometry().left(), (500 - group.width()) / 2);
    EXPECT_EQ(form.Panel1->geometry().top(), 64);
}

TEST(StrToInt, DecimalOrHexWithBlanksInt32Only) {
    EXPECT_EQ(StrToInt(Q(" 9600 ")), 9600);
    EXPECT_EQ(StrToInt(Q("-1")), -1);
    EXPECT_EQ(StrToInt(Q("0x2580")), 9600);
    EXPECT_EQ(StrToInt(Q("2147483647")), 2147483647);
    for (const char* bad : {"2147483648", "9 600", "96.0", "", "八"}) {
        try {
            StrToInt(Q(bad));
            ADD_FAILURE() << bad;
        } catch (const ConvertError& error) {
            EXPECT_EQ(error.what(), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

}  // namespace
}  // namespace tc101
