#pragma once

#include <QMap>
#include <QString>

#include <chrono>
#include <memory>

// Writes a settings file on a thread of its own, in QSettings' ini format:
// the whole file each time, through a new file renamed over the old one, so
// that it is never half written and no lock of another program is waited
// for. Writes run one at a time in the order they were asked for; of those
// still waiting only the last is written, as it holds all the others hold.
// A write that fails is written to the terminal in one line and dropped.
class SettingsWriter {
public:
    using Values = QMap<QString, QString>;

    explicit SettingsWriter(QString path);
    // Gives the writes still pending up to `EndGrace` to finish; one that
    // takes longer is left to finish on its own while the program ends.
    ~SettingsWriter();
    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;

    void write(Values values);
    // Waits at most `timeout` until every write asked for so far is done;
    // true when it is.
    bool finish(std::chrono::milliseconds timeout);

    static constexpr std::chrono::milliseconds EndGrace{2000};

    // The file's text as QSettings writes it; empty when it cannot.
    static QByteArray iniText(const Values& values);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};
