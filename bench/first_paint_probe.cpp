// Loaded into a Qt program with LD_PRELOAD, this reports when the program's
// first window has been painted and shown, then ends the program. The report
// is the time on CLOCK_MONOTONIC in nanoseconds, written on the descriptor
// named by FIRST_PAINT_PROBE_FD; without that variable the probe does nothing.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace {

constexpr QEvent::Type Painted = QEvent::Type(QEvent::User + 731);

class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(int fd) : fd_(fd) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->isVisible()) {
            seen_ = true;
            // Delivered once the paint in progress and its flush to the
            // screen are done and control is back in the event loop.
            QCoreApplication::postEvent(this, new QEvent(Painted), Qt::HighEventPriority);
        }
        return false;
    }

    bool event(QEvent* event) override
    {
        if (event->type() != Painted)
            return QObject::event(event);
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        char line[64];
        const int n = std::snprintf(line, sizeof line, "painted_ns=%lld\n",
                                    static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
        if (write(fd_, line, size_t(n)) != n)
            _exit(2);
        _exit(0);
    }

private:
    int fd_;
    bool seen_ = false;
};

void installProbe()
{
    const char* fd = std::getenv("FIRST_PAINT_PROBE_FD");
    if (!fd || !*fd)
        return;
    auto* probe = new FirstPaintProbe(std::atoi(fd));
    QCoreApplication::instance()->installEventFilter(probe);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
