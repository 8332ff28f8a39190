#include "outside/HandoverMessage.h"
#include "playlist/SortedList.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

constexpr qsizetype listCapacity = SortedList::MaxEntries;

// A message fed to the running Pelora in pieces of `piece` bytes.
HandoverMessage::Status receive(HandoverMessage& message, const QByteArray& bytes,
                                qsizetype piece) {
    HandoverMessage::Status status = HandoverMessage::Status::Incomplete;
    for (qsizetype at = 0; at < bytes.size() && status == HandoverMessage::Status::Incomplete;
         at += piece)
        status = message.add(bytes.mid(at, piece));
    return status;
}

QByteArray withBody(const QByteArray& body) {
    QByteArray header("PLR1\0\0\0\0", 8);
    qToBigEndian(static_cast<quint32>(body.size()), header.data() + 4);
    return header + body;
}

TEST(HandoverMessage, TheFilesOfASecondStartArriveWhole) {
    const QStringList files{"/home/user/音楽/曲 1.mid", "/tmp/list.lst", "/a\nb.mid"};
    for (const qsizetype piece : {1, 3, 1000}) {
        HandoverMessage message(listCapacity);
        EXPECT_EQ(receive(message, HandoverMessage::encode(files), piece),
                  HandoverMessage::Status::Complete);
        EXPECT_EQ(message.paths(), files);
    }
    HandoverMessage none(listCapacity);
    EXPECT_EQ(receive(none, HandoverMessage::encode({}), 8), HandoverMessage::Status::Complete);
    EXPECT_TRUE(none.paths().isEmpty());
}

TEST(HandoverMessage, AnythingButAWellFormedMessageIsRefused) {
    const QByteArray refused[] = {
        QByteArray("HTTP/1.1 200"),
        withBody(QByteArray("relative.mid\0", 13)),
        withBody(QByteArray("\0", 1)),                // an empty path
        withBody(QByteArray("/a.mid", 6)),            // no zero byte at its end
        withBody(QByteArray("/\xC3(.mid\0", 8)),      // not UTF-8
        withBody(QByteArray("/a.mid\0", 7)) + "more", // more than it says
    };
    for (const QByteArray& bytes : refused) {
        HandoverMessage message(listCapacity);
        EXPECT_EQ(receive(message, bytes, bytes.size()), HandoverMessage::Status::Malformed)
            << bytes.toStdString();
    }
}

// Anyone of the user's processes can write to the socket: a message that
// claims more than the cap is refused at its header, before its body is kept.
TEST(HandoverMessage, AClaimOfMoreThanTheCapIsRefusedAtTheHeader) {
    QByteArray header("PLR1\xFF\xFF\xFF\xFF", 8);
    HandoverMessage message(listCapacity);
    EXPECT_EQ(message.add(header), HandoverMessage::Status::Malformed);
    // A body of exactly the cap goes; one byte more does not.
    const QString atCap = QStringLiteral("/").repeated(HandoverMessage::maxBodyBytes - 1);
    HandoverMessage whole(listCapacity);
    EXPECT_EQ(whole.add(HandoverMessage::encode({atCap})), HandoverMessage::Status::Complete);
    EXPECT_TRUE(HandoverMessage::encode({atCap + QLatin1Char('/')}).isEmpty());

    // Names past what a list holds are counted, not read.
    const QStringList many(100'000, QStringLiteral("/a.mid"));
    HandoverMessage counted(listCapacity);
    ASSERT_EQ(counted.add(HandoverMessage::encode(many)), HandoverMessage::Status::Complete);
    EXPECT_EQ(counted.pathCount(), 100'000);
    EXPECT_EQ(counted.paths().size(), listCapacity + 1);
}

} // namespace
