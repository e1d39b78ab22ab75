#pragma once
// The engine analysis window: the engine's best lines for the position on show, its speed and
// name, the controls to start, stop, restart and choose it, and the best move as an arrow on the
// board it analyses.

#include <QWidget>

#include "engine/AnalysedPosition.h"
#include "engine/UciEngine.h"
#include "ui/board/BoardPainter.h"
#include "ui/main/UserDialogs.h"

class QCheckBox;
class QLabel;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace tavrel::ui {

class EngineWindow : public QWidget {
    Q_OBJECT
public:
    EngineWindow(UserDialogs& dialogs, engine::EngineSettings settings, QWidget* parent = nullptr);

    // The position of interest, on the game board or the analysis board (`boardOrigin`, its
    // place at the default size).
    // `gameKey` names the game it belongs to: another game tells the engine to forget the last.
    void ShowPosition(const engine::AnalysedPosition& position, QPoint boardOrigin, const QString& gameKey);
    // The best move over the board it belongs to, while there is one and the option is on; the
    // board drawn `scale` times the default size.
    void PaintArrow(QPainter& painter, const BoardView& view, double scale) const;

    engine::UciEngine& Engine() { return engine_; }
    // The lines as shown, one a row.
    QStringList LineTexts() const;
    QString Status() const;

    QPushButton* StartStop;
    QPushButton* Restart;
    QPushButton* Choose;
    QSpinBox* LineCount;
    QCheckBox* ShowArrow;
    QLabel* EngineName;
    QLabel* Speed;

signals:
    // The arrow changed or went: the board it was drawn on needs a repaint.
    void ArrowChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void StartEngine();
    void ChooseEngine();
    void ShowLines();
    void ShowFault(const QString& message);
    void SetStatus(const QString& text);
    void SendPosition(bool newGame);

    UserDialogs& dialogs_;
    engine::UciEngine engine_;
    QStringList engineFolders_;
    engine::AnalysedPosition position_;
    bool havePosition_ = false;
    QPoint boardOrigin_;
    QString gameKey_;
    Move best_;
    QLabel* status_;
    QPlainTextEdit* lines_;
};

}  // namespace tavrel::ui
