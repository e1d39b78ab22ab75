#pragma once
// One UCI engine process and the conversation with it. Everything is asynchronous: commands go
// out at once, answers come back through the event loop, and every answer Tavrel waits for has a
// deadline, so that no engine can hang the window.

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "UciInfo.h"

namespace tavrel::engine {

struct EngineSettings {
    int threads = DefaultThreads();
    int hashMb = 128;
    int lines = 3;
    int answerMs = 5000;  // for "uciok", "readyok" and the "bestmove" after "stop"
    int updateMs = 200;   // the least time between two sets of lines handed on
    QStringList engineFolders;  // where to look for an engine none was chosen; empty: PATH, /usr/games
    // All cores but one, so that the window keeps one; at least one.
    static int DefaultThreads();
};

// A position as the engine is told it: a FEN and the moves played from there, in coordinates.
struct SearchPosition {
    std::string fen;
    std::vector<std::string> moves;
    bool operator==(const SearchPosition&) const = default;
    std::string Command() const;  // "position fen ... moves ..."
};

class UciEngine : public QObject {
    Q_OBJECT
public:
    enum class State { Off, Starting, Syncing, Idle, Searching, Stopping, Failed };

    explicit UciEngine(EngineSettings settings, QObject* parent = nullptr);
    ~UciEngine() override;

    // Starts `program` and greets it; Ready or Fault follows. A running engine is ended first.
    void Start(const QString& program);
    // Sends "quit" and gives the engine a moment to go, then ends it.
    void Shutdown();

    // The position to search from now on. A search of another position is stopped (its lines
    // and best move thrown away) before this one starts; only the last one asked for is searched.
    void Analyse(const SearchPosition& position, bool newGame);
    // Nothing to search (the position on show cannot be analysed): a search under way stops.
    void Forget();
    // Whether searches run; stopping keeps the last lines.
    void SetRunning(bool running);
    void SetLines(int lines);

    State CurrentState() const { return state_; }
    bool Running() const { return running_; }
    const QString& Name() const { return name_; }
    qint64 ProcessId() const { return process_.processId(); }
    // The last complete set of lines for the position asked for, best first.
    const std::vector<InfoLine>& Lines() const { return shown_; }
    long long Nps() const { return nps_; }
    const EngineSettings& Settings() const { return settings_; }

signals:
    void Ready();
    void LinesChanged();
    void Fault(const QString& message);

private:
    void Send(const std::string& command);
    void Expect(State waiting);
    void Fail(const QString& message);
    void Advance();
    void ReadOutput();
    void Handle(std::string_view line);
    void Publish();
    void Finished();

    EngineSettings settings_;
    QProcess process_;
    QTimer answerTimer_;
    QTimer updateTimer_;
    QElapsedTimer sinceUpdate_;
    State state_ = State::Off;
    QString name_;
    std::string pending_;  // output not yet ended by a line break
    bool running_ = true;
    bool optionsDue_ = false;
    bool newGameDue_ = false;
    std::optional<SearchPosition> wanted_;
    std::optional<SearchPosition> searched_;  // the search under way or last finished
    bool searchEnded_ = false;                // the engine ended the search of searched_ by itself
    LineSets sets_;
    std::vector<InfoLine> shown_;
    bool shownForSearch_ = false;  // the first set of a search is handed on at once
    long long nps_ = 0;
};

}  // namespace tavrel::engine
