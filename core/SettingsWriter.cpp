#include "core/SettingsWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

struct SettingsWriter::Shared {
    QString path;
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<Values> pending;
    bool writing = false;
    bool ending = false;
    bool ended = false;

    void run();
    bool idle() const { return !pending && !writing; }
};

namespace {

void complain(const QString& path, const QString& why) {
    std::fprintf(stderr, "pelora: cannot keep the settings in %s: %s\n",
                 QFile::encodeName(path).constData(), why.toLocal8Bit().constData());
}

void writeFile(const QString& path, const SettingsWriter::Values& values) {
    const QByteArray text = SettingsWriter::iniText(values);
    if (text.isNull()) {
        complain(path, QStringLiteral("the settings could not be put in ini form"));
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        complain(path, file.errorString());
}

} // namespace

void SettingsWriter::Shared::run() {
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return pending || ending; });
        if (!pending)
            break;
        const Values values = std::move(*pending);
        pending.reset();
        writing = true;
        lock.unlock();
        writeFile(path, values);
        lock.lock();
        writing = false;
        changed.notify_all();
    }
    ended = true;
    changed.notify_all();
}

SettingsWriter::SettingsWriter(QString path) : shared_(std::make_shared<Shared>()) {
    shared_->path = std::move(path);
    // The thread holds the shared part itself, so that a write still under
    // way when the program ends finds it in place.
    std::thread([shared = shared_] { shared->run(); }).detach();
}

SettingsWriter::~SettingsWriter() {
    std::unique_lock lock(shared_->mutex);
    shared_->ending = true;
    shared_->changed.notify_all();
    shared_->changed.wait_for(lock, EndGrace, [this] { return shared_->ended; });
}

void SettingsWriter::write(Values values) {
    const std::lock_guard lock(shared_->mutex);
    shared_->pending = std::move(values);
    shared_->changed.notify_all();
}

bool SettingsWriter::finish(std::chrono::milliseconds timeout) {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, timeout, [this] { return shared_->idle(); });
}

QByteArray SettingsWriter::iniText(const Values& values) {
    // QSettings writes the file in a private folder, where no one else's
    // lock can stand in its way; the text is then taken from there.
    const QTemporaryDir folder;
    if (!folder.isValid())
        return {};
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    {
        QSettings ini(path, QSettings::IniFormat);
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            ini.setValue(value.key(), value.value());
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return {};
    }
    // With nothing to keep, QSettings writes no file at all.
    if (values.isEmpty())
        return QByteArray("");
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
