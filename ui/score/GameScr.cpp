#include "GameScr.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <cmath>

#include "../common/FramedPlacement.h"
#include "../common/PanelTexts.h"

namespace tavrel::ui {
namespace {

// The move number right-aligned in four places, a period and seven blanks, as the score has
// always set it before White's move: "   9.       ".
QString NumberColumn(int moveNumber) {
    const QString digits = QString::number(moveNumber);
    return (moveNumber < 10 ? "   " : moveNumber < 100 ? " " : "") + digits + ".       ";
}

// Draws a row as two columns: the number and White's move, then Black's move under the Black
// heading. A move the board never reaches is drawn as disabled text.
class ScoreRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int kBlackColumn = 112;  // the Black heading's left edge, in list pixels at the default size
    double zoom = 1.0;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QPalette::ColorRole role = opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
        const auto pen = [&](int reachedRole) {
            const bool reached = index.data(reachedRole).toBool();
            return reached ? opt.palette.color(role) : opt.palette.color(QPalette::Disabled, role);
        };
        const QFontMetrics metrics(opt.font);
        painter->save();
        painter->setFont(opt.font);
        const QRect r = opt.rect.adjusted(2, 0, 0, 0);
        // A long move ("exd6 e.p.") ends in an ellipsis at its column's edge instead of running
        // into Black's move.
        const int blackColumn = static_cast<int>(std::lround(kBlackColumn * zoom));
        const QRect white(r.left(), r.top(), blackColumn - static_cast<int>(std::lround(6 * zoom)), r.height());
        const QString whiteText = NumberColumn(index.data(ScoreModel::MoveNumberRole).toInt()) +
                                  index.data(ScoreModel::WhiteRole).toString();
        painter->setPen(pen(ScoreModel::WhiteReachedRole));
        painter->drawText(white, Qt::AlignVCenter | Qt::AlignLeft, metrics.elidedText(whiteText, Qt::ElideRight, white.width()));
        const QRect black(opt.rect.left() + blackColumn, r.top(), r.width() - blackColumn, r.height());
        painter->setPen(pen(ScoreModel::BlackReachedRole));
        painter->drawText(black, Qt::AlignVCenter | Qt::AlignLeft,
                          metrics.elidedText(index.data(ScoreModel::BlackRole).toString(), Qt::ElideRight, black.width()));
        painter->restore();
    }
};

}  // namespace

GameScr::GameScr(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("GameScr");
    setWindowTitle("Skelda Game Score");
    baseFont_ = font();
    // Shown beside the main window at start and with every game: the keyboard stays where it is.
    setAttribute(Qt::WA_ShowWithoutActivating);
    WLabel = new QLabel("White", this);
    BLabel = new QLabel("Black", this);
    Display = new QListView(this);
    QFont bold = Display->font();
    bold.setBold(true);
    Display->setFont(bold);
    Display->setModel(&model_);
    Display->setItemDelegate(new ScoreRowDelegate(Display));
    Display->setSelectionMode(QAbstractItemView::SingleSelection);
    Display->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Display->installEventFilter(this);
    Display->viewport()->installEventFilter(this);
    GameCounter = new QLabel("None", this);
    GameCounter->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    // The selection keys act through the change of the current line; a mouse click acts on the
    // line it lands on (below), changed or not.
    connect(Display->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!suppressScoreClick_ && !mouseDown_ && current.isValid()) emit Display_Click(current.row());
            });
    LayOut();
    Form_Load();
}

void GameScr::Form_Load() {
    PlaceByFrame(*this, [](const QRect& screen, const QSize& frame) {
        return QPoint(screen.width() / 2, (screen.height() - frame.height()) / 2);
    });
}

void GameScr::ShowGame(const QString& round, std::vector<ScoreRow> rows) {
    setWindowTitle("Round: " + round);
    suppressScoreClick_ = true;
    model_.SetRows(std::move(rows));
    suppressScoreClick_ = false;
}

void GameScr::ShowNoGame() {
    setWindowTitle("Skelda Game Score");
    suppressScoreClick_ = true;
    model_.SetRows({});
    suppressScoreClick_ = false;
}

