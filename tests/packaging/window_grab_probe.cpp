// Loaded into the installed program with LD_PRELOAD by installed_run_test: once the first
// window has been painted and its frame handed to the platform, saves what the screen holds
// of it as PNG, with the window's title as the PNG text "Title", to the file named by
// TUVREL_GRAB_TO, and ends the program through its event loop (exit status 0, or 3 when the
// file cannot be written). Without that variable the probe does nothing.
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

constexpr QEvent::Type Painted = QEvent::Type(QEvent::User + 732);

class WindowGrabProbe : public QObject {
public:
    explicit WindowGrabProbe(QString file) : file_(std::move(file)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!window_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            QWidget* window = static_cast<QWidget*>(watched)->window();
            if (window->isVisible()) {
                window_ = window;
                // Delivered after the paint in progress has been flushed to the platform.
                QCoreApplication::postEvent(this, new QEvent(Painted), Qt::LowEventPriority);
            }
        }
        return false;
    }

    bool event(QEvent* event) override
    {
        if (event->type() != Painted)
            return QObject::event(event);
        QImage shot;
        if (window_ && window_->windowHandle())
            shot = window_->windowHandle()->screen()->grabWindow(window_->winId()).toImage();
        if (!shot.isNull())
            shot.setText(QStringLiteral("Title"), window_->windowTitle());
        QCoreApplication::exit(!shot.isNull() && shot.save(file_, "PNG") ? 0 : 3);
        return true;
    }

private:
    QString file_;
    QPointer<QWidget> window_;
};

void installProbe()
{
    const QString file = qEnvironmentVariable("TUVREL_GRAB_TO");
    if (!file.isEmpty())
        QCoreApplication::instance()->installEventFilter(new WindowGrabProbe(file));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
