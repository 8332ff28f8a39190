#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// The signals that ask a program to end (SIGTERM at a logout or from
// `kill`, SIGINT from Ctrl+C, SIGHUP when the terminal closes), taken as
// requests rather than left to end the process on the spot: Pelora then
// ends as it does when its player window closes, with its sound shut down
// and its socket removed.
//
// On Linux the signals are blocked and read from a signalfd, so no handler
// runs in the middle of other code. Blocking works for the threads made
// after it: make this object first thing in main(), before anything starts
// a thread. Elsewhere the object is there and never reports.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Starts reporting the signals through requested(); needs the event
    // loop's thread, so it is called once the application object exists.
    // A signal that came before is reported then.
    void watch();

signals:
    void requested();

private:
    void readPending();

    int descriptor_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
