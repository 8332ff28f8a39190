#include "about/AboutWindow.h"
#include "app/Windows.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "support/AppFixture.h"
#include "support/QtTestHelpers.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

namespace {

class AboutTest : public AppFixture {
protected:
    static AboutWindow& about() { return windows().about().load(); }

    // The window's lines of text, top to bottom.
    static QList<QLabel*> textLines(AboutWindow& window) {
        QList<QLabel*> lines;
        for (QLabel* label : window.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                lines << label;
        std::sort(lines.begin(), lines.end(), [](QLabel* a, QLabel* b) { return a->y() < b->y(); });
        return lines;
    }

    static QLabel* lineShowing(AboutWindow& window, const QString& text) {
        for (QLabel* line : textLines(window))
            if (line->text() == text)
                return line;
        throw std::runtime_error("no line shows " + text.toStdString());
    }

    // Opens the window modally, runs `look` while it is open, closes it
    // unless `look` did.
    template <class Look> static void whileOpen(Look look) {
        QTimer::singleShot(0, [look] {
            look(windows().about().load());
            if (windows().about().isLoaded())
                windows().about()->close();
        });
        windows().about().showModal();
    }
};

TEST_F(AboutTest, ShowsNoIconInItsTitleBarEvenWhenTheProgramHasOne) {
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon/pelora.ico")));
    EXPECT_TRUE(about().windowIcon().isNull());
    QApplication::setWindowIcon(QIcon());
}

TEST_F(AboutTest, ShowsItsLinesWhiteOnBlackUnderTheIcon) {
    AboutWindow& window = about();
    QStringList texts;
    for (QLabel* line : textLines(window))
        texts << line->text();
    EXPECT_EQ(texts, QStringList({"Pelora", "Version 1.00", "© 2026 Pelora team",
                                  "感想、バグ報告お待ちしています", "https://pelora.github.io/"}));

    const QImage shot = window.grab().toImage();
    for (QLabel* line : textLines(window)) {
        const std::string text = line->text().toStdString();
        EXPECT_TRUE(holdsWhite(shot, line->geometry())) << text;
    }
    EXPECT_EQ(shot.pixelColor(2, window.height() - 2), QColor(Qt::black));

    const QLabel* icon = control<QLabel>(window, "icon");
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
    EXPECT_TRUE(window.rect().contains(icon->geometry()));
    EXPECT_LT(icon->geometry().bottom(),
              lineShowing(window, "感想、バグ報告お待ちしています")->y());
}

// Every caption of the three windows shows whole, and the windows look the
// same, whatever font the desktop gives the program (at the offscreen
// screen's 96 dots per inch): a platform theme sets it, for the whole
// program and for kinds of control, before any window is built.
TEST_F(AboutTest, EveryCaptionOfTheThreeWindowsShowsWholeWithAnyDesktopFont) {
    struct DesktopFontBack {
        QFont font = QApplication::font();
        ~DesktopFontBack() { QApplication::setFont(font); }
    } fontBack;
    const QFont desktopFonts[] = {QFont("Sans", 10), QFont("Sans", 12),
                                  QFont("IPAGothic", 14, QFont::Bold, true)};
    QList<QImage> firstLook;
    for (const QFont& desktop : desktopFonts) {
        QApplication::setFont(desktop);
        for (const char* kind : {"QPushButton", "QCheckBox", "QAbstractItemView", "QLabel"})
            QApplication::setFont(desktop, kind);
        rebuild();
        windows().start();
        windows().playlist()->addFiles({QStringLiteral("/音楽/曲.mid")});
        about().show();
        const QList<QWidget*> three{&windows().player().load(), &windows().playlist().load(),
                                    &about()};
        for (qsizetype i = 0; i < three.size(); ++i) {
            const std::string where =
                three[i]->windowTitle().toStdString() + ", " + desktop.toString().toStdString();
            const QImage look = three[i]->grab().toImage();
            ASSERT_FALSE(look.isNull());
            EXPECT_EQ(clippedCaptions(*three[i]), QStringList()) << where;
            if (firstLook.size() < three.size())
                firstLook << look;
            else
                EXPECT_TRUE(look == firstLook[i]) << where;
        }
    }
}

TEST_F(AboutTest, AGreyLineSeparatesTheNameFromTheInvitation) {
    AboutWindow& window = about();
    const QRect line = control(window, "separator")->geometry();
    EXPECT_EQ(line.height(), 1);
    EXPECT_GT(line.top(), lineShowing(window, "© 2026 Pelora team")->geometry().bottom());
    EXPECT_LT(line.bottom(), lineShowing(window, "感想、バグ報告お待ちしています")->y());

    const QImage shot = window.grab().toImage();
    const QColor grey(192, 192, 192);
    EXPECT_EQ(shot.pixelColor(line.left(), line.top()), grey);
    EXPECT_EQ(shot.pixelColor(line.right(), line.top()), grey);
    EXPECT_EQ(shot.pixelColor(line.right() + 1, line.top()), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(line.center().x(), line.top() + 1), QColor(Qt::black));
}

TEST_F(AboutTest, TheNameStandsLargestAndEveryLineFindsAnInstalledJapaneseFace) {
    AboutWindow& window = about();
    const QList<QLabel*> lines = textLines(window);
    ASSERT_FALSE(lines.isEmpty());
    for (QLabel* line : lines.mid(1))
        EXPECT_GT(lines[0]->font().pointSizeF(), line->font().pointSizeF())
            << line->text().toStdString();

    const QStringList installed = QFontDatabase::families();
    if (!installed.contains("IPAGothic") || !installed.contains("IPAMincho"))
        GTEST_SKIP() << "the IPA fonts are not installed";
    const QFontInfo invitation(lineShowing(window, "感想、バグ報告お待ちしています")->font());
    EXPECT_TRUE(invitation.family().startsWith("IPA"));
    EXPECT_TRUE(invitation.family().contains("Gothic"));
    EXPECT_TRUE(QFontInfo(lineShowing(window, "https://pelora.github.io/")->font())
                    .family()
                    .contains("Mincho"));
}

TEST_F(AboutTest, NothingTakesFocusOrInputAndOnlyEscapeClosesIt) {
    bool openAfterEnterAndClick = false;
    bool anyControlTakesInput = false;
    whileOpen([&](AboutWindow& window) {
        for (QWidget* control : window.findChildren<QWidget*>())
            anyControlTakesInput |= control->focusPolicy() != Qt::NoFocus ||
                                    !control->testAttribute(Qt::WA_TransparentForMouseEvents);
        QTest::keyClick(&window, Qt::Key_Return);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          lineShowing(window, "https://pelora.github.io/")->geometry().center());
        QCoreApplication::processEvents();
        openAfterEnterAndClick = windows().about().isLoaded() && window.isVisible();
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
        EXPECT_FALSE(windows().about().isLoaded());
    });
    EXPECT_FALSE(anyControlTakesInput);
    EXPECT_TRUE(openAfterEnterAndClick);
    EXPECT_FALSE(windows().about().isLoaded());
}

TEST_F(AboutTest, EveryOpeningLoadsItAfreshAndIdentical) {
    QImage first, second;
    QRect firstPlace, secondPlace;
    whileOpen([&](AboutWindow& window) {
        first = window.grab().toImage();
        firstPlace = window.geometry();
        lineShowing(window, "Pelora")->setText("changed");
        window.move(window.pos() + QPoint(40, 40));
    });
    whileOpen([&](AboutWindow& window) {
        second = window.grab().toImage();
        secondPlace = window.geometry();
    });
    EXPECT_FALSE(first.isNull());
    EXPECT_EQ(first, second);
    EXPECT_EQ(firstPlace, secondPlace);
}

} // namespace
