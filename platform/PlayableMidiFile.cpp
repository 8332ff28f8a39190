#include "platform/PlayableMidiFile.h"

#include "platform/RiffMidi.h"
#include "platform/WholeFile.h"

#include <QFile>

namespace {

MidiFileNormaliser::Result playableMidi(RiffMidi::Bytes file) {
    if (!RiffMidi::isRiff(file))
        return MidiFileNormaliser::normalise(file);
    std::string refusal;
    const std::optional<RiffMidi::Bytes> data = RiffMidi::dataChunk(file, refusal);
    if (!data)
        return {{}, refusal};
    return MidiFileNormaliser::normalise(*data);
}

} // namespace

MidiFileNormaliser::Result PlayableMidiFile::read(const QString& fileName) {
    if (fileName.isEmpty())
        return {{}, "no file name"};
    std::string file;
    try {
        file = WholeFile::read(QFile::encodeName(fileName).toStdString(),
                               static_cast<long long>(maxFileSize));
    } catch (const WholeFileError& error) {
        return {{}, error.what()};
    }
    if (file.empty())
        return {{}, "empty file"};
    return playableMidi({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
}
