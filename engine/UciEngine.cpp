#include "UciEngine.h"

#include <QThread>

namespace tavrel::engine {
namespace {

// Output without a line break this long is not an engine talking: it is dropped.
constexpr std::size_t kLongestLine = 1 << 16;

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

bool StartsWith(std::string_view s, std::string_view head) {
    return s.substr(0, head.size()) == head && (s.size() == head.size() || s[head.size()] == ' ');
}

QString Seconds(int ms) { return QString::number(ms / 1000.0, 'g', 3); }

}  // namespace

int EngineSettings::DefaultThreads() { return std::max(1, QThread::idealThreadCount() - 1); }

std::string SearchPosition::Command() const {
    std::string command = "position fen " + fen;
    if (!moves.empty()) command += " moves";
    for (const std::string& move : moves) command += " " + move;
    return command;
}

UciEngine::UciEngine(EngineSettings settings, QObject* parent)
    : QObject(parent), settings_(settings), sets_(settings.lines) {
    answerTimer_.setSingleShot(true);
    updateTimer_.setSingleShot(true);
    updateTimer_.setTimerType(Qt::PreciseTimer);
    process_.setStandardErrorFile(QProcess::nullDevice());
    connect(&process_, &QProcess::readyReadStandardOutput, this, &UciEngine::ReadOutput);
    connect(&process_, &QProcess::finished, this, &UciEngine::Finished);
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && state_ == State::Starting) {
            Fail(QString("The engine %1 could not be started: %2.").arg(process_.program(), process_.errorString()));
        }
    });
    connect(&answerTimer_, &QTimer::timeout, this, [this] {
        const char* awaited = state_ == State::Starting ? "uciok" : state_ == State::Syncing ? "readyok" : "bestmove";
        Fail(QString("The engine did not answer with \"%1\" within %2 s.").arg(awaited, Seconds(settings_.answerMs)));
    });
    connect(&updateTimer_, &QTimer::timeout, this, &UciEngine::Publish);
}

UciEngine::~UciEngine() { Shutdown(); }

void UciEngine::Start(const QString& program) {
    Shutdown();
    name_.clear();
    pending_.clear();
    searched_.reset();
    searchEnded_ = false;
    shown_.clear();
    nps_ = 0;
    newGameDue_ = true;
    state_ = State::Starting;
    process_.start(program, {});
    if (state_ != State::Starting) return;  // it could not be started, and said so
    Send("uci");
    Expect(State::Starting);
}

void UciEngine::Shutdown() {
    answerTimer_.stop();
    updateTimer_.stop();
    if (process_.state() != QProcess::NotRunning) {
        if (state_ == State::Searching) Send("stop");
        state_ = State::Off;  // the exit that follows is expected
        Send("quit");
        if (!process_.waitForFinished(std::min(1000, settings_.answerMs))) {
            process_.kill();
            process_.waitForFinished(1000);
        }
    }
    state_ = State::Off;
}

void UciEngine::Analyse(const SearchPosition& position, bool newGame) {
    newGameDue_ = newGameDue_ || newGame;
    if (wanted_ == position && !newGame) return;
    wanted_ = position;
    if (!(searched_ == wanted_)) {
        updateTimer_.stop();
        shown_.clear();
    }
    Advance();
}

void UciEngine::Forget() {
    wanted_.reset();
    updateTimer_.stop();
    shown_.clear();
    Advance();
}

void UciEngine::SetRunning(bool running) {
    running_ = running;
    Advance();
}

void UciEngine::SetLines(int lines) {
    if (lines == settings_.lines) return;
    settings_.lines = lines;
    optionsDue_ = true;  // the search starts over with the new number of lines
    Advance();
}

void UciEngine::Send(const std::string& command) {
    if (process_.state() == QProcess::NotRunning) return;
    process_.write((command + "\n").c_str());
}

void UciEngine::Expect(State waiting) {
    state_ = waiting;
    answerTimer_.start(settings_.answerMs);
}

void UciEngine::Fail(const QString& message) {
    answerTimer_.stop();
    updateTimer_.stop();
    state_ = State::Failed;
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(1000);
    }
    state_ = State::Failed;
    emit Fault(message);
}

