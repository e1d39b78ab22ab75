#include "EngineWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "MoveArrow.h"
#include "engine/EngineProgram.h"
#include "engine/LineText.h"

namespace tavrel::ui {
namespace {

const QString kNotFound =
    "No chess engine was found. Install one (on Debian: sudo apt-get install stockfish) or choose "
    "an engine's program with \"Engine...\".";

}  // namespace

EngineWindow::EngineWindow(UserDialogs& dialogs, engine::EngineSettings settings, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), engine_(settings), engineFolders_(settings.engineFolders) {
    setObjectName("EngineWindow");
    setWindowTitle("Engine analysis");
    StartStop = new QPushButton("Stop", this);
    StartStop->setObjectName("StartStop");
    Restart = new QPushButton("Restart", this);
    Restart->setObjectName("Restart");
    Restart->setVisible(false);
    Choose = new QPushButton("Engine...", this);
    Choose->setObjectName("Choose");
    Choose->setToolTip("Choose another UCI engine program");
    LineCount = new QSpinBox(this);
    LineCount->setObjectName("LineCount");
    LineCount->setRange(1, 5);
    LineCount->setValue(settings.lines);
    LineCount->setPrefix("Lines: ");
    ShowArrow = new QCheckBox("Best-move arrow", this);
    ShowArrow->setObjectName("ShowArrow");
    ShowArrow->setChecked(true);
    EngineName = new QLabel(this);
    EngineName->setObjectName("EngineName");
    Speed = new QLabel(this);
    Speed->setObjectName("Speed");
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    status_->setVisible(false);
    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName("Lines");
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Room for the five lines at most and the scroll bar under them, no more.
    lines_->setMinimumWidth(560);
    lines_->setFixedHeight(5 * lines_->fontMetrics().lineSpacing() + 2 * lines_->frameWidth() +
                           static_cast<int>(2 * lines_->document()->documentMargin()) +
                           lines_->horizontalScrollBar()->sizeHint().height() + 4);

    auto* controls = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{StartStop, LineCount, ShowArrow}) controls->addWidget(w);
    controls->addStretch();
    controls->addWidget(Restart);
    controls->addWidget(Choose);
    auto* about = new QHBoxLayout;
    about->addWidget(EngineName);
    about->addStretch();
    about->addWidget(Speed);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(about);
    layout->addWidget(status_);
    layout->addWidget(lines_);

    connect(StartStop, &QPushButton::clicked, this, [this] {
        engine_.SetRunning(!engine_.Running());
        StartStop->setText(engine_.Running() ? "Stop" : "Start");
    });
    connect(Restart, &QPushButton::clicked, this, &EngineWindow::StartEngine);
    connect(Choose, &QPushButton::clicked, this, &EngineWindow::ChooseEngine);
    connect(LineCount, &QSpinBox::valueChanged, &engine_, &engine::UciEngine::SetLines);
    connect(ShowArrow, &QCheckBox::toggled, this, &EngineWindow::ArrowChanged);
    connect(&engine_, &engine::UciEngine::Ready, this, [this] { EngineName->setText(engine_.Name()); });
    connect(&engine_, &engine::UciEngine::LinesChanged, this, &EngineWindow::ShowLines);
    connect(&engine_, &engine::UciEngine::Fault, this, &EngineWindow::ShowFault);
}

void EngineWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (engine_.CurrentState() == engine::UciEngine::State::Off) StartEngine();
}

// Closing the window ends the engine; opening it again starts it afresh.
void EngineWindow::closeEvent(QCloseEvent* event) {
    engine_.Shutdown();
    best_ = {};
    emit ArrowChanged();
    QWidget::closeEvent(event);
}

void EngineWindow::StartEngine() {
    Restart->setVisible(false);
    SetStatus({});
    const QString program = engine::EngineProgram(engineFolders_);
    if (program.isEmpty()) {
        ShowFault(kNotFound);
        return;
    }
    EngineName->setText(program);
    engine_.Start(program);
    if (havePosition_) SendPosition(true);
}

void EngineWindow::ChooseEngine() {
    const QString program = dialogs_.OpenFileName(this, "Choose a UCI chess engine", "All Files (*)");
    if (program.isEmpty()) return;
    engine::RememberEngineProgram(program);
    StartEngine();
}

void EngineWindow::ShowPosition(const engine::AnalysedPosition& position, QPoint boardOrigin, const QString& gameKey) {
    const bool newGame = gameKey != gameKey_;
    const bool moved = !havePosition_ || !(position.search == position_.search) || position.problem != position_.problem ||
                       boardOrigin != boardOrigin_;
    gameKey_ = gameKey;
    if (!moved && !newGame) return;
    position_ = position;
    havePosition_ = true;
    boardOrigin_ = boardOrigin;
    SendPosition(newGame);
}

void EngineWindow::SendPosition(bool newGame) {
    if (best_ != Move{}) {
        best_ = {};
        emit ArrowChanged();
    }
    lines_->clear();
    if (!position_.problem.empty()) {
        SetStatus(QString::fromStdString(position_.problem));
        engine_.Forget();
        return;
    }
    if (engine_.CurrentState() != engine::UciEngine::State::Failed) SetStatus({});
    engine_.Analyse(position_.search, newGame);
}

void EngineWindow::ShowLines() {
    QStringList rows;
    Move best;
    for (const engine::InfoLine& info : engine_.Lines()) {
        const engine::ReadLine read = engine::ReadPv(position_.at, position_.moveNumber, info.pv);
        if (rows.empty()) best = read.first;
        rows << QString("%1  %2/%3  %4")
                    .arg(QString::fromStdString(engine::ScoreText(*info.score, position_.at.sideToMove)), 6)
                    .arg(info.depth, 2)
                    .arg(info.seldepth, -2)
                    .arg(QString::fromStdString(read.text));
    }
    lines_->setPlainText(rows.join('\n'));
    Speed->setText(engine_.Nps() > 0 ? QLocale().toString(engine_.Nps() / 1000) + " kN/s" : QString());
    if (best != best_) {
        best_ = best;
        emit ArrowChanged();
    }
}

void EngineWindow::ShowFault(const QString& message) {
    SetStatus(message);
    Restart->setVisible(true);
    if (best_ != Move{}) {
        best_ = {};
        emit ArrowChanged();
    }
}

void EngineWindow::SetStatus(const QString& text) {
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

void EngineWindow::PaintArrow(QPainter& painter, const BoardView& view, double scale) const {
    if (ShowArrow->isChecked() && isVisible()) {
        PaintMoveArrow(painter, BoardGeometry::Scaled(boardOrigin_, scale), view, best_);
    }
}

QStringList EngineWindow::LineTexts() const {
    const QString text = lines_->toPlainText();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

QString EngineWindow::Status() const { return status_->text(); }

}  // namespace tavrel::ui
