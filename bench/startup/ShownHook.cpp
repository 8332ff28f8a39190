// Loaded into the real program by the benchmark (LD_PRELOAD), so that the
// program itself needs no hook. Once both windows have painted for the
// first time, it writes the monotonic clock in nanoseconds to standard
// output and ends the process, unless PELORA_BENCH_STAY is set. With
// PELORA_BENCH_PLAY set to a file, it then plays that file as a user would
// (the load button, the file chosen in the open dialog).
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class FirstPaints : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QFileDialog*>(object))
                QTimer::singleShot(0, dialog, [dialog] { answer(dialog); });
        }
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow() && painted_.size() < 2) {
            painted_.insert(object);
            if (painted_.size() == 2)
                report();
        }
        return false;
    }

private:
    static void answer(QFileDialog* dialog) {
        dialog->selectFile(QString::fromLocal8Bit(qgetenv("PELORA_BENCH_PLAY")));
        QMetaObject::invokeMethod(dialog, "accept");
    }

    static void report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        if (qEnvironmentVariableIsEmpty("PELORA_BENCH_STAY"))
            std::_Exit(0);
        if (!qEnvironmentVariableIsEmpty("PELORA_BENCH_PLAY"))
            QTimer::singleShot(0, [] { clickLoad(); });
    }

    // The player's load button: the playlist has one of the same name (for
    // list files), and the order of the top-level windows changes from run
    // to run, so the player is told apart by its mascot.
    static void clickLoad() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->findChild<QWidget*>(QStringLiteral("mascot")) == nullptr)
                continue;
            if (auto* load = window->findChild<QAbstractButton*>(QStringLiteral("loadButton")))
                load->click();
        }
    }

    QSet<QObject*> painted_;
};

void watch() {
    QCoreApplication::instance()->installEventFilter(new FirstPaints(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watch)
