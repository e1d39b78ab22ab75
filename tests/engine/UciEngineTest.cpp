// The conversation with an engine: fake engines, written here as small scripts, for each way an
// engine can go wrong, and the real one for what the lines must say.

#include <gtest/gtest.h>
#include <signal.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <algorithm>

#include "engine/LineText.h"
#include "engine/UciEngine.h"
#include "support/FakeEngine.h"

namespace tavrel::engine {
namespace {

const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

class Engines : public ::testing::Test {
protected:
    // A fake engine program: `mode` as above, `lines` printed on each "go".
    QString Fake(const std::string& mode, const std::vector<std::string>& lines = {}) {
        return ::tavrel::testing::WriteFakeEngine(QDir(dir_.path()), mode, Log(), lines);
    }
    QString Log() const { return dir_.filePath("commands.log"); }
    std::vector<std::string> Commands() const {
        std::vector<std::string> commands;
        std::ifstream in(Log().toStdString());
        for (std::string line; std::getline(in, line);) commands.push_back(line);
        return commands;
    }
    static EngineSettings Quick() {
        EngineSettings settings;
        settings.threads = 1;
        settings.hashMb = 16;
        settings.answerMs = 700;
        return settings;
    }
    QTemporaryDir dir_;
};

bool Gone(qint64 pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0; }

TEST_F(Engines, EachFaultIsAnsweredWithAMessageNeverAHang) {
    const std::vector<std::string> good = {"info depth 3 multipv 1 score cp 20 pv e2e4"};
    const struct {
        QString program;
        const char* message;
    } kRows[] = {
        {dir_.filePath("no-such-engine"), "could not be started"},
        {Fake("no_uciok"), "did not answer with \"uciok\""},
        {Fake("no_readyok"), "did not answer with \"readyok\""},
        {Fake("no_bestmove", good), "did not answer with \"bestmove\""},
        {Fake("exits"), "ended (exit code 3)"},
    };
    for (const auto& row : kRows) {
        UciEngine engine(Quick());
        QSignalSpy faults(&engine, &UciEngine::Fault);
        engine.Start(row.program);
        engine.Analyse({kStart, {}}, true);
        // A search is under way: a second position makes the engine stop it first.
        (void)QTest::qWaitFor([&] { return engine.CurrentState() == UciEngine::State::Searching || faults.count() > 0; }, 3000);
        engine.Analyse({kStart, {"e2e4"}}, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return faults.count() > 0; }, 3000)) << row.program.toStdString();
        EXPECT_NE(faults[0][0].toString().indexOf(row.message), -1) << faults[0][0].toString().toStdString();
        EXPECT_EQ(engine.CurrentState(), UciEngine::State::Failed);
        EXPECT_TRUE(engine.ProcessId() == 0);
    }
}

TEST_F(Engines, UnreadableOutputIsIgnoredAndTheLinesAfterItShown) {
    UciEngine engine(Quick());
    engine.Start(Fake("garbage", {"info depth 4 seldepth 6 multipv 1 score cp 31 nodes 900 nps 4500 pv e2e4 e7e5"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.Name() == "Fake Engine 1.0"; }, 3000));
    engine.SetLines(1);
    engine.Analyse({kStart, {}}, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.Lines().empty(); }, 3000));
    EXPECT_EQ(engine.Lines()[0].score, (EngineScore{false, 31}));
    EXPECT_EQ(engine.Nps(), 4500);
    EXPECT_EQ(engine.CurrentState(), UciEngine::State::Searching);
}

// Stepping quickly through a game: each new position stops the search under way and waits for its
// "bestmove", so searches never run side by side and never queue; the last position wins.
TEST_F(Engines, StepsFasterThanTheEngineLeaveOneSearchAtATime) {
    UciEngine engine(Quick());
    engine.Start(Fake("slow_bestmove", {"info depth 1 multipv 1 score cp 5 pv e7e5"}));
    engine.SetLines(1);
    std::vector<std::string> moves;
    const char* game[] = {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5", "a7a6", "b5a4", "g8f6"};
    for (const char* move : game) {
        moves.push_back(move);
        engine.Analyse({kStart, moves}, false);
        QTest::qWait(40);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.Lines().empty(); }, 5000));
    QTest::qWait(400);
    int searching = 0, positions = 0;
    std::string lastPosition;
    for (const std::string& command : Commands()) {
        if (command == "go infinite") {
            EXPECT_EQ(++searching, 1) << "a second search while one runs";
        }
        if (command == "stop") --searching;
        if (command.rfind("position", 0) == 0) {
            ++positions;
            lastPosition = command;
        }
    }
    EXPECT_LT(positions, 4) << "positions were searched one after another";
    EXPECT_EQ(lastPosition, SearchPosition({kStart, moves}).Command());
}

