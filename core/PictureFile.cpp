#include "core/PictureFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

PictureFile::PictureFile(const QString& path, qreal devicePixelRatio) : path_(path) {
    if (devicePixelRatio <= 1)
        return;
    const QFileInfo small(path);
    const QString large =
        small.dir().filePath(small.completeBaseName() + QStringLiteral("@2x.") + small.suffix());
    if (QFileInfo(large).isFile()) {
        path_ = large;
        drawnAt_ = 2;
    }
}

QImage PictureFile::read() {
    QImageReader reader(path_);
    QImage image = reader.read();
    if (image.isNull()) {
        error_ = reader.errorString();
        return image;
    }
    image.setDevicePixelRatio(drawnAt_);
    return image;
}
