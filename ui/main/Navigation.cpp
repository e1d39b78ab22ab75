// Opening files and moving between games and positions.

#include <QApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

#include "../list/GameList.h"
#include "../score/GameScr.h"
#include "../splash/ProgressScan.h"
#include "NumberInput.h"
#include "Skelda.h"
#include "core/Replay.h"
#include "pgn/GameReader.h"
#include "pgn/Text.h"

namespace tavrel::ui {
namespace {

const QString kOpenTitle = "Open PGN file";
const QString kOpenFilter = "PGN Files (*.pgn);;All Files (*)";
const QString kGoToTitle = "Which game number?";

// Tag values as the captions and panels show them: control bytes (NUL among them) as blanks,
// and no more than a panel can hold, so that a damaged file with a name of megabytes does not
// stall the window's text layout.
QString Decoded(const std::string& bytes) {
    constexpr qsizetype kShownChars = 200;
    // Cut on a character boundary, or a long UTF-8 name would be taken for Latin-1.
    std::size_t cut = std::min<std::size_t>(bytes.size(), 4 * kShownChars);
    while (cut < bytes.size() && cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) --cut;
    QString text = QString::fromStdString(pgn::DisplayText(bytes.substr(0, cut)));
    for (QChar& c : text) {
        if (c.unicode() < 0x20) c = u' ';
    }
    text = text.trimmed();
    if (text.size() > kShownChars || bytes.size() > 4 * kShownChars) text = text.left(kShownChars) + u'…';
    return text;
}

QString Counted(long long n) { return QString::fromStdString(NumberText(n)); }

}  // namespace

bool Skelda::OpenAndIndex(const QString& path) {
    const std::string why = source_.OpenUnindexed(path.toStdString());
    if (!why.empty()) {
        QString reason = QString::fromStdString(why);
        reason[0] = reason[0].toUpper();
        dialogs_.Message(this, "Tavrel", QString("Tavrel cannot open the file\n%1\n\n%2.").arg(path, reason));
        return false;
    }
    txtFileName->setText(path);
    scanning_ = true;
    const ProgressScan scan = IndexWithProgress(source_, this, [this] { return !closing_; }, ScanSettings);
    scanning_ = false;
    lastScanShowedProgress_ = scan.showedWindow;
    if (scan.cancelled || closing_) {
        EndProgram();
        return false;
    }
    currentGame_ = GameCount() > 0 ? 1 : 0;
    listStale_ = true;
    if (list_ && list_->isVisible()) ctlListGames_Click();
    return true;
}

bool Skelda::ChooseAndIndex() {
    for (;;) {
        const QString path = dialogs_.OpenFileName(this, kOpenTitle, kOpenFilter);
        if (path.isEmpty()) return false;
        if (OpenAndIndex(path)) return true;
        if (ended_) return false;
    }
}

bool Skelda::ReadGame() {
    const pgn::GameRecord record = source_.ReadGame(currentGame_);
    if (record.outcome == pgn::GameRecord::Outcome::AtEnd) {
        dialogs_.Beep();  // nothing to read here: the game on show stays
        return false;
    }
    if (record.Beeps()) dialogs_.Beep();
    game_.LoadMoveTexts(record.rows);
    game_.LoadStart(record.Fen, record.Variant);
    FindUnplayable(game_, record.SliderMax());
    players_ = Decoded(record.WhitePlayer) + " vs. " + Decoded(record.BlackPlayer) + " ";
    StatusPanel[0]->setText(players_);
    StatusPanel[0]->setToolTip({});
    if (!game_.StartProblem.empty()) {
        // The moves stay in the score, but the board stays at the start: the panel says why.
        StatusPanel[0]->setToolTip(StatusPanel[0]->text() + "\n" + QString::fromStdString(game_.StartProblem));
        StatusPanel[0]->setText(QString::fromStdString(pgn::DisplayText(game_.StartProblem)));
    }
    setWindowTitle("Tavrel 2.0-" + Decoded(record.EventName));
    score_->setWindowTitle("Round: " + Decoded(record.RoundName));
    QStringList lines;
    for (const std::string& line : record.ScoreLines()) lines << QString::fromStdString(pgn::DisplayText(line));
    score_->SetLines(lines);
    SetSlider(-1, game_.StartProblem.empty() ? record.SliderMax() : -1, -1);
    Slider1->setPageStep(record.LargeChange());
    game_.LastSliderValue = -1;
    Slider1_Change();
    score_->GameCounter->setText("Game" + Counted(currentGame_) + " of" + Counted(GameCount()));
    score_->show();
    RefreshGameText();
    if (list_) list_->SelectGame(currentGame_);
    return true;
}

// A file without games: the initial position, "Game 0 of 0" and a beep; every command stays safe.
void Skelda::ShowNoGame() {
    dialogs_.Beep();
    game_.LoadMoveTexts({});
    game_.LoadStart({}, {});
    game_.SetUpStartPosition();
    setWindowTitle("Tavrel");
    StatusPanel[0]->setText("Players");
    score_->setWindowTitle("Skelda Game Score");
    score_->SetLines({});
    SetSlider(-1, -1, -1);
    game_.LastSliderValue = -1;
    Slider1_Change();
    score_->GameCounter->setText("Game" + Counted(0) + " of" + Counted(0));
    score_->show();
    RefreshGameText();
}

void Skelda::ShowGame(long long number) {
    const long long shown = currentGame_;
    currentGame_ = number;
    if (!ReadGame()) {
        // The game is gone from the file (it changed on disk): the one on show stays, whole.
        currentGame_ = shown;
        return;
    }
    DrawBoard();
    score_->SetBold(game_.SideToMove == White);
    score_->SelectLine(0);
    Slider1->setFocus();
}

void Skelda::ctlOpen_Click() {
    const QString path = dialogs_.OpenFileName(this, kOpenTitle, kOpenFilter);
    if (path.isEmpty()) return;  // cancelled: the file and game on show stay
    if (!OpenAndIndex(path)) {
        // A file that is not PGN is refused with the open one kept, and the game on show stays.
        if (ended_ || source_.IsOpen()) return;
        // The old file is closed by the attempt; show that nothing is open now.
        currentGame_ = 0;
        txtFileName->clear();
        ShowNoGame();
        return;
    }
    game_.SetUpStartPosition();
    if (GameCount() == 0) {
        ShowNoGame();
    } else {
        ReadGame();
        DrawBoard();
    }
    score_->SetBold(game_.SideToMove == White);
    Slider1->setFocus();
}

void Skelda::ctlGoToGame_Click() {
    const QString count = QString::number(GameCount());
    const std::optional<QString> answer = dialogs_.AskText(
        this, kGoToTitle,
        "Which game do you wish to go to?\r\nPlease enter a game number between 1 and " + count + ".", "");
    if (!answer || answer->isEmpty()) return;
    const double number = std::floor(LeadingNumber(*answer));
    if (!(number >= 1 && number <= static_cast<double>(GameCount()))) {
        dialogs_.Message(this, kGoToTitle,
                         "You have requested a bad game number.  Please enter a game number between 1 and " +
                             count + ".");
        return;
    }
    ShowGame(static_cast<long long>(number));
}

void Skelda::Toolbar1_ButtonClick(const QString& key) {
    long long target;
    if (key == "Fgame") {
        target = 1;
    } else if (key == "Pgame") {
        target = currentGame_ - 1;
    } else if (key == "Ngame") {
        target = currentGame_ + 1;
    } else if (key == "Lgame") {
        target = GameCount();
    } else {
        return;
    }
    if (target == currentGame_ || target < 1 || target > GameCount()) return;
    ShowGame(target);
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
