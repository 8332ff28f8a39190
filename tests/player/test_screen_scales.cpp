#include "PlayerFixture.h"

#include "player/ImageView.h"
#include "player/PictureButton.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"

#include <QDir>
#include <cmath>

namespace {

using ScreenScales = PlayerFixture;

// On a screen of 1, 1.25, 1.5 or 2 device pixels to a window's pixel (run
// again under QT_SCALE_FACTOR by tests/cmake/scales.cmake): the outermost
// window pixel of each side of the list's frame shows in some device pixel
// inside the window, and at 1 and 2 every picture shows pixel for pixel
// from its drawing at that size, never blown up from the smaller one.
TEST_F(ScreenScales, EveryBorderShowsAndEveryPictureShowsItsDrawingForTheScreen) {
    clearFrames(); // the data folder's frames, with their larger drawings
    const qreal ratio = started().devicePixelRatioF();
    PlaylistWindow& playlist = windows().playlist().load();
    const QImage shot = playlist.grab().toImage();
    const QRect list = control(playlist, "list")->geometry();
    const int midX = list.center().x(), midY = list.center().y();
    for (const QPoint side : {QPoint(midX, list.top()), QPoint(midX, list.bottom()),
                              QPoint(list.left(), midY), QPoint(list.right(), midY)}) {
        bool grey = false;
        for (int y = int(side.y() * ratio); y < std::ceil((side.y() + 1) * ratio); ++y)
            for (int x = int(side.x() * ratio); x < std::ceil((side.x() + 1) * ratio); ++x)
                grey = grey || (shot.rect().contains(x, y) && qGray(shot.pixel(x, y)) > 60);
        EXPECT_TRUE(grey) << side.x() << "," << side.y();
    }

    if (ratio != 1 && ratio != 2)
        return; // Qt shrinks the larger drawings to the screen
    const QString size = ratio == 2 ? "@2x" : "";
    const auto shows = [](QWidget* control, const QString& drawing) {
        const QImage expected = QImage(drawing).convertToFormat(QImage::Format_RGB32);
        const QImage grab = control->grab().toImage().convertToFormat(expected.format());
        return grab.copy(expected.rect()) == expected;
    };
    for (const char* name : {"load", "pause", "stop", "play"})
        EXPECT_TRUE(shows(button(name), QString(":/buttons/%1%2.jpg").arg(name, size))) << name;
    EXPECT_TRUE(shows(mascot(), QDir(dataFolder()).filePath("A0" + size + ".gif")));
    EXPECT_TRUE(shows(control(windows().about().load(), "icon"),
                      ratio == 2 ? ":/icon/desktop/pelora-64.png" : ":/icon/pelora.ico"));
}

} // namespace
