#include "TutBox.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "ui/board/PiecePictures.h"

namespace tavrel::ui {
namespace {

// The layout is kept in twips, 15 to a pixel.
constexpr int Px(int twips) {
    return twips / 15;
}

// Index into the main window's piece pictures (piece code minus 1) for each tutorial picture.
constexpr int kPictureOfPiece[kPieceCount] = {0, 5, 4, 3, 2, 1};
constexpr const char* kPieceNames[kPieceCount] = {"Pawn",   "Rook",  "Knight",
                                                  "Bishop", "Queen", "King"};

// The busy pointer while a page is written; the default one again afterwards.
class BusyPointer {
  public:
    explicit BusyPointer(QWidget* window) : window_(window) { window_->setCursor(Qt::BusyCursor); }
    ~BusyPointer() { window_->unsetCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    QWidget* window_;
};

// A window of fixed size: nothing to maximise.
constexpr Qt::WindowFlags kFrame = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                   Qt::WindowCloseButtonHint;

}  // namespace

TutBox::TutBox(const PiecePictures& pictures, QWidget* parent) : QWidget(parent, kFrame) {
    setObjectName("TutBox");
    setWindowTitle("Rules and Strategy of chess");
    setFixedSize(Px(8310), Px(5055));
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8.25);
    font.setBold(true);
    setFont(font);

    RuleButton = AddButton("RuleButton", "Rules", 840);
    PiecesButton = AddButton("PiecesButton", "Pieces", 1800);
    NotationButton = AddButton("NotationButton", "Notation", 2760);
    StrategyButton = AddButton("StrategyButton", "Strategy", 3720);
    connect(RuleButton, &QPushButton::clicked, this, &TutBox::RuleButton_Click);
    connect(PiecesButton, &QPushButton::clicked, this, &TutBox::PiecesButton_Click);
    connect(NotationButton, &QPushButton::clicked, this, &TutBox::NotationButton_Click);
    connect(StrategyButton, &QPushButton::clicked, this, &TutBox::StrategyButton_Click);
    AddPieces(pictures);

    T = new QPlainTextEdit(this);
    T->setObjectName("T");
    T->setGeometry(Px(2760), Px(240), Px(5175), Px(4575));
    T->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    T->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Read-only refuses deleting, pasting and dropping too; selecting and copying still work.
    T->setReadOnly(true);
    T->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    T->installEventFilter(this);
    T->setTabChangesFocus(true);
    FitTextFont();
}

void TutBox::FitTextFont() {
    const auto widest = [](const QFont& font) {
        const QFontMetricsF metrics(font);
        qreal width = 0;
        for (Page page : AllPages()) {
            for (const PageEntry& entry : page) {
                if (IsShortLine(entry))
                    width = std::max(width, metrics.horizontalAdvance(entry.text));
            }
        }
        return width;
    };
    const int bar = T->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, T);
    const qreal room = T->contentsRect().width() - bar - 2 * T->document()->documentMargin() - 2;
    // Never below 7 points: past that a page is harder to read than one wrapped again.
    QFont text = font();
    while (widest(text) > room && text.pointSizeF() > 7.0) {
        text.setPointSizeF(text.pointSizeF() - 0.25);
    }
    T->setFont(text);
}

QPushButton* TutBox::AddButton(const char* name, const char* caption, int topTwips) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(Px(360), Px(topTwips), Px(1215), Px(495));
    return button;
}

void TutBox::AddPieces(const PiecePictures& pictures) {
    for (int i = 0; i < kPieceCount; ++i) {
        const int p = kPictureOfPiece[i];
        Piece[i] =
            new PiecePicture(pictures.BPiece[p], pictures.PMask[p], {Px(510), Px(510)}, this);
        Piece[i]->setObjectName(QString("Piece%1").arg(i));
        Piece[i]->move(Px(1920), Px(480 + 720 * i));
        Piece[i]->setToolTip(kPieceNames[i]);
        Piece[i]->setAccessibleName(kPieceNames[i]);
        connect(Piece[i], &PiecePicture::clicked, this, [this, i] { Piece_Click(i); });
    }
}

void TutBox::Form_Load(const QWidget* near) {
    const QScreen* screen = near ? near->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(area.x() + (area.width() - outer.width()) / 2,
             area.y() + (area.height() - outer.height()) / 2);
    }
    T->clear();
    for (PiecePicture* picture : Piece) picture->show();
}

void TutBox::ShowPage(Page page) {
    // Built whole before it is shown, so a half-written page is never seen.
    T->hide();
    QString text = QString::fromStdString(BuildPage(page));
    text.replace("\r\n", "\n");
    T->setPlainText(text);
    T->show();
}

void TutBox::RuleButton_Click() {
    const BusyPointer busy(this);
    for (PiecePicture* picture : Piece) picture->hide();
    ShowPage(RulesPage());
}

void TutBox::PiecesButton_Click() {
    ShowPage(PiecesPage());
    for (PiecePicture* picture : Piece) picture->show();
}

void TutBox::NotationButton_Click() {
    const BusyPointer busy(this);
    for (PiecePicture* picture : Piece) picture->hide();
    ShowPage(NotationPage());
}

void TutBox::StrategyButton_Click() {
    const BusyPointer busy(this);
    for (PiecePicture* picture : Piece) picture->hide();
    ShowPage(StrategyPage());
}

void TutBox::Piece_Click(int index) {
    if (index < 0 || index >= kPieceCount) return;
    const BusyPointer busy(this);
    ShowPage(PiecePage(index));
}

QString TutBox::PageText() const {
    QString text = T->toPlainText();
    text.replace("\n", "\r\n");
    return text;
}

bool TutBox::T_KeyPress(const QKeyEvent& event) const {
    if (event.matches(QKeySequence::Copy) || event.matches(QKeySequence::SelectAll)) return false;
    const QString typed = event.text();
    return !typed.isEmpty() && typed.front().isPrint();
}

bool TutBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == T && event->type() == QEvent::KeyPress) {
        return T_KeyPress(*static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tavrel::ui
