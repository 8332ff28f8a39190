#pragma once

#include <QProcess>

// An X server of the benchmark's own (Xvfb) on the first free display from
// :191, for the whole run; DISPLAY points at it.
class VirtualScreen {
public:
    static VirtualScreen& shared();
    ~VirtualScreen();

private:
    VirtualScreen();
    QProcess server_;
};
