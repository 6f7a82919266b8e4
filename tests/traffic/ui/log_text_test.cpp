#include "traffic/ui/log_text.h"

#include <gtest/gtest.h>

namespace tc101 {
namespace {

TEST(LogTextTest, BlankMeansOnlyBlanksAndControlCharacters) {
    struct Case {
        const char16_t* text;
        bool blank;
    };
    const Case cases[] = {
        {u"", true},           {u"   \n\n  ", true}, {u"\t\r\n\x01", true},
        {u" x ", false},       {u"\n\n。", false},   {u"Rx:E5", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsBlankLogText(QString::fromUtf16(c.text)), c.blank) << QString::fromUtf16(c.text).toStdString();
}

TEST(LogTextTest, ProposedNameIsFourteenDigitsOnTheTwentyFourHourClock) {
    const QDateTime moment(QDate(2026, 3, 7), QTime(21, 5, 9));
    EXPECT_EQ(ProposedLogFileName(moment), QStringLiteral("20260307210509"));
}

TEST(LogTextTest, FileBytesEndEveryLineWithCrLfAndKeepTheEmptyLines) {
    EXPECT_EQ(LogFileBytes(QStringLiteral(u"Rx:E5\n单字符\n")), QByteArray("Rx:E5\r\n\xe5\x8d\x95\xe5\xad\x97\xe7\xac\xa6\r\n\r\n"));
    EXPECT_EQ(LogFileBytes(QStringLiteral("a"), QStringLiteral("2026-03-07 21:05:09")),
              QByteArray("a\r\n2026-03-07 21:05:09\r\n"));
}

TEST(LogTextTest, DateLineHoldsTheDateAndTheSeconds) {
    const QString line = SavedLogDateLine(QDateTime(QDate(2026, 3, 7), QTime(21, 5, 9)));
    EXPECT_TRUE(line.contains(QStringLiteral("21:05:09"))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("26"))) << line.toStdString();
}

}  // namespace
}  // namespace tc101
