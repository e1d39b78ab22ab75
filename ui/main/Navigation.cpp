// Opening files and moving between games and positions.

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "../header/GameHeader.h"
#include "../list/GameList.h"
#include "../score/GameScr.h"
#include "../splash/ProgressScan.h"
#include "../common/PanelTexts.h"
#include "NumberInput.h"
#include "Skelda.h"
#include "../score/ScoreModel.h"
#include "openings/OpeningNames.h"
#include "pgn/FileKind.h"
#include "pgn/HeaderStore.h"
#include "pgn/Text.h"

namespace tavrel::ui {
namespace {

const QString kOpenTitle = "Open PGN file";
const QString kOpenFilter =
    "PGN Files (*.pgn);;Compressed PGN Files (*.pgn.zst *.pgn.gz *.zst *.gz *.zip);;All Files (*)";
const QString kGoToTitle = "Which game number?";

// Tag values as the captions and panels show them, shortened as the list shows them.
QString Decoded(const std::string& bytes) { return QString::fromStdString(pgn::ShownTagText(bytes)); }

}  // namespace

bool Skelda::OpenAndIndex(const QString& asked) {
    QString path = asked;
    auto why = session_.OpenUnindexed(path.toStdString());
    if (why && *why == pgn::kSeveralPgnFiles) {
        QStringList names;
        for (const std::string& name : pgn::GameSource::PgnFilesIn(asked.toStdString())) names << QString::fromStdString(name);
        const auto name = dialogs_.PickItem(this, "Tavrel", "The archive holds several PGN files. Which one?", names);
        if (!name) return false;
        path = asked + ":" + *name;
        why = session_.OpenUnindexed(path.toStdString());
    }
    if (why) {
        QString reason = QString::fromStdString(*why);
        reason[0] = reason[0].toUpper();
        dialogs_.Message(this, "Tavrel", QString("Tavrel cannot open the file\n%1\n\n%2.").arg(path, reason));
        return false;
    }
    txtFileName->setText(path);
    scanning_ = true;
    const ProgressScan scan = IndexWithProgress(session_.Source(), this, [this] { return !closing_; }, ScanSettings);
    scanning_ = false;
    lastScanShowedProgress_ = scan.showedWindow;
    if (scan.cancelled || closing_) {
        EndProgram();
        return false;
    }
    session_.Indexed();
    RememberRecentFile(path);
    if (const std::string& damage = session_.Source().Damage(); !damage.empty()) {
        dialogs_.Message(this, "Tavrel", QString("The file\n%1\nis damaged: %2.\n\nThe %3 games before the damage are shown.")
                                             .arg(path, QString::fromStdString(damage)).arg(session_.GameCount()));
    }
    listStale_ = true;
    treeStale_ = true;
    if (list_ && list_->isVisible()) ctlListGames_Click();
    return true;
}

QString Skelda::AskForFile() {
    const QString path = dialogs_.OpenFileName(this, kOpenTitle, kOpenFilter, stored_.OpenFolder());
    if (!path.isEmpty()) stored_.SetOpenFolder(QFileInfo(path).absolutePath());
    return path;
}

bool Skelda::ChooseAndIndex() {
    for (;;) {
        const QString path = AskForFile();
        if (path.isEmpty()) return false;
        if (OpenAndIndex(path)) return true;
        if (ended_) return false;
    }
}

bool Skelda::ReadGame(long long number) {
    const auto read = session_.ShowGame(number);
    if (read == session::GameSession::ReadResult::NotThere) {
        dialogs_.Beep();  // nothing to read here: the game on show stays
        return false;
    }
    if (read == session::GameSession::ReadResult::ShownBeeps) dialogs_.Beep();
    ShowSessionGame();
    return true;
}

// A file without games: the initial position, "Game 0 of 0" and a beep; every command stays safe.
void Skelda::ShowNoGame() {
    dialogs_.Beep();
    session_.ShowNoGame();
    ShowSessionGame();
}

void Skelda::ShowSessionGame() {
    const pgn::GameRecord& record = session_.Record();
    const GameState& game = Game();
    StatusPanel[0]->setToolTip({});
    if (session_.CurrentGame() == 0) {
        setWindowTitle("Tavrel");
        StatusPanel[0]->setText("Players");
        score_->ShowNoGame();
        header_->ShowNoGame();
    } else {
        players_ = Decoded(record.WhitePlayer) + " vs. " + Decoded(record.BlackPlayer) + " ";
        StatusPanel[0]->setText(players_);
        if (!game.StartProblem.empty()) {
            // The moves stay in the score, but the board stays at the start: the panel says why.
            StatusPanel[0]->setToolTip(StatusPanel[0]->text() + "\n" + QString::fromStdString(game.StartProblem));
            StatusPanel[0]->setText(QString::fromStdString(pgn::DisplayText(game.StartProblem)));
        }
        setWindowTitle("Tavrel 2.0-" + Decoded(record.EventName));
        score_->ShowGame(Decoded(record.RoundName), ScoreRowsOf(record.rows, record.firstMoveNumber, record.blackStarts));
        if (game.Unplayable) score_->MarkUnreachedFrom(*game.Unplayable + (game.BlackStarts() ? 1 : 0));
        ShowHeader();
    }
    SetSlider(session_.Range());
    Slider1_Change();
    score_->ShowGameCount(session_.CurrentGame(), GameCount());
    score_->show();
    RefreshGameText();
    if (list_ && session_.CurrentGame() > 0) list_->SelectGame(session_.CurrentGame());
}

// The tags are read from the game's bytes again: the record keeps only what the captions need.
void Skelda::ShowHeader() {
    const std::string_view bytes = session_.Source().GameBytes(session_.CurrentGame());
    header_->ShowGame(pgn::ReadTagPairs(bytes), openings::GameOpening(bytes));
}

void Skelda::ShowGame(long long number) {
    // A game gone from the file (it changed on disk) leaves the one on show as it was, whole.
    if (!ReadGame(number)) return;
    DrawBoard();
    score_->SetBold(Game().SideToMove == White);
    score_->SelectLine(0);
    Slider1->setFocus();
}

void Skelda::ctlOpen_Click() {
    const QString path = AskForFile();
    if (path.isEmpty()) return;  // cancelled: the file and game on show stay
    OpenFile(path);
}

void Skelda::OpenFile(const QString& path) {
    if (!OpenAndIndex(path)) {
        // A file that is not PGN is refused with the open one kept, and the game on show stays.
        if (ended_ || session_.IsOpen()) return;
        // The old file is closed by the attempt; show that nothing is open now.
        txtFileName->clear();
        ShowNoGame();
        return;
    }
    session_.Game().SetUpStartPosition();
    if (GameCount() == 0) {
        ShowNoGame();
    } else {
        ReadGame(session_.CurrentGame());
        DrawBoard();
    }
    score_->SetBold(Game().SideToMove == White);
    Slider1->setFocus();
}

void Skelda::ctlGoToGame_Click() {
    const QString range = "Please enter a game number between 1 and " + GroupedNumber(GameCount()) + ".";
    QString prompt = "Which game do you wish to go to?\r\n" + range;
    for (;;) {
        const std::optional<QString> answer = dialogs_.AskText(this, kGoToTitle, prompt, "");
        if (!answer || answer->isEmpty()) return;
        const double number = std::floor(LeadingNumber(*answer));
        if (number >= 1 && number <= static_cast<double>(GameCount())) {
            ShowGame(static_cast<long long>(number));
            return;
        }
        // A file without games has no number to ask for again.
        if (GameCount() == 0) {
            dialogs_.Message(this, kGoToTitle, "You have requested a bad game number.  " + range);
            return;
        }
        prompt = "You have requested a bad game number.\r\n" + range;
    }
}

void Skelda::Toolbar1_ButtonClick(const QString& key) {
    using session::GameStep;
    const std::optional<GameStep> step = key == "Fgame"   ? std::optional(GameStep::First)
                                         : key == "Pgame" ? std::optional(GameStep::Previous)
                                         : key == "Ngame" ? std::optional(GameStep::Next)
                                         : key == "Lgame" ? std::optional(GameStep::Last)
                                                          : std::nullopt;
    if (!step) return;
    if (const std::optional<std::int64_t> target = session_.GameAt(*step)) ShowGame(*target);
}

void Skelda::ctlUndo_Click() {
    if (Slider1->value() > Slider1->minimum()) {
        Slider1->setValue(Slider1->value() - 1);
    } else {
        dialogs_.Beep();  // always, whatever "Beep on error" says
    }
}

void Skelda::ctlExit_Click() { close(); }

}  // namespace tavrel::ui
