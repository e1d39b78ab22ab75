#include "GameHeader.h"

#include <QVBoxLayout>

#include "../common/ElidedLabel.h"
#include "pgn/HeaderStore.h"

namespace tavrel::ui {
namespace {

// A tag's value as shown; empty for a tag the game lacks or leaves unknown ("?", "-", and a
// result of "*").
QString Known(const std::vector<pgn::TagPair>& tags, const char* name) {
    for (const pgn::TagPair& tag : tags) {
        if (tag.name != name) continue;
        const QString value = QString::fromStdString(pgn::ShownTagText(tag.value));
        return value == "?" || value == "-" || value == "*" ? QString() : value;
    }
    return {};
}

// "1858.??.??" is 1858: the parts of a date nobody knows are left out.
QString KnownDate(QString date) {
    const QStringList parts = date.split('.');
    QStringList known;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.contains('?')) break;
        known << part;
    }
    return known.join('.');
}

QString Joined(const QStringList& parts) {
    QStringList present;
    for (const QString& part : parts) {
        if (!part.isEmpty()) present << part;
    }
    return present.join(", ");
}

QString Player(const QString& name, const QString& elo) {
    if (name.isEmpty()) return {};
    return elo.isEmpty() || elo == "0" ? name : name + " (" + elo + ")";
}

}  // namespace

GameHeader::GameHeader(QWidget* parent) : QWidget(parent) {
    setObjectName("GameHeader");
    setWindowTitle("Game header");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 2);
    layout->setSpacing(0);
    const auto line = [&](bool bold) {
        auto* label = new ElidedLabel(this);
        if (bold) {
            QFont font;  // only the weight is its own: the size follows the window's
            font.setBold(true);
            label->setFont(font);
        }
        layout->addWidget(label);
        return label;
    };
    white_ = line(true);
    black_ = line(true);
    place_ = line(false);
    when_ = line(false);
    opening_ = line(false);
    variation_ = line(false);
    layout->addStretch();
}

void GameHeader::ShowGame(const std::vector<pgn::TagPair>& tags, const std::optional<openings::Opening>& opening) {
    white_->setText(Player(Known(tags, "White"), Known(tags, "WhiteElo")));
    black_->setText(Player(Known(tags, "Black"), Known(tags, "BlackElo")));
    place_->setText(Joined({Known(tags, "Event"), Known(tags, "Site")}));
    const QString round = Known(tags, "Round");
    when_->setText(Joined({KnownDate(Known(tags, "Date")), round.isEmpty() ? round : "Round " + round, Known(tags, "Result")}));
    QString family, variation;
    if (opening) {
        openingText_ = QString::fromUtf8(opening->eco.data(), static_cast<qsizetype>(opening->eco.size())) + " " +
                       QString::fromUtf8(opening->name.data(), static_cast<qsizetype>(opening->name.size()));
        // The table writes "Family: Variation, Subvariation".
        const auto colon = openingText_.indexOf(": ");
        family = colon < 0 ? openingText_ : openingText_.left(colon);
        variation = colon < 0 ? QString() : openingText_.mid(colon + 2);
    } else {
        family = (Known(tags, "ECO") + " " + Known(tags, "Opening")).trimmed();
        variation = Known(tags, "Variation");
        openingText_ = Joined({family, variation});
    }
    opening_->setText(family);
    variation_->setText(variation);
    // A line cut short at the window's edge is read whole in its tip.
    for (ElidedLabel* label : {white_, black_, place_, when_}) label->setToolTip(label->text());
    for (ElidedLabel* label : {opening_, variation_}) label->setToolTip(openingText_);
}

void GameHeader::ShowNoGame() {
    for (ElidedLabel* label : {white_, black_, place_, when_, opening_, variation_}) {
        label->clear();
        label->setToolTip({});
    }
    openingText_.clear();
}

QString GameHeader::OpeningText() const { return openingText_; }

QStringList GameHeader::Lines() const {
    return {white_->text(), black_->text(), place_->text(), when_->text(), opening_->text(), variation_->text()};
}

}  // namespace tavrel::ui
