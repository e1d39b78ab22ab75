#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <deque>
#include <memory>

#include "FakeDialogs.h"
#include "support/TempFile.h"
#include "ui/main/Skelda.h"
#include "ui/score/GameScr.h"

namespace tavrel::ui::testing {

const QString kSample = QString(TAVREL_SOURCE_DIR) + "/samples/famous-games.pgn";
// The squares' swatches in colour and in grey.
constexpr QRgb kLight = 0xFFFF80, kDark = 0x00FF00, kGreyLight = 0xC0C0C0, kGreyDark = 0x808080;

inline std::string SampleBytes() { return ::tavrel::testing::FileBytes(kSample.toStdString()); }

// Waits for `window` to become the active one. (QTRY_COMPARE would return from a gtest test
// silently when it times out.)
inline bool BecomesActive(QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

// A main window set up as main() sets it up, with scripted dialogs.
class WindowTest : public ::testing::Test {
protected:
    bool Load(const QString& commandLine) {
        window = std::make_unique<Skelda>(dialogs);
        window->show();
        return window->Form_Load(commandLine);
    }
    // Loads a file of these bytes, which stays (in `files`) until the test ends.
    bool LoadText(const std::string& bytes) {
        return Load(QString::fromStdString(files.emplace_back(bytes).path()));
    }
    // Opens `path` as the user does, through the File menu's dialog.
    void OpenInDialog(const std::string& path) {
        dialogs.files = {QString::fromStdString(path)};
        window->ctlOpen_Click();
    }
    void Step(Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(window->Slider1, key);
    }
    QString Panel(int i) const { return window->StatusPanel[i]->text(); }
    // Score line `line` as "number|White's move|Black's move".
    QString ScoreLine(int line) const {
        const ScoreRow& row = window->Score()->Model().Rows().at(static_cast<std::size_t>(line));
        return QString::number(row.moveNumber) + "|" + row.white.text + "|" + row.black.text;
    }
    int ScoreLineCount() const { return window->Score()->Model().rowCount(); }
    int ScoreSelection() const { return window->Score()->SelectedLine(); }
    void ClickScoreLine(int line) {
        QListView* list = window->Score()->Display;
        const QModelIndex index = list->model()->index(line, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }
    bool WhiteBold() const { return window->Score()->WLabel->font().bold(); }
    bool BlackBold() const { return window->Score()->BLabel->font().bold(); }
    QRgb Pixel(QPoint at) const { return window->Canvas().pixel(at) & 0xFFFFFF; }
    QRgb PixelOfSquare(int row, int col, int dx = 0, int dy = 0) const {
        return Pixel(SquarePixel(kGameBoardOrigin, window->Settings().View(), row, col) + QPoint(dx, dy));
    }
    // What the `size`-pixel square from `topLeft` shows: ' ' its swatch all over, else a piece,
    // 'w' a white one (it has pure white pixels) or 'b' a black one.
    char Occupant(QPoint topLeft, int size = 32) const {
        const QRgb swatch = Pixel(topLeft);
        bool piece = false, white = false;
        for (int dy = 0; dy < size; ++dy) {
            for (int dx = 0; dx < size; ++dx) {
                const QRgb p = Pixel(topLeft + QPoint(dx, dy));
                piece = piece || p != swatch;
                white = white || (p != swatch && p == 0xFFFFFF);
            }
        }
        return !piece ? ' ' : white ? 'w' : 'b';
    }

    FakeDialogs dialogs;
    std::deque<::tavrel::testing::TempFile> files;  // gone after the window
    std::unique_ptr<Skelda> window;
};

}  // namespace tavrel::ui::testing
