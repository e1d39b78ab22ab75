#include "GameScr.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "../common/FramedPlacement.h"

namespace tavrel::ui {
namespace {

// Draws a line's tab as a column stop under the Black heading, as the list shows it.
class ScoreLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int kBlackColumn = 112;  // the Black heading's left edge, in list pixels

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QPalette::ColorRole role = opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(role));
        const int tab = text.indexOf('\t');
        const QRect r = opt.rect.adjusted(2, 0, 0, 0);
        if (tab < 0) {
            painter->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, text);
        } else {
            // A long move ("exd6 e.p.") ends in an ellipsis at its column's edge instead of
            // running into Black's move.
            const QRect white(r.left(), r.top(), kBlackColumn - 6, r.height());
            const QString shown = QFontMetrics(opt.font).elidedText(text.left(tab), Qt::ElideRight, white.width());
            painter->drawText(white, Qt::AlignVCenter | Qt::AlignLeft, shown);
            const QRect black(opt.rect.left() + kBlackColumn, r.top(), r.width() - kBlackColumn, r.height());
            painter->drawText(black, Qt::AlignVCenter | Qt::AlignLeft,
                              QFontMetrics(opt.font).elidedText(text.mid(tab + 1), Qt::ElideRight, black.width()));
        }
        painter->restore();
    }
};

}  // namespace

GameScr::GameScr(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("GameScr");
    setWindowTitle("Skelda Game Score");
    setFixedSize(226, 220);
    WLabel = new QLabel("White", this);
    WLabel->setGeometry(48, 8, 57, 17);
    BLabel = new QLabel("Black", this);
    BLabel->setGeometry(120, 8, 57, 17);
    Display = new QListWidget(this);
    Display->setGeometry(8, 24, 209, 164);
    QFont bold = Display->font();
    bold.setBold(true);
    Display->setFont(bold);
    Display->setItemDelegate(new ScoreLineDelegate(Display));
    Display->setSelectionMode(QAbstractItemView::SingleSelection);
    Display->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Display->installEventFilter(this);
    Display->viewport()->installEventFilter(this);
    GameCounter = new QLabel("None", this);
    GameCounter->setGeometry(0, 200, 226, 12);
    GameCounter->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    // The selection keys act through the change of the current line; a mouse click acts on the
    // line it lands on (below), changed or not.
    connect(Display, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!SuppressScoreClick && !mouseDown_ && row >= 0) emit Display_Click(row);
    });
    Form_Load();
}

void GameScr::Form_Load() {
    PlaceByFrame(*this, [](const QRect& screen, const QSize& frame) {
        return QPoint(screen.width() / 2, (screen.height() - frame.height()) / 2);
    });
}

void GameScr::SetLines(const QStringList& lines) {
    SuppressScoreClick = true;
    Display->clear();
    Display->addItems(lines);
    SuppressScoreClick = false;
}

void GameScr::SetBold(bool whiteBold) {
    QFont font = WLabel->font();
    font.setBold(whiteBold);
    WLabel->setFont(font);
    font.setBold(!whiteBold);
    BLabel->setFont(font);
}

void GameScr::SelectLine(int line) {
    if (line < 0 || line >= Display->count()) return;
    const bool was = SuppressScoreClick;
    SuppressScoreClick = true;
    Display->setCurrentRow(line);
    SuppressScoreClick = was;
}

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
        if (!mouseDown_) rowAtPress_ = Display->currentRow();
        mouseDown_ = true;
        return;
    }
    mouseDown_ = false;
    const int row = Display->currentRow();
    const bool onIt = Display->indexAt(mouse.position().toPoint()).row() == row;
    if (!SuppressScoreClick && row >= 0 && (onIt || row != rowAtPress_)) emit Display_Click(row);
}

}  // namespace tavrel::ui
