#include "system/TerminationSignals.h"

#include <QSocketNotifier>

#if defined(__linux__)
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>
#endif

namespace {

#if defined(__linux__)
sigset_t endingSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // One that is ignored (nohup) stays ignored: it is never delivered.
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            sigaddset(&set, signal);
    }
    return set;
}
#endif

} // namespace

TerminationSignals::TerminationSignals() {
#if defined(__linux__)
    const sigset_t set = endingSignals();
    if (pthread_sigmask(SIG_BLOCK, &set, nullptr) == 0)
        descriptor_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
#endif
}

// The signals stay blocked: one that comes while the program ends has
// nothing left to ask for.
TerminationSignals::~TerminationSignals() {
    notifier_.reset();
#if defined(__linux__)
    if (descriptor_ >= 0)
        close(descriptor_);
#endif
}

void TerminationSignals::watch() {
    if (descriptor_ < 0 || notifier_)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPending);
}

void TerminationSignals::readPending() {
#if defined(__linux__)
    bool any = false;
    signalfd_siginfo info;
    while (read(descriptor_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        any = true;
    if (any)
        emit requested();
#endif
}
