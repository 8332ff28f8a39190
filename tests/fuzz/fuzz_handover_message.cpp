// The message a second start sends to the running Pelora, on any bytes in
// any pieces: whatever it accepts holds absolute paths only, and it never
// keeps more than a whole message of at most the cap.
#include "FuzzCheck.h"

#include "outside/HandoverMessage.h"

#include <QDir>

// As many names as a list holds.
constexpr qsizetype listCapacity = 32'767;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte says how the rest arrives: in pieces of that many bytes.
    const qsizetype piece = data[0] + 1;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    HandoverMessage message(listCapacity);
    HandoverMessage::Status status = HandoverMessage::Status::Incomplete;
    qsizetype fed = 0;
    while (fed < bytes.size() && status == HandoverMessage::Status::Incomplete) {
        status = message.add(bytes.mid(fed, piece));
        fed += piece;
    }
    if (status != HandoverMessage::Status::Complete)
        return 0;
    FUZZ_CHECK(fed <=
               HandoverMessage::headerBytes + qsizetype(HandoverMessage::maxBodyBytes) + piece);
    for (const QString& path : message.paths())
        FUZZ_CHECK(!path.isEmpty() && QDir::isAbsolutePath(path));
    // A message it takes is one it could have written itself.
    HandoverMessage again(listCapacity);
    FUZZ_CHECK(again.add(HandoverMessage::encode(message.paths())) ==
               HandoverMessage::Status::Complete);
    FUZZ_CHECK(again.paths() == message.paths());
    return 0;
}
