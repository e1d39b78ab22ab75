#pragma once
// The game's header: who played it and their ratings, where and when, its round and result, and
// the opening its moves reach (its family on one line, its variation on the next, so that the long
// names of the table are read without opening a tip). A tag the game lacks leaves its part out. It
// stands above the score, or as a pane of its own where the windows are docked.

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "openings/OpeningNames.h"
#include "pgn/GameReader.h"

namespace tavrel::ui {

class ElidedLabel;

class GameHeader : public QWidget {
    Q_OBJECT
public:
    explicit GameHeader(QWidget* parent = nullptr);

    // The game's tags in file order and the opening its moves reach (none when the table names no
    // position of it: the file's ECO and Opening tags stand in).
    void ShowGame(const std::vector<pgn::TagPair>& tags, const std::optional<openings::Opening>& opening);
    void ShowNoGame();

    // "C33 King's Gambit Accepted", or empty: the opening as the header names it.
    [[nodiscard]] QString OpeningText() const;
    // The lines as they read, whole, one per line: for the tests.
    [[nodiscard]] QStringList Lines() const;

private:
    ElidedLabel* white_;
    ElidedLabel* black_;
    ElidedLabel* place_;    // event, site
    ElidedLabel* when_;     // date, round, result
    ElidedLabel* opening_;    // ECO and the opening's family: "C33 King's Gambit Accepted"
    ElidedLabel* variation_;  // what follows the family: "Bishop's Gambit, Bryan Countergambit"
    QString openingText_;
};

}  // namespace tavrel::ui
