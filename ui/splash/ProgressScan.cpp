#include "ProgressScan.h"

#include <QApplication>
#include <QEvent>
#include <memory>

#include "frmSplash.h"

namespace tavrel::ui {
namespace {

// While installed, user input reaches only the progress window (or nothing, once a key has
// closed it): no command of another window can start inside the scan. Closing a window is no
// input and still gets through, so the program can be ended during a scan.
class InputGate : public QObject {
public:
    explicit InputGate(QWidget* open) : open_(open) { qApp->installEventFilter(this); }
    ~InputGate() override { qApp->removeEventFilter(this); }
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
                return !InOpenWindow(watched);
            default:
                return false;
        }
    }

private:
    bool InOpenWindow(QObject* watched) const {
        const auto* widget = qobject_cast<QWidget*>(watched);
        return open_ && widget && open_->isVisible() && widget->window() == open_;
    }
    QPointer<QWidget> open_;
};

}  // namespace

ProgressScan IndexWithProgress(pgn::GameSource& source, QWidget* owner, const std::function<bool()>& keepGoing,
                               const pgn::ScanOptions& options, const std::function<void(frmSplash&)>& onShown) {
    ProgressScan scan;
    std::unique_ptr<frmSplash> splash;
    if (pgn::IsLongScan(source.Length())) {
        splash = std::make_unique<frmSplash>(owner);
        QObject::connect(splash.get(), &frmSplash::Cancelled, [&scan] { scan.cancelled = true; });
        splash->show();
        scan.showedWindow = true;
        if (onShown) onShown(*splash);
    }
    {
        const InputGate gate(splash.get());
        source.Scan([&](const pgn::ScanProgress& progress) {
            if (splash) splash->SetProgress(progress.percent, progress.games);
            QApplication::processEvents();
            return !scan.cancelled && keepGoing();
        }, options);
    }
    if (splash) splash->SetDone();
    // The file is closed only now, when no part of the scan reads it any more.
    if (scan.cancelled) source.Close();
    return scan;
}

}  // namespace tavrel::ui
