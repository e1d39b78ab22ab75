#pragma once
// The single window: the game score and the tool windows as panes docked around the board,
// which takes the room left in the middle. Off, every window stands on its own, as it always has.
//
// A pane stays the window it was: showing, hiding and closing it shows, hides and closes its
// pane, and closing the pane asks the window first, so each keeps its own close rules.

#include <QDockWidget>
#include <QMainWindow>
#include <QPointer>
#include <vector>

namespace tavrel::ui {

class BoardRoom;

class DockLayout : public QObject {
    Q_OBJECT
public:
    // `board` is the window's central widget while the single window is off.
    DockLayout(QMainWindow& window, QWidget& board);

    // `pane`, a window of its own until now, takes part under `name` (its pane keeps its place
    // in the saved layout by that name), on the `area` side when the saved layout has no place
    // for it.
    void Adopt(QWidget& pane, const QString& name, Qt::DockWidgetArea area);
    void SetOn(bool on);
    [[nodiscard]] bool On() const { return on_; }
    // The pane holding `pane`; none while the single window is off.
    [[nodiscard]] QDockWidget* DockOf(const QWidget& pane) const;
    // The room the board has in the middle; the board's own size while the single window is off.
    [[nodiscard]] QSize BoardRoomSize() const;

signals:
    // The room in the middle changed size: the board may be drawn at another.
    void RoomResized(QSize room);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pane {
        QPointer<QWidget> widget;
        QString name;
        Qt::DockWidgetArea area;
        QWidget* parent;  // the window's parent while it stands on its own
        Qt::WindowFlags flags;
        QPointer<QDockWidget> dock;
    };
    void Dock(Pane& pane);
    void Undock(Pane& pane);
    Pane* PaneOf(const QObject* widgetOrDock);
    // A key both a pane and the main window answer (Ctrl+C: the pane's copy, the window's colours)
    // would reach neither in one window: while docked, the pane's keys act where the keyboard is
    // in the pane and the window's same keys where it is on the board.
    void ShareKeys();
    void UnshareKeys();

    QMainWindow& window_;
    QWidget& board_;
    BoardRoom* room_ = nullptr;
    std::vector<Pane> panes_;
    std::vector<QPointer<QAction>> narrowed_;  // actions whose keys act in their own part only
    bool on_ = false;
    bool moving_ = false;  // panes are being docked or undocked: their shows and hides are ours
};

}  // namespace tavrel::ui
