#include "DockLayout.h"

#include <QCloseEvent>
#include <QLayout>
#include <QResizeEvent>
#include <algorithm>

namespace tavrel::ui {

// The middle of the single window: the board stands centred in whatever room the panes leave.
class BoardRoom : public QWidget {
    Q_OBJECT
public:
    BoardRoom(QWidget& board, QWidget* parent) : QWidget(parent), board_(board) {
        setObjectName("BoardRoom");
        board.setParent(this);
        board.show();
        board.installEventFilter(this);
    }

signals:
    void Resized(QSize room);

protected:
    void resizeEvent(QResizeEvent* event) override {
        Centre();
        emit Resized(event->size());
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &board_ && event->type() == QEvent::Resize) Centre();
        return false;
    }

private:
    void Centre() { board_.move((width() - board_.width()) / 2, (height() - board_.height()) / 2); }

    QWidget& board_;
};

DockLayout::DockLayout(QMainWindow& window, QWidget& board) : QObject(&window), window_(window), board_(board) {
    // Panes may share a side as tabs, and go anywhere the user drags them.
    window.setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks | QMainWindow::AllowNestedDocks);
}

void DockLayout::Adopt(QWidget& pane, const QString& name, Qt::DockWidgetArea area) {
    if (PaneOf(&pane)) return;
    panes_.push_back({&pane, name, area, pane.parentWidget(), pane.windowFlags(), nullptr});
    pane.installEventFilter(this);
    if (on_) {
        Dock(panes_.back());
        ShareKeys();
    }
}

void DockLayout::SetOn(bool on) {
    if (on == on_) return;
    on_ = on;
    if (on) {
        window_.takeCentralWidget();  // the board: taking it keeps it
        room_ = new BoardRoom(board_, &window_);
        connect(room_, &BoardRoom::Resized, this, &DockLayout::RoomResized);
        window_.setCentralWidget(room_);
        window_.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
        window_.setMinimumSize(0, 0);
        window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        for (Pane& pane : panes_) Dock(pane);
        ShareKeys();
    } else {
        UnshareKeys();
        for (Pane& pane : panes_) Undock(pane);
        window_.takeCentralWidget();
        board_.setParent(&window_);
        board_.removeEventFilter(room_);
        window_.setCentralWidget(&board_);
        board_.show();
        delete room_;
        room_ = nullptr;
        window_.setWindowState(window_.windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        window_.layout()->setSizeConstraint(QLayout::SetFixedSize);
    }
}

QDockWidget* DockLayout::DockOf(const QWidget& pane) const {
    for (const Pane& p : panes_) {
        if (p.widget == &pane) return p.dock;
    }
    return nullptr;
}

QSize DockLayout::BoardRoomSize() const { return room_ ? room_->size() : board_.size(); }

void DockLayout::Dock(Pane& pane) {
    if (!pane.widget) return;
    QWidget& widget = *pane.widget;
    // A window on show, or a part shown in its window (the header in the score's).
    const bool shown = !widget.isHidden();
    moving_ = true;
    auto* dock = new QDockWidget(widget.windowTitle(), &window_);
    dock->setObjectName(pane.name);
    dock->setWidget(&widget);
    dock->installEventFilter(this);
    // The pane's entry in the window's own menu of panes closes it as its close button does.
    connect(dock->toggleViewAction(), &QAction::triggered, &widget, [&widget](bool on) {
        if (on) widget.show(); else widget.close();
    });
    if (!window_.restoreDockWidget(dock)) window_.addDockWidget(pane.area, dock);
    widget.setVisible(shown);
    dock->setVisible(shown);
    pane.dock = dock;
    moving_ = false;
}

void DockLayout::Undock(Pane& pane) {
    if (!pane.widget || !pane.dock) return;
    QWidget& widget = *pane.widget;
    const bool shown = !pane.dock->isHidden() && !widget.isHidden();
    moving_ = true;
    widget.setParent(pane.parent, pane.flags);
    window_.removeDockWidget(pane.dock);
    delete pane.dock;
    pane.dock = nullptr;
    widget.setVisible(shown);
    moving_ = false;
}

void DockLayout::ShareKeys() {
    UnshareKeys();
    const auto inPane = [this](const QAction* action) {
        for (const QObject* owner = action->parent(); owner; owner = owner->parent()) {
            if (PaneOf(owner)) return true;
        }
        return false;
    };
    QList<QKeySequence> paneKeys;
    const QList<QAction*> actions = window_.findChildren<QAction*>();
    for (QAction* action : actions) {
        if (action->shortcut().isEmpty() || action->shortcutContext() != Qt::WindowShortcut || !inPane(action)) continue;
        paneKeys += action->shortcuts();
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        narrowed_.push_back(action);
    }
    for (QAction* action : actions) {
        if (action->shortcutContext() != Qt::WindowShortcut || inPane(action)) continue;
        const QList<QKeySequence> keys = action->shortcuts();
        if (std::none_of(keys.begin(), keys.end(), [&](const QKeySequence& key) { return paneKeys.contains(key); })) continue;
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        board_.addAction(action);
        narrowed_.push_back(action);
    }
}

void DockLayout::UnshareKeys() {
    for (QAction* action : narrowed_) {
        if (!action) continue;
        action->setShortcutContext(Qt::WindowShortcut);
        board_.removeAction(action);
    }
    narrowed_.clear();
}

DockLayout::Pane* DockLayout::PaneOf(const QObject* widgetOrDock) {
    for (Pane& p : panes_) {
        if (p.widget == widgetOrDock || (p.dock && p.dock == widgetOrDock)) return &p;
    }
    return nullptr;
}

bool DockLayout::eventFilter(QObject* watched, QEvent* event) {
    Pane* pane = moving_ ? nullptr : PaneOf(watched);
    if (!pane || !pane->dock || !pane->widget) return false;
    QDockWidget& dock = *pane->dock;
    QWidget& widget = *pane->widget;
    switch (event->type()) {
    case QEvent::ShowToParent:
        if (watched == &widget) {
            dock.show();
            dock.raise();
        }
        break;
    case QEvent::HideToParent:
        if (watched == &widget) dock.hide();
        break;
    case QEvent::WindowTitleChange:
        if (watched == &widget) dock.setWindowTitle(widget.windowTitle());
        break;
    case QEvent::Close:
        // The window says whether it closes; its pane goes with it.
        if (watched == &dock && !widget.isHidden() && !widget.close()) {
            event->ignore();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

}  // namespace tavrel::ui

#include "DockLayout.moc"
