#pragma once
// The game score as rows of move number, White's move and Black's move, for the score window's
// list. The window draws the columns from these parts; nothing is joined and split again.

#include <QAbstractListModel>
#include <QString>
#include <string>
#include <utility>
#include <vector>

namespace tavrel::ui {

struct ScoreMove {
    QString text;         // as the file writes it; "" when the row has no such half-move
    bool reached = true;  // false: the board never gets to the position after it
};

struct ScoreRow {
    int moveNumber = 1;  // as the game counts it
    ScoreMove white, black;
};

// The rows of a game's move texts (row n at rows[n - 1]), numbered from `firstMoveNumber`; a game
// that starts with Black's move shows "..." in White's place of its first row.
std::vector<ScoreRow> ScoreRowsOf(const std::vector<std::pair<std::string, std::string>>& rows,
                                  int firstMoveNumber, bool blackStarts);

class ScoreModel : public QAbstractListModel {
    Q_OBJECT
  public:
    enum Role {
        MoveNumberRole = Qt::UserRole + 1,  // int
        WhiteRole,                          // QString
        BlackRole,                          // QString
        WhiteReachedRole,                   // bool
        BlackReachedRole,                   // bool
    };

    using QAbstractListModel::QAbstractListModel;

    void SetRows(std::vector<ScoreRow> rows);
    [[nodiscard]] const std::vector<ScoreRow>& Rows() const { return rows_; }
    // The moves from half-move `first` on (0 is the first row's White half) are never reached.
    void MarkUnreachedFrom(int first);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    // The display role is the row as one reads it aloud ("12. e4 e5"), for accessibility and the
    // list's size hints; the window paints the parts.
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

  private:
    std::vector<ScoreRow> rows_;
};

}  // namespace tavrel::ui
