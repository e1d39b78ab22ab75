#pragma once
// Replays the game on show from its first position to its last, one position a step, with the
// user's delay between the steps. A timer drives it: between the steps the window repaints and
// answers at once, and no handler waits.

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>

class QSlider;
class QWidget;

namespace tavrel::ui {

class UserDialogs;

class Animation : public QObject {
    Q_OBJECT
public:
    // Moves `slider`, whose change handler shows each position; asks through `dialogs`.
    Animation(QSlider& slider, UserDialogs& dialogs, QWidget* parent);

    // Asks for the delay, then starts and returns. Started() comes before the first step and
    // Finished() after the last wait, or at the first wait after a cancel.
    void ctlAnimate_Click();
    void ctlCancelAnimate_Click() { CancelAnimate = true; }
    // Ends a running animation at once, telling nobody: the window is going away.
    void Stop();

    [[nodiscard]] bool Running() const { return running_; }
    [[nodiscard]] int DelayMs() const { return delayMs_; }
    // The wait between steps is made of sleeps of this length, one for every half second of
    // delay; tests shorten it.
    void SetSleep(std::chrono::milliseconds sleep) { sleep_ = sleep; }

    QString LastDelay;  // the delay text last accepted: the default of the next box

signals:
    void Started();
    void Finished();

private:
    // Asks until the answer is a delay from 0 to 255 seconds; false when the user gave none.
    bool AskDelay();
    void Step();
    void Tick();
    void End();

    QSlider& slider_;
    UserDialogs& dialogs_;
    QWidget* parent_;
    QTimer timer_;
    std::chrono::milliseconds sleep_{500};
    bool CancelAnimate = false;
    bool running_ = false;
    int delayMs_ = 0;
    int sleepsLeft_ = 0;  // of the wait after the current step
};

}  // namespace tavrel::ui
