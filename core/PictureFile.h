#pragma once

#include <QImage>
#include <QString>

// A picture drawn at the size a window shows it, "name.ext", and again at
// twice that size beside it, "name@2x.ext", in the resources or on the
// disk. A screen with more than one device pixel to a window's pixel is
// given the larger drawing: at 2 it shows pixel for pixel, at 1.25 or 1.5
// Qt shrinks it smoothly, where blowing the smaller one up would blur it.
// Only the drawing that is shown is read.
class PictureFile {
public:
    PictureFile(const QString& path, qreal devicePixelRatio);

    // The file chosen: the larger drawing when the screen wants it and
    // there is one, otherwise `path` itself.
    const QString& path() const { return path_; }

    // Its picture, with the device pixel ratio that gives it the smaller
    // drawing's size in a window's pixels. Null when it cannot be read;
    // errorString() then says why.
    QImage read();
    const QString& errorString() const { return error_; }

private:
    QString path_;
    qreal drawnAt_ = 1;
    QString error_;
};
