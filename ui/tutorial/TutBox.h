#pragma once
// The tutorial window: four page buttons, six piece pictures and a text area that shows one
// fixed page at a time.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "PiecePicture.h"
#include "TutorialPage.h"

namespace tavrel::ui {

struct PiecePictures;

class TutBox : public QWidget {
    Q_OBJECT
  public:
    // The pictures are copied: the window does not keep `pictures`.
    explicit TutBox(const PiecePictures& pictures, QWidget* parent = nullptr);

    // Centres the window on the screen of `near` (or the primary screen), with an empty text
    // area and the pictures shown.
    void Form_Load(const QWidget* near = nullptr);

    void RuleButton_Click();
    void PiecesButton_Click();
    void NotationButton_Click();
    void StrategyButton_Click();
    void Piece_Click(int index);

    // The page on show, with its CR LF line breaks.
    QString PageText() const;

    QPushButton* RuleButton;
    QPushButton* PiecesButton;
    QPushButton* NotationButton;
    QPushButton* StrategyButton;
    std::array<PiecePicture*, kPieceCount> Piece;
    QPlainTextEdit* T;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPushButton* AddButton(const char* name, const char* caption, int topTwips);
    void AddPieces(const PiecePictures& pictures);
    void ShowPage(Page page);
    // The text area's font, made smaller where the desktop's font is too wide for the lines
    // written to stand on their own.
    void FitTextFont();
    // Typed characters never reach the text area; copying and moving about still work.
    bool T_KeyPress(const QKeyEvent& event) const;
};

}  // namespace tavrel::ui
