#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Where the four mascot frames "A0.gif" to "A3.gif" come from. The working
// directory comes first: when it holds any of them, they are all read from
// there, so a folder with only some of them fails at the first missing one.
// When it holds none, they come from the program's data folder, so the
// program starts from any folder.
class FrameFiles {
public:
    // The folders searched after the working directory: beside the
    // executable (the build tree), then share/pelora under the install prefix.
    static QStringList programDataFolders();

    FrameFiles(const QString& workingFolder, const QStringList& dataFolders);
    // From the process's working directory and the program's data folders.
    FrameFiles();

    static QString fileName(int index);

    // The folder the frames are read from.
    const QString& folder() const { return folder_; }

    // Reads frame `index` as one still picture, in the drawing a screen of
    // `devicePixelRatio` wants: "A0@2x.gif" beside "A0.gif", where there is
    // one, for ratios above 1 (PictureFile). Throws PeloraError naming the
    // file when it is missing or not a readable picture.
    QImage load(int index, qreal devicePixelRatio) const;

private:
    static bool holdsAny(const QString& folder);

    QString folder_;
    QStringList searched_;
    bool found_ = false;
};
