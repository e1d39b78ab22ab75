#include "Animation.h"

#include <QSlider>
#include <cmath>

#include "ui/main/NumberInput.h"
#include "ui/main/UserDialogs.h"

namespace tavrel::ui {
namespace {

constexpr int kSleepMs = 500;  // the delay runs in half seconds

}  // namespace

Animation::Animation(QSlider& slider, UserDialogs& dialogs, QWidget* parent)
    : QObject(parent), slider_(slider), dialogs_(dialogs), parent_(parent) {
    connect(&timer_, &QTimer::timeout, this, &Animation::Tick);
}

bool Animation::AskDelay() {
    for (;;) {
        const std::optional<QString> answer = dialogs_.AskText(
            parent_, "Animate",
            "Please enter a delay in seconds between 0 and 255.\r\n\r\n"
            "Tavrel will replay the game from the beginning with this delay between the moves.",
            LastDelay);
        if (!answer || answer->isEmpty()) return false;
        const double seconds = LeadingNumber(*answer);
        if (seconds >= 0 && seconds <= 255) {
            LastDelay = *answer;
            delayMs_ = static_cast<int>(std::floor(seconds)) * 1000;
            return true;
        }
        dialogs_.Message(parent_, "Bad delay value", "Invalid delay value.  Please enter a value between 0 and 255.");
    }
}

void Animation::ctlAnimate_Click() {
    if (running_ || !AskDelay()) return;
    CancelAnimate = false;
    running_ = true;
    emit Started();
    slider_.setValue(slider_.minimum());
    if (slider_.value() >= slider_.maximum()) {
        End();  // the first position is the last: nothing to replay
        return;
    }
    Step();
}

void Animation::Step() {
    slider_.setValue(slider_.value() + 1);
    sleepsLeft_ = delayMs_ / kSleepMs;
    // Without a delay the next step still waits for the window's pending events.
    timer_.start(sleepsLeft_ > 0 ? sleep_ : std::chrono::milliseconds(0));
}

void Animation::Tick() {
    if (sleepsLeft_ > 0) {
        --sleepsLeft_;
        if (CancelAnimate) return End();
        if (sleepsLeft_ > 0) return;
    }
    if (CancelAnimate || slider_.value() >= slider_.maximum()) return End();
    Step();
}

void Animation::End() {
    Stop();
    emit Finished();
}

void Animation::Stop() {
    timer_.stop();
    running_ = false;
}

}  // namespace tavrel::ui
