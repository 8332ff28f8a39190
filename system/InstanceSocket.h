#pragma once

#include <QByteArray>
#include <QString>

// Where the running Pelora of a user and display listens for later starts,
// as QLocalServer takes it: on POSIX systems a socket in the user's runtime
// folder (XDG_RUNTIME_DIR, private to the user), named for the display; on
// Windows a named pipe, named for the user and the display. Empty where the
// runtime folder cannot be had: a socket anywhere else could be reached or
// replaced by other users.
namespace InstanceSocket {

QString forDisplay(const QByteArray& displayName);

} // namespace InstanceSocket
