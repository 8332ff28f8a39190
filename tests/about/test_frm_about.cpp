#include "about/frmAbout.h"
#include "app/Forms.h"
#include "support/AppFixture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>
#include <QTimer>

namespace {

class AboutTest : public AppFixture {
protected:
    static frmAbout& about() { return forms::frmAbout().load(); }

    // Opens the window modally, runs `look` while it is open, closes it.
    template <class Look> static void whileOpen(Look look) {
        QTimer::singleShot(0, [look] {
            look(forms::frmAbout().load());
            forms::frmAbout()->close();
        });
        forms::frmAbout().showModal();
    }
};

TEST_F(AboutTest, TheWindowIsAFixedToolWindowWithoutIconAtItsPlace) {
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/pelora.ico")));
    frmAbout& form = about();
    EXPECT_EQ(form.windowTitle(), "バージョン情報");
    EXPECT_EQ(form.windowType(), Qt::Tool);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowIcon().isNull());
    EXPECT_EQ(form.geometry(), QRect(239, 277, 240, 123));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    QApplication::setWindowIcon(QIcon());
}

TEST_F(AboutTest, ShowsItsTextsWhiteOnBlackFromTheirStoredCorners) {
    frmAbout& form = about();
    const std::vector<std::tuple<QLabel*, QString, QPoint>> labels{
        {form.Label1, "Pelora", {80, 16}},
        {form.Label2, "Version 1.00", {88, 40}},
        {form.Label3, "© 2026 Pelora team", {104, 56}},
        {form.Label4, "感想、バグ報告お待ちしています", {32, 80}},
        {form.Label5, "https://pelora.github.io/", {40, 96}}};
    for (const auto& [label, text, corner] : labels) {
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->pos(), corner) << text.toStdString();
        EXPECT_EQ(label->size(), label->sizeHint()) << text.toStdString(); // sized to its text
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_FALSE(label->wordWrap());
        EXPECT_LE(label->geometry().right(), form.width() - 1) << text.toStdString(); // not cut off
    }
    EXPECT_FALSE(form.Label1->autoFillBackground());
    EXPECT_TRUE(form.Label5->autoFillBackground());
    EXPECT_EQ(form.Label5->palette().color(QPalette::Window), QColor(Qt::black));

    EXPECT_EQ(form.Image1->geometry(), QRect(16, 16, 32, 32));
    EXPECT_EQ(form.Image1->pixmap().size(), QSize(32, 32));

    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 120), QColor(Qt::black));
    EXPECT_EQ(form.Line1->geometry(), QRect(16, 72, 208, 1));
    EXPECT_EQ(shot.pixelColor(16, 72), QColor(192, 192, 192));
    EXPECT_EQ(shot.pixelColor(223, 72), QColor(192, 192, 192));
    EXPECT_EQ(shot.pixelColor(224, 72), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(100, 73), QColor(Qt::black));
}

TEST_F(AboutTest, FontsFallBackToAnInstalledJapaneseFace) {
    frmAbout& form = about();
    EXPECT_EQ(form.Label1->font().families().value(0), "ＦＡ ぽぽる");
    EXPECT_EQ(form.Label5->font().families().value(0), "ＪＳ明朝");
    EXPECT_DOUBLE_EQ(form.Label1->font().pointSizeF(), 11.25);
    for (QLabel* label : {form.Label2, form.Label3, form.Label4, form.Label5})
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 9.0);

    const QStringList installed = QFontDatabase::families();
    if (!installed.contains("IPAGothic") || !installed.contains("IPAMincho"))
        GTEST_SKIP() << "the IPA fonts are not installed";
    EXPECT_TRUE(QFontInfo(form.Label4->font()).family().startsWith("IPA"));
    EXPECT_TRUE(QFontInfo(form.Label4->font()).family().contains("Gothic"));
    EXPECT_TRUE(QFontInfo(form.Label5->font()).family().contains("Mincho"));
}

TEST_F(AboutTest, NothingTakesFocusOrInputAndEscOrEnterDoNotCloseIt) {
    bool stillOpen = false;
    bool anyControlTakesInput = false;
    whileOpen([&](frmAbout& form) {
        for (QWidget* control : form.findChildren<QWidget*>())
            anyControlTakesInput |= control->focusPolicy() != Qt::NoFocus ||
                                    !control->testAttribute(Qt::WA_TransparentForMouseEvents);
        QTest::keyClick(&form, Qt::Key_Escape);
        QTest::keyClick(&form, Qt::Key_Return);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {},
                          form.Label5->geometry().center());
        QCoreApplication::processEvents();
        stillOpen = forms::frmAbout().isLoaded() && form.isVisible();
    });
    EXPECT_FALSE(anyControlTakesInput);
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(forms::frmAbout().isLoaded());
}

TEST_F(AboutTest, EveryOpeningLoadsItAfreshAndIdentical) {
    QImage first, second;
    whileOpen([&](frmAbout& form) {
        first = form.grab().toImage();
        form.Label1->setText("changed");
    });
    whileOpen([&](frmAbout& form) {
        second = form.grab().toImage();
        EXPECT_EQ(form.geometry(), QRect(239, 277, 240, 123));
    });
    EXPECT_FALSE(first.isNull());
    EXPECT_EQ(first, second);
}

} // namespace
