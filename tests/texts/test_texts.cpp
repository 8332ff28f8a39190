#include "texts/Texts.h"

#include <gtest/gtest.h>

namespace {

QStringList numbered(int count, const QString& pattern) {
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts << pattern.arg(i);
    return texts;
}

// A message names a handful of its files or messages and counts the rest,
// however many there are.
TEST(Texts, AMessageNamesFiveAndCountsEveryOneMore) {
    const QString five = Texts::unopenedFiles(numbered(5, QStringLiteral("/m/%1.mid: なし")));
    EXPECT_TRUE(five.contains(QStringLiteral("/m/5.mid"))) << five.toStdString();
    EXPECT_FALSE(five.contains(QStringLiteral("ほか"))) << five.toStdString();

    const QString six = Texts::unopenedFiles(numbered(6, QStringLiteral("/m/%1.mid: なし")));
    EXPECT_FALSE(six.contains(QStringLiteral("/m/6.mid")));
    EXPECT_TRUE(six.endsWith(QStringLiteral("…ほか 1 件"))) << six.toStdString();

    // Several messages as one: those not kept are counted with those not named.
    const QString gathered = Texts::gathered(numbered(100, QStringLiteral("text %1")), 50);
    EXPECT_TRUE(gathered.startsWith(QStringLiteral("text 1\n\n")));
    EXPECT_TRUE(gathered.endsWith(QStringLiteral("…ほか 145 件"))) << gathered.toStdString();
    EXPECT_EQ(Texts::gathered(numbered(5, QStringLiteral("text %1")), 0),
              numbered(5, QStringLiteral("text %1")).join(QStringLiteral("\n\n")));
}

} // namespace
