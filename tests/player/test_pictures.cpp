#include "player/FrameFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 le(const QByteArray& bytes, int at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<quint8>(bytes[at + i]);
    return value;
}

// The window system's standard 16 colours, in their standard order.
const QRgb standardPalette[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

TEST(Pictures, TheIconIsOne32By32ImageOfTheStandard16ColoursWithNoTransparentPixel) {
    const QByteArray ico = contents(":/icon/pelora.ico");
    ASSERT_GE(ico.size(), 22 + 40 + 64 + 512 + 128);
    EXPECT_EQ(le(ico, 2, 2), 1u);               // an icon
    EXPECT_EQ(le(ico, 4, 2), 1u);               // one image
    EXPECT_EQ(static_cast<quint8>(ico[6]), 32); // width
    EXPECT_EQ(static_cast<quint8>(ico[7]), 32); // height
    EXPECT_EQ(le(ico, 12, 2), 4u);              // bits per pixel
    const int bitmap = static_cast<int>(le(ico, 18, 4));
    EXPECT_EQ(le(ico, bitmap + 14, 2), 4u);
    for (int i = 0; i < 16; ++i) {
        const int at = bitmap + 40 + i * 4;
        EXPECT_EQ(qRgb(static_cast<quint8>(ico[at + 2]), static_cast<quint8>(ico[at + 1]),
                       static_cast<quint8>(ico[at])),
                  standardPalette[i])
            << i;
    }
    const QByteArray mask = ico.mid(bitmap + 40 + 64 + 512, 128);
    EXPECT_EQ(mask, QByteArray(128, '\0'));

    const QImage image(":/icon/pelora.ico");
    ASSERT_EQ(image.size(), QSize(32, 32));
    bool red = false;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            EXPECT_EQ(qAlpha(image.pixel(x, y)), 255);
            red = red || image.pixel(x, y) == qRgb(255, 0, 0);
        }
    }
    EXPECT_TRUE(red);
}

// Baseline JPEG: the frame header is SOF0, with three 8-bit components.
TEST(Pictures, ButtonPicturesAreBaselineJpegsInFullColour) {
    for (const char* name : {"load", "pause", "stop", "play"}) {
        for (const char* suffix : {"", "_down"}) {
            const QString path = QStringLiteral(":/buttons/%1%2.jpg").arg(name, suffix);
            const QByteArray jpeg = contents(path);
            const int sof0 = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
            ASSERT_GT(sof0, 0) << path.toStdString();
            EXPECT_EQ(jpeg.indexOf(QByteArray("\xFF\xC2", 2)), -1) << path.toStdString();
            EXPECT_EQ(static_cast<quint8>(jpeg[sof0 + 4]), 8) << path.toStdString();
            EXPECT_EQ(static_cast<quint8>(jpeg[sof0 + 9]), 3) << path.toStdString();
        }
    }
}

// The three small faces continue one another into the play button's gradient.
TEST(Pictures, TheSmallFacesFormThePlayButtonsGradientAcrossTheirRow) {
    const QImage play(":/buttons/play.jpg");
    const struct {
        const char* name;
        int left;
    } row[] = {{"load", 0}, {"pause", 40}, {"stop", 96}};
    for (const auto& [name, left] : row) {
        const QImage face(QStringLiteral(":/buttons/%1.jpg").arg(name));
        for (int x : {0, face.width() - 1}) {
            EXPECT_NEAR(qGray(face.pixel(x, 1)), qGray(play.pixel(left + x, 1)), 4) << name << x;
        }
    }
    EXPECT_NEAR(qGray(play.pixel(0, 1)), 100, 4);
    EXPECT_NEAR(qGray(play.pixel(136, 1)), 100, 4);
    EXPECT_NEAR(qGray(play.pixel(68, 1)), 255, 4);
}

TEST(Pictures, FramesAre121By137StillPictures) {
    for (int i = 0; i < 4; ++i) {
        QImageReader reader(QCoreApplication::applicationDirPath() + "/" + FrameFiles::fileName(i));
        EXPECT_EQ(reader.format(), "gif");
        EXPECT_EQ(reader.size(), QSize(121, 137)) << i;
        EXPECT_LE(reader.imageCount(), 1) << i;
    }
}

} // namespace