void GameScr::ShowGameCount(std::int64_t game, std::int64_t total) {
    GameCounter->setText("Game" + NumberText(game) + " of" + NumberText(total));
}

void GameScr::SetBold(bool whiteBold) {
    QFont font = WLabel->font();
    font.setBold(whiteBold);
    WLabel->setFont(font);
    font.setBold(!whiteBold);
    BLabel->setFont(font);
}

void GameScr::SelectLine(int line) {
    if (line < 0 || line >= model_.rowCount()) return;
    const bool was = suppressScoreClick_;
    suppressScoreClick_ = true;
    Display->setCurrentIndex(model_.index(line));
    suppressScoreClick_ = was;
}

int GameScr::SelectedLine() const { return Display->currentIndex().row(); }

// Typed characters are dropped, so the list's search on first letters never moves the
// selection; the arrow and page keys still do, and act as clicks.
bool GameScr::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Display && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint()) return true;
    }
    if (watched == Display->viewport()) WatchMouse(*event);
    return QWidget::eventFilter(watched, event);
}

// A click on the line already selected must act too (at the start, line 1 shows Black's first
// reply), so a click is taken when the left button is let go over a line, whatever the press did
// to the selection.
void GameScr::WatchMouse(const QEvent& event) {
    const auto type = event.type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease) {
        return;
    }
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    if (mouse.button() != Qt::LeftButton) return;
    if (type != QEvent::MouseButtonRelease) {
        if (!mouseDown_) rowAtPress_ = SelectedLine();
        mouseDown_ = true;
        return;
    }
    mouseDown_ = false;
    const int row = SelectedLine();
    const bool onIt = Display->indexAt(mouse.position().toPoint()).row() == row;
    if (!suppressScoreClick_ && row >= 0 && (onIt || row != rowAtPress_)) emit Display_Click(row);
}

void GameScr::SetZoom(double zoom) {
    const auto px = [zoom](int base) { return static_cast<int>(std::lround(base * zoom)); };
    QFont font = baseFont_;
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(font.pointSizeF() * zoom);
    } else {
        font.setPixelSize(px(font.pixelSize()));
    }
    setFont(font);
    // The list and the headings set fonts of their own (bold): they take the new size too.
    for (QWidget* part : std::initializer_list<QWidget*>{WLabel, BLabel, Display}) {
        QFont own = part->font();
        own.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() : own.pointSizeF());
        if (font.pointSizeF() <= 0) own.setPixelSize(font.pixelSize());
        part->setFont(own);
    }
    if (auto* rows = dynamic_cast<ScoreRowDelegate*>(Display->itemDelegate())) rows->zoom = zoom;
    zoom_ = zoom;
    LayOut();
    Display->viewport()->update();
}

void GameScr::SetHeader(QWidget* header) {
    header_ = header;
    if (header) {
        header->setParent(this);
        header->show();
    }
    LayOut();
}

// The score's controls keep their places and sizes; the header's room is added above them. On its
// own the window has that fixed size; as a pane of the single window it takes the room the pane
// gives it, the list growing with it.
void GameScr::LayOut() {
    const auto px = [this](int base) { return static_cast<int>(std::lround(base * zoom_)); };
    const bool holdsHeader = header_ && header_->parentWidget() == this;
    const int room = holdsHeader ? kHeaderHeight : 0;
    const bool alone = isWindow();
    if (alone) {
        setFixedSize(px(226), px(room + 220));
    } else {
        setMinimumSize(px(226), px(room + 220));
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    const int wide = alone ? px(226) : std::max(width(), px(226));
    const int high = alone ? px(room + 220) : std::max(height(), px(room + 220));
    if (holdsHeader) header_->setGeometry(0, 0, wide, px(room));
    WLabel->setGeometry(px(48), px(room + 8), px(57), px(17));
    BLabel->setGeometry(px(120), px(room + 8), px(57), px(17));
    Display->setGeometry(px(8), px(room + 24), alone ? px(209) : wide - px(17), alone ? px(164) : high - px(room + 56));
    GameCounter->setGeometry(0, alone ? px(room + 200) : high - px(20), wide, px(12));
}

void GameScr::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!isWindow()) LayOut();
}

void GameScr::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ParentChange) LayOut();
}

}  // namespace tavrel::ui
