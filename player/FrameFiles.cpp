#include "player/FrameFiles.h"
#include "texts/Texts.h"

#include "core/Errors.h"
#include "core/PictureFile.h"
#include "player/FrameCounter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList FrameFiles::programDataFolders() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/../share/pelora"))};
}

FrameFiles::FrameFiles(const QString& workingFolder, const QStringList& dataFolders)
    : folder_(workingFolder), searched_(QStringList{workingFolder} + dataFolders) {
    for (const QString& candidate : searched_) {
        if (holdsAny(candidate)) {
            folder_ = candidate;
            found_ = true;
            return;
        }
    }
}

FrameFiles::FrameFiles() : FrameFiles(QDir::currentPath(), programDataFolders()) {}

QString FrameFiles::fileName(int index) {
    return QStringLiteral("A%1.gif").arg(index);
}

bool FrameFiles::holdsAny(const QString& folder) {
    const QDir dir(folder);
    for (int i = 0; i < FrameCounter::frameCount; ++i) {
        if (QFileInfo::exists(dir.filePath(fileName(i))))
            return true;
    }
    return false;
}

QImage FrameFiles::load(int index, qreal devicePixelRatio) const {
    const QString path = QDir::toNativeSeparators(QDir(folder_).filePath(fileName(index)));
    if (!found_) {
        QStringList places;
        for (const QString& folder : searched_)
            places << QDir::toNativeSeparators(folder);
        throw PeloraError(
            Texts::framePictureMissing(fileName(index), places.join(QStringLiteral(", "))));
    }
    if (!QFileInfo(path).isFile())
        throw PeloraError(Texts::framePictureMissing(path));
    PictureFile file(path, devicePixelRatio);
    QImage image = file.read();
    if (image.isNull())
        throw PeloraError(Texts::framePictureUnreadable(file.path(), file.errorString()));
    return image;
}
