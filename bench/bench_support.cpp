#include "bench/bench_support.h"

#include "desktop/bundled_fonts.h"
#include "runtime/colors.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <malloc.h>
#include <sched.h>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

// Qt's own entry point for pointer input into a window, the one QTest uses:
// the event goes the whole way a platform's event goes, synchronously.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
QT_END_NAMESPACE

namespace tuvrel::bench {

double monotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

Summary Samples::summary() const
{
    Summary s;
    if (values_.empty())
        return s;
    std::vector<double> v = values_;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    s.median = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    s.min = v.front();
    s.max = v.back();
    s.count = int(n);
    return s;
}

void silencePlatformNotes()
{
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith(QLatin1String("This plugin does not support")))
                return;
            if (context.category && QByteArray(context.category).startsWith("qt.qpa"))
                return;
            if (previous)
                previous(type, context, message);
        });
}

void setUpLikeTheProgram()
{
    QApplication::setApplicationName(QStringLiteral("Tuvrel"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    registerBundledFonts();
}

// ------------------------------------------------------------------ paint log

PaintLog::PaintLog()
{
    qApp->installEventFilter(this);
}

PaintLog::~PaintLog()
{
    qApp->removeEventFilter(this);
}

void PaintLog::reset(QWidget* tracked)
{
    painted_.clear();
    tracked_ = tracked;
    region_ = QRegion();
    count_ = 0;
    others_ = 0;
}

bool PaintLog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        painted_.insert(watched);
        ++count_;
        if (watched == tracked_) {
            region_ += static_cast<QPaintEvent*>(event)->region();
            trackedStartMs_ = monotonicMs();
        } else
            ++others_;
    }
    return false;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (done())
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    // Wakes the blocking wait now and then, so that the deadline is seen.
    QTimer wake;
    wake.setInterval(100);
    wake.start();
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// ------------------------------------------------------------------ bare window

BareCanvas::BareCanvas(QSize size, QWidget* parent) : QWidget(parent)
{
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BareCanvas::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!box_.contains(at))
        return;
    grab_ = at - box_.topLeft();
    dragging_ = true;
    update(box_);
}

void BareCanvas::mouseReleaseEvent(QMouseEvent*)
{
    if (dragging_)
        update(box_);
    dragging_ = false;
}

void BareCanvas::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), toQColor(SystemColor::ButtonFace));
}

void BareCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    const QRect old = box_;
    box_.moveTopLeft(event->position().toPoint() - grab_);
    if (box_ != old) {
        update(old);
        update(box_);
    }
}

BareWindow::BareWindow(QSize canvasSize)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    canvas_ = new BareCanvas(canvasSize, this);
    layout->addWidget(canvas_);
}

void BareWindow::setCanvasSize(QSize size)
{
    canvas_->setFixedSize(size);
}

// ------------------------------------------------------------------ pointer

namespace {
int pointerTime = 1000;

void pointer(QWidget* widget, QPoint at, Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type)
{
    QWindow* window = widget->window()->windowHandle();
    const QPointF local = window->mapFromGlobal(widget->mapToGlobal(QPointF(at)));
    const QPointF global = window->mapToGlobal(local);
    // Far enough apart that two presses never make a double click.
    pointerTime += 1000;
    qt_handleMouseEvent(window, local, global, state, button, type, Qt::NoModifier, pointerTime);
}
}  // namespace

void pointerPress(QWidget* widget, QPoint at)
{
    pointer(widget, at, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
}

void pointerMove(QWidget* widget, QPoint at, bool buttonHeld)
{
    pointer(widget, at, buttonHeld ? Qt::LeftButton : Qt::NoButton, Qt::NoButton, QEvent::MouseMove);
}

void pointerRelease(QWidget* widget, QPoint at)
{
    pointer(widget, at, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

// ------------------------------------------------------------------ this process

namespace {
double statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':')
            return std::stod(line.substr(n + 1));
    return 0;
}
}  // namespace

double residentMb()
{
    return statusKb("VmRSS") / 1024.0;
}

double peakResidentMb()
{
    return statusKb("VmHWM") / 1024.0;
}

double heapInUseMb()
{
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

double cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (double(u.ru_utime.tv_sec) + double(u.ru_stime.tv_sec)) * 1e3 +
           (double(u.ru_utime.tv_usec) + double(u.ru_stime.tv_usec)) / 1e3;
}

void report(const std::string& line)
{
    const std::string text = line + "\n";
    const int fd = fcntl(3, F_GETFD) != -1 ? 3 : 1;
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
}

std::string machineDescription()
{
    std::ifstream in("/proc/cpuinfo");
    std::string line, model = "unknown CPU";
    while (std::getline(in, line))
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    // As nproc counts: the processors this process may run on.
    cpu_set_t set;
    CPU_ZERO(&set);
    const int cpus = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : int(sysconf(_SC_NPROCESSORS_ONLN));
    std::ostringstream out;
    out << cpus << " × " << model;
    return out.str();
}

std::string loadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one + " (1 min), " + five + " (5 min)";
}

}  // namespace tuvrel::bench
