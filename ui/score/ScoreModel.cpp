#include "ScoreModel.h"

#include "pgn/Text.h"

namespace tavrel::ui {
namespace {

QString Shown(const std::string& bytes) {
    return QString::fromStdString(pgn::DisplayText(bytes));
}

}  // namespace

std::vector<ScoreRow> ScoreRowsOf(const std::vector<std::pair<std::string, std::string>>& rows,
                                  int firstMoveNumber, bool blackStarts) {
    std::vector<ScoreRow> shown;
    shown.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ScoreRow row;
        row.moveNumber = firstMoveNumber + static_cast<int>(i);
        row.white.text = i == 0 && blackStarts ? QStringLiteral("...") : Shown(rows[i].first);
        row.black.text = Shown(rows[i].second);
        shown.push_back(std::move(row));
    }
    return shown;
}

void ScoreModel::SetRows(std::vector<ScoreRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void ScoreModel::MarkUnreachedFrom(int first) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const int whiteHalf = 2 * static_cast<int>(i);
        rows_[i].white.reached = whiteHalf < first;
        rows_[i].black.reached = whiteHalf + 1 < first;
    }
    if (!rows_.empty()) emit dataChanged(index(0), index(rowCount() - 1));
}

int ScoreModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ScoreModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const ScoreRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            return (QString::number(row.moveNumber) + ". " + row.white.text + " " + row.black.text)
                .trimmed();
        case MoveNumberRole:
            return row.moveNumber;
        case WhiteRole:
            return row.white.text;
        case BlackRole:
            return row.black.text;
        case WhiteReachedRole:
            return row.white.reached;
        case BlackReachedRole:
            return row.black.reached;
        default:
            return {};
    }
}

}  // namespace tavrel::ui
