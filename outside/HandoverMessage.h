#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

// What a second start of Pelora sends to the running one: the files it was
// given. "PLR1", the body's length as 4 bytes (big-endian), then the body:
// each absolute path in UTF-8, ended by a zero byte. No files, an empty
// body: the running Pelora only comes to the front.
//
// The running Pelora reads a message from anyone who can reach its socket,
// so nothing in it is trusted: the length is checked against a cap before
// anything is kept, and every path must be absolute, valid UTF-8 and not
// empty. (QDataStream would reserve room for whatever count a stream claims.)
class HandoverMessage {
public:
    static constexpr qsizetype headerBytes = 8;
    static constexpr quint32 maxBodyBytes = 8 * 1024 * 1024;
    // The running Pelora answers a message it took with this one byte.
    static constexpr char taken = 'K';

    // Empty when the paths do not fit into maxBodyBytes.
    static QByteArray encode(const QStringList& absolutePaths);

    // More paths than `listCapacity` are no playlist anyone meant to make:
    // only one more than that is read (and checked), the rest only counted,
    // so that a message of millions of names costs the running Pelora no
    // time.
    explicit HandoverMessage(qsizetype listCapacity) : keptPaths_(listCapacity + 1) {}

    // Fed the bytes as they arrive.
    enum class Status { Incomplete, Complete, Malformed };
    Status add(const QByteArray& bytes);
    // The paths of a complete message, the first keptPaths() of them, and
    // how many it holds.
    const QStringList& paths() const { return paths_; }
    qsizetype pathCount() const { return pathCount_; }
    qsizetype keptPaths() const { return keptPaths_; }

private:
    Status check();
    bool decodeBody();

    qsizetype keptPaths_;
    QByteArray received_;
    std::optional<quint32> bodyBytes_;
    QStringList paths_;
    qsizetype pathCount_ = 0;
};
