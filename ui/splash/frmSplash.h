#pragma once
// The progress window of a long scan: the logo, name and version, a progress bar, and "Cancel",
// which ends the program. Any key typed into it closes it while the scan goes on.

#include <QFrame>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tavrel::ui {

class frmSplash : public QFrame {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* owner = nullptr);

    // The share of the file scanned (0 to 100, a fraction) and the games found so far.
    void SetProgress(double percent, long long games);
    void SetDone();

    QFrame* Frame1;
    QLabel* imgLogo;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QProgressBar* ProgressBar1;
    QLabel* lblProgress;
    QPushButton* Command1;

signals:
    void Cancelled();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_KeyPress();
};

}  // namespace tavrel::ui
