#include "core/UserMessages.h"

#include <gtest/gtest.h>

namespace {

// Messages come one at a time: one that arrives while another is on screen
// (from the event loop the message box runs) waits for it to close, and
// what arrives while a gathering lives is said together, counted past what
// is kept.
TEST(UserMessages, OneAtATimeAndEveryWaitingOneCounted) {
    QStringList shown;
    int onScreen = 0;
    UserMessages* self = nullptr;
    UserMessages messages(
        [&](const QString& text) {
            EXPECT_EQ(++onScreen, 1) << "a message over another";
            shown << text;
            if (text == QStringLiteral("first")) {
                self->show(QStringLiteral("while the first is shown"));
                self->show(QStringLiteral("and another"));
            }
            --onScreen;
        },
        [](const QStringList& texts, qsizetype more) {
            return texts.join(QLatin1Char('+')) + QStringLiteral(" and %1 more").arg(more);
        });
    self = &messages;

    messages.show(QStringLiteral("first"));
    EXPECT_EQ(shown, QStringList({"first", "while the first is shown+and another and 0 more"}));

    shown.clear();
    {
        const UserMessages::Gathering together(messages);
        for (int i = 0; i < UserMessages::keptTexts + 42; ++i)
            messages.show(QStringLiteral("m"));
        EXPECT_TRUE(shown.isEmpty());
    }
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral(" and 42 more"))) << shown[0].toStdString();
    EXPECT_EQ(shown[0].count(QLatin1Char('m')), UserMessages::keptTexts + 1); // and "more"
}

} // namespace