// Takes the next step towards what is wanted, when the engine is free to take one.
void UciEngine::Advance() {
    if (state_ == State::Searching) {
        const bool stale = !running_ || !(searched_ == wanted_) || newGameDue_ || optionsDue_;
        if (stale) {
            updateTimer_.stop();
            Send("stop");
            Expect(State::Stopping);
        }
        return;
    }
    if (state_ != State::Idle) return;
    if (optionsDue_) {
        Send("setoption name MultiPV value " + std::to_string(settings_.lines));
        optionsDue_ = false;
        searched_.reset();
    }
    if (!running_ || !wanted_ || (searched_ == wanted_ && searchEnded_ && !newGameDue_)) return;
    if (newGameDue_) {
        newGameDue_ = false;
        Send("ucinewgame");
        Send("isready");
        Expect(State::Syncing);
        return;
    }
    searched_ = wanted_;
    searchEnded_ = false;
    sets_.Reset(settings_.lines);
    shownForSearch_ = false;
    Send(wanted_->Command());
    Send("go infinite");
    state_ = State::Searching;
}

void UciEngine::ReadOutput() {
    const QByteArray bytes = process_.readAllStandardOutput();
    pending_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::size_t start = 0;
    for (std::size_t end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n', start)) {
        const std::string line = pending_.substr(start, end - start);
        start = end + 1;
        Handle(Trimmed(line));
        if (state_ == State::Failed || state_ == State::Off) return;
    }
    pending_.erase(0, start);
    if (pending_.size() > kLongestLine) pending_.clear();
}

void UciEngine::Handle(std::string_view line) {
    if (StartsWith(line, "info")) {
        if (state_ != State::Searching) return;  // a stopped search's lines are not shown
        const InfoLine info = ParseInfo(line.substr(4));
        if (info.nps > 0) nps_ = info.nps;
        if (sets_.Add(info)) Publish();
    } else if (StartsWith(line, "bestmove")) {
        if (state_ == State::Searching) {
            // The engine ended the search itself: what it found last stands.
            searchEnded_ = true;
            state_ = State::Idle;
            if (sets_.Finish()) Publish();
        } else if (state_ == State::Stopping) {
            answerTimer_.stop();
            state_ = State::Idle;
        }
        Advance();
    } else if (state_ == State::Starting && StartsWith(line, "id") && Trimmed(line.substr(2)).substr(0, 5) == "name ") {
        name_ = QString::fromStdString(std::string(Trimmed(Trimmed(line.substr(2)).substr(5))));
    } else if (state_ == State::Starting && line == "uciok") {
        Send("setoption name Threads value " + std::to_string(settings_.threads));
        Send("setoption name Hash value " + std::to_string(settings_.hashMb));
        Send("setoption name MultiPV value " + std::to_string(settings_.lines));
        Send("ucinewgame");
        Send("isready");
        Expect(State::Syncing);
        newGameDue_ = false;
        emit Ready();
    } else if (state_ == State::Syncing && line == "readyok") {
        answerTimer_.stop();
        state_ = State::Idle;
        Advance();
    }
}

void UciEngine::Publish() {
    if (sets_.Complete().empty()) return;
    // The first lines of a position go out at once; after that no more often than updateMs.
    if (shownForSearch_ && sinceUpdate_.isValid() && sinceUpdate_.elapsed() < settings_.updateMs) {
        if (!updateTimer_.isActive()) {
            updateTimer_.start(static_cast<int>(settings_.updateMs - sinceUpdate_.elapsed()));
        }
        return;
    }
    updateTimer_.stop();
    shownForSearch_ = true;
    sinceUpdate_.start();
    shown_ = sets_.Complete();
    emit LinesChanged();
}

void UciEngine::Finished() {
    if (state_ == State::Off || state_ == State::Failed) return;
    const bool crashed = process_.exitStatus() == QProcess::CrashExit;
    Fail(crashed ? QString("The engine crashed.") : QString("The engine ended (exit code %1).").arg(process_.exitCode()));
}

}  // namespace tavrel::engine
