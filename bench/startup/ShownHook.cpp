// Loaded into the real program by the start-up benchmark (LD_PRELOAD), so
// that the program itself needs no hook: once both windows have painted for
// the first time, it writes the monotonic clock in nanoseconds to standard
// output and ends the process.
#include <QCoreApplication>
#include <QEvent>
#include <QSet>
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
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow()) {
            painted_.insert(object);
            if (painted_.size() == 2)
                report();
        }
        return false;
    }

private:
    static void report() {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);
    }

    QSet<QObject*> painted_;
};

void watch() {
    QCoreApplication::instance()->installEventFilter(new FirstPaints(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watch)
