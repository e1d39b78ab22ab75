#pragma once
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "FakeDialogs.h"
#include "ui/main/Skelda.h"
#include "ui/score/GameScr.h"

namespace tavrel::ui::testing {

// A main window set up as main() sets it up, with scripted dialogs.
class WindowTest : public ::testing::Test {
protected:
    bool Load(const QString& commandLine) {
        window = std::make_unique<Skelda>(dialogs);
        window->show();
        return window->Form_Load(commandLine);
    }
    void Step(Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(window->Slider1, key);
    }
    QString Panel(int i) const { return window->StatusPanel[i]->text(); }
    bool WhiteBold() const { return window->Score()->WLabel->font().bold(); }
    bool BlackBold() const { return window->Score()->BLabel->font().bold(); }
    QRgb PixelOfSquare(int row, int col, int dx = 0, int dy = 0) const {
        const QPoint at = SquarePixel(kGameBoardOrigin, window->Settings().View(), row, col);
        return window->Canvas().pixel(at.x() + dx, at.y() + dy) & 0xFFFFFF;
    }

    FakeDialogs dialogs;
    std::unique_ptr<Skelda> window;
};

}  // namespace tavrel::ui::testing
