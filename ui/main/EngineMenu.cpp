// The engine analysis window as the main window wires it: the position of interest is the game
// board's, or the analysis board's while that is shown.

#include <QScreen>

#include "../analysis/AnalysisEditor.h"
#include "../common/EscapeCloses.h"
#include "../engine/EngineWindow.h"
#include "Skelda.h"

namespace tavrel::ui {

void Skelda::ctlEngine_Click() {
    if (!engine_) {
        // A child window: it goes, and its engine with it, when the main window goes.
        engine_ = new EngineWindow(dialogs_, engine::EngineSettings{}, this);
        engine_->setWindowIcon(windowIcon());
        connect(engine_, &EngineWindow::ArrowChanged, client_, qOverload<>(&QWidget::update));
        connect(analysis_, &AnalysisEditor::BoardEdited, this, &Skelda::HandPositionToEngine);
        client_->SetOverlay([this](QPainter& painter) { engine_->PaintArrow(painter, options_.View(), scale_.CanvasScale()); });
        // Under the main window where the screen has room, else above it.
        const QRect frame = frameGeometry();
        const int height = engine_->sizeHint().height() + 40;  // the title bar's allowance
        int top = frame.bottom() + 8;
        if (const QScreen* shownOn = screen(); shownOn && top + height > shownOn->availableGeometry().bottom()) {
            top = std::max(shownOn->availableGeometry().top(), frame.top() - height - 8);
        }
        engine_->move(frame.left(), top);
        CloseOnEscape(*engine_);
        PlaceTool(*engine_, "engine", Qt::BottomDockWidgetArea);
    }
    engine_->show();
    engine_->raise();
    HandPositionToEngine();
}

void Skelda::HandPositionToEngine() {
    if (!engine_ || !engine_->isVisible()) return;
    const QString gameKey = txtFileName->text() + '#' + QString::number(CurrentGame());
    if (options_.AnalysisShown()) {
        engine_->ShowPosition(engine::BoardPosition(Game().AnalysisBoard, analysisFrom_,
                                                    engine::NextMoveNumber(Game(), analysisPly_)),
                              kAnalysisBoardOrigin, gameKey);
    } else {
        engine_->ShowPosition(engine::GamePosition(Game()), kGameBoardOrigin, gameKey);
    }
}

}  // namespace tavrel::ui
