#include "PlayerFixture.h"

#include "about/AboutWindow.h"
#include "app/Windows.h"
#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "playlist/SortedListBox.h"

#include <QDir>
#include <QLabel>
#include <cmath>

// The windows as screens of more device pixels to a window's pixel show
// them: these run with the other player tests and again under
// QT_SCALE_FACTOR 1.25, 1.5 and 2 (tests/cmake/scales.cmake).
namespace {

using ScreenScales = PlayerFixture;

QImage shown(QWidget* control) {
    return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage drawing(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// On a screen of one or two device pixels to a window's pixel, every
// picture is shown pixel for pixel from its drawing at that size: nothing
// is blown up from the smaller drawing.
TEST_F(ScreenScales, PicturesAreShownPixelForPixelFromTheirDrawingForTheScreen) {
    clearFrames(); // the data folder's frames, with their larger drawings
    PlayerWindow& window = started();
    const qreal ratio = window.devicePixelRatioF();
    if (ratio != 1 && ratio != 2)
        GTEST_SKIP() << "no drawing is made for a ratio of " << ratio;
    const QString size = ratio == 2 ? QStringLiteral("@2x") : QString();

    for (const char* name : {"load", "pause", "stop", "play"})
        EXPECT_EQ(shown(button(name)),
                  drawing(QStringLiteral(":/buttons/%1%2.jpg").arg(name, size)))
            << name;
    // The stop square's left edge steps from grey to black between two
    // neighbouring device pixels.
    const QImage stop = shown(button("stop"));
    const int edge = static_cast<int>(16 * ratio), row = static_cast<int>(8 * ratio);
    EXPECT_GT(qGray(stop.pixel(edge - 1, row)), 100);
    EXPECT_LT(qGray(stop.pixel(edge, row)), 20);

    const QImage frame = drawing(QDir(dataFolder()).filePath("A0" + size + ".gif"));
    EXPECT_EQ(shown(mascot()).copy(frame.rect()), frame);

    const QImage icon = drawing(ratio == 2 ? ":/icon/desktop/pelora-64.png" : ":/icon/pelora.ico");
    EXPECT_EQ(shown(control<QLabel>(windows().about().load(), "icon")), icon);
}

// Each side of the list's frame, its outermost window pixel, shows inside
// the playlist window: none falls off its edge or under the list's inside.
TEST_F(ScreenScales, TheListShowsEverySideOfItsFrame) {
    started();
    PlaylistWindow& window = windows().playlist().load();
    const qreal ratio = window.devicePixelRatioF();
    const QImage shot = window.grab().toImage();
    const QRect list = control<SortedListBox>(window, "list")->geometry();
    ASSERT_TRUE(window.rect().contains(list));

    // The device pixels of the window pixels [from, from + 1) across and
    // [top, top + 1) down, any of which shows the frame.
    const auto showsFrame = [&](int left, int top) {
        for (int y = static_cast<int>(top * ratio); y < std::ceil((top + 1) * ratio); ++y)
            for (int x = static_cast<int>(left * ratio); x < std::ceil((left + 1) * ratio); ++x)
                if (shot.rect().contains(x, y) && qGray(shot.pixel(x, y)) > 60)
                    return true;
        return false;
    };
    const QPoint middle = list.center();
    EXPECT_TRUE(showsFrame(middle.x(), list.top())) << "top";
    EXPECT_TRUE(showsFrame(middle.x(), list.bottom())) << "bottom";
    EXPECT_TRUE(showsFrame(list.left(), middle.y())) << "left";
    EXPECT_TRUE(showsFrame(list.right(), middle.y())) << "right";
}

} // namespace