TEST_F(Engines, TheProtocolInOrder) {
    {
        UciEngine engine(Quick());
        // Two depths: the second closes the first set, however many lines were asked for.
        engine.Start(Fake("normal", {"info depth 2 multipv 1 score cp 5 pv e7e5", "info depth 3 multipv 1 score cp 5 pv e7e5"}));
        engine.Analyse({kStart, {"e2e4"}}, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.Lines().empty(); }, 3000));
        const auto searches = [&](long n) {
            return QTest::qWaitFor([&] { return std::ranges::count(Commands(), "go infinite") == n; }, 3000);
        };
        engine.SetLines(2);
        ASSERT_TRUE(searches(2));
        engine.Analyse({kStart, {}}, true);
        ASSERT_TRUE(searches(3));
        engine.SetRunning(false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return engine.CurrentState() == UciEngine::State::Idle; }, 3000));
    }
    const std::vector<std::string> expected = {
        "uci", "setoption name Threads value 1", "setoption name Hash value 16",
        "setoption name MultiPV value 3", "ucinewgame", "isready",
        "position fen " + std::string(kStart) + " moves e2e4", "go infinite", "stop",
        "setoption name MultiPV value 2", "position fen " + std::string(kStart) + " moves e2e4", "go infinite",
        "stop", "ucinewgame", "isready", "position fen " + std::string(kStart), "go infinite", "stop", "quit"};
    EXPECT_EQ(Commands(), expected);
}

TEST_F(Engines, ClosingLeavesNoEngineProcess) {
    for (const char* mode : {"normal", "no_quit"}) {
        qint64 pid = 0;
        {
            UciEngine engine(Quick());
            engine.Start(Fake(mode));
            engine.Analyse({kStart, {}}, true);
            ASSERT_TRUE(QTest::qWaitFor([&] { return engine.CurrentState() == UciEngine::State::Searching; }, 3000));
            pid = engine.ProcessId();
        }
        EXPECT_TRUE(Gone(pid)) << mode;
    }
}

// The real engine, as Debian installs it.
class RealEngine : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(kProgram)) GTEST_SKIP() << kProgram.toStdString() << " is missing: apt-get install stockfish";
    }
    const QString kProgram = "/usr/games/stockfish";
};

TEST_F(RealEngine, MatesInTwoAreShownAsMatesInTwo) {
    std::ifstream in(TAVREL_SHARED_PGN "/pychess-mate_in_2.pgn");
    if (!in) GTEST_SKIP() << "the mate-in-2 file is missing";
    std::vector<std::string> fens;
    for (std::string line; std::getline(in, line) && fens.size() < 4;) {
        if (line.rfind("[FEN \"", 0) == 0) fens.push_back(line.substr(6, line.find('"', 6) - 6));
    }
    ASSERT_EQ(fens.size(), 4u);
    EngineSettings settings;
    settings.threads = 1;
    settings.hashMb = 16;
    settings.lines = 1;
    UciEngine engine(settings);
    engine.Start(kProgram);
    for (const std::string& fen : fens) {
        engine.Analyse({fen, {}}, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.Lines().empty() && engine.Lines()[0].score->mate; }, 20000))
            << fen;
        const int side = fen.find(" w ") != std::string::npos ? 1 : -1;
        const std::string score = ScoreText(*engine.Lines()[0].score, side);
        EXPECT_TRUE(score == "#2" || score == "#-2") << fen << " " << score;
    }
    EXPECT_NE(engine.Name().indexOf("Stockfish"), -1);
}

}  // namespace
}  // namespace tavrel::engine
