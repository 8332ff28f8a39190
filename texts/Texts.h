#pragma once

#include "sound/SoundProblem.h"
#include "system/IncomingFiles.h"
#include "system/WholeFile.h"

#include <QString>
#include <QStringList>

#include <string>

// Every word the user reads that is not a caption of a window's design, in
// Japanese: messages, the reasons in them, and what screen readers and
// tooltips say of a control. The layers below the windows say what went
// wrong as a type; it is worded here, each reason once.
namespace Texts {

// A failure that ends the program.
QString fatalFailure(const QString& detail);

// Why a file could not be read or written. `sizeLimit`: the bytes the
// reader takes at most.
QString fileError(const WholeFileError& error, long long sizeLimit);

// The music the user asked for cannot sound.
QString soundProblem(const SoundProblem& problem);

// Files handed in from outside that could not be opened, "name: reason"
// each, after a heading; a handful of them, and how many more.
QString unopenedFiles(const QStringList& nameAndReasons);
QString nameAndReason(const QString& name, const QString& reason);
// The same for the files a drop or a handover holds that cannot be opened.
QString unopenedFiles(const std::vector<IncomingFiles::Unreadable>& files);
// More files handed in at once than the list can hold.
QString tooManyFiles(qsizetype count, int maxEntries);
// Several messages said as one: `texts`, and `more` not kept.
QString gathered(const QStringList& texts, qsizetype more);

// The list and its list files.
QString listFull(int maxEntries);
QString listNotSaved();
QString listNotLoaded();
QString listFileNotSaved(const QString& path, const QString& reason);
QString listFileNotLoaded(const QString& path, const QString& reason);
QString entryNotRepresentable(const QString& entry, const std::string& charset);
QString charsetUnknown(const std::string& charset);
QString entryWithQuote(const QString& entry);
// `path`'s bytes from `offset` on are not valid in `charset`, nor, where
// `triedWindows`, in Windows' Japanese code page: how to convert the file.
QString bytesInvalid(const std::string& charset, std::size_t offset, const QString& path,
                     bool triedWindows);
QString tooManyEntries(int maxEntries);

// The pictures the windows are built with.
QString buttonPictureUnreadable(const QString& path);
QString framePictureMissing(const QString& path);
QString framePictureMissing(const QString& path, const QString& searched);
QString framePictureUnreadable(const QString& path, const QString& why);

// The file types the open and save dialogs offer, as FileDialog takes them.
QString midiFileFilter();
QString listFileFilter();

// What a screen reader says for a control, and its tooltip.
struct ControlText {
    QString name;
    QString tip;
};
enum class Control {
    Mascot,
    LoadButton,
    PauseButton,
    StopButton,
    PlayButton,
    SpeedBar,
    List,
    ProgramIcon, // the picture in the About window
};
ControlText control(Control which);

// Why a file handed in from outside could not be opened: as fileError()
// words it, and for a name not in the system's character set (EILSEQ),
// how to put that right.
QString unopenedFileReason(const WholeFileError& error);

} // namespace Texts
