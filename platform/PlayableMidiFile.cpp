#include "platform/PlayableMidiFile.h"

#include "platform/FileErrorText.h"
#include "platform/MidiFileNormaliser.h"
#include "platform/RiffMidi.h"
#include "platform/WholeFile.h"

#include <QFile>

namespace {

using Result = PlayableMidiFile::Result;

QString notMidi() {
    return QStringLiteral("MIDI ファイルではありません");
}

Result refused(std::string refusal, QString reason) {
    return {{}, std::move(refusal), std::move(reason)};
}

Result checked(MidiFileNormaliser::Result midi) {
    if (midi.ok())
        return {std::move(midi.bytes), {}, {}};
    switch (midi.kind) {
    case MidiFileNormaliser::Refusal::NotMidi:
        return refused(std::move(midi.refusal), notMidi());
    case MidiFileNormaliser::Refusal::TooManyEvents:
        return refused(std::move(midi.refusal),
                       QStringLiteral("音符などのイベントが多すぎます (%1 万個を超えています)")
                           .arg(MidiFileNormaliser::maxEvents / 10000));
    case MidiFileNormaliser::Refusal::Damaged:
        break;
    }
    return refused(std::move(midi.refusal),
                   QStringLiteral("MIDI ファイルが壊れているか、扱えない形式です"));
}

Result playableMidi(RiffMidi::Bytes file) {
    if (!RiffMidi::isRiff(file))
        return checked(MidiFileNormaliser::normalise(file));
    std::string refusal;
    const std::optional<RiffMidi::Bytes> data = RiffMidi::dataChunk(file, refusal);
    if (!data)
        return refused(std::move(refusal), notMidi());
    return checked(MidiFileNormaliser::normalise(*data));
}

} // namespace

PlayableMidiFile::Result PlayableMidiFile::read(const QString& fileName) {
    if (fileName.isEmpty())
        return refused("no file name", QStringLiteral("ファイル名がありません"));
    std::string file;
    try {
        file = WholeFile::read(QFile::encodeName(fileName).toStdString(),
                               static_cast<long long>(maxFileSize));
    } catch (const WholeFileError& error) {
        return refused(error.what(), fileErrorText(error, static_cast<long long>(maxFileSize)));
    }
    if (file.empty())
        return refused("empty file", QStringLiteral("空のファイルです"));
    return playableMidi({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
}
