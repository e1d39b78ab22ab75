#include "frmSplash.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "../common/PanelTexts.h"

namespace tavrel::ui {
namespace {

constexpr int kTwips = 15;  // twips to a pixel
constexpr int kSteps = 10000;  // the bar's range: a percentage to two decimals

QRect Twips(int left, int top, int width, int height) {
    return {left / kTwips, top / kTwips, width / kTwips, height / kTwips};
}

QFont Arial(double points) {
    QFont font("Arial");
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

}  // namespace

frmSplash::frmSplash(QWidget* owner) : QFrame(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(7380 / kTwips, 4245 / kTwips);

    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setGeometry(Twips(150, 60, 7080, 4050));

    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName("imgLogo");
    imgLogo->setPixmap(QPixmap(":/logo.png"));
    imgLogo->setScaledContents(true);
    imgLogo->setGeometry(Twips(360, 795, 1815, 2385));

    lblProductName = new QLabel("Product", Frame1);
    lblProductName->setObjectName("lblProductName");
    lblProductName->setFont(Arial(32.25));
    lblProductName->setGeometry(Twips(2520, 1140, 2430, 765));

    lblVersion = new QLabel("Version", Frame1);
    lblVersion->setObjectName("lblVersion");
    lblVersion->setFont(Arial(12));
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVersion->setGeometry(Twips(5790, 1740, 885, 285));

    auto* Shape1 = new QFrame(Frame1);
    Shape1->setObjectName("Shape1");
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    Shape1->setGeometry(Twips(2475, 2120, 3290, 435));

    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, kSteps);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(Twips(2520, 2150, 3200, 360));

    lblProgress = new QLabel("Reading game #", Frame1);
    lblProgress->setObjectName("lblProgress");
    lblProgress->setFont(Arial(8.25));
    lblProgress->setAlignment(Qt::AlignCenter);
    lblProgress->setGeometry(Twips(2475, 2730, 3300, 225));

    Command1 = new QPushButton("Cancel", Frame1);
    Command1->setObjectName("Command1");
    Command1->setGeometry(Twips(3240, 3390, 1770, 315));
    connect(Command1, &QPushButton::clicked, this, &frmSplash::Cancelled);

    // Keys reach the window before any of its controls, so that a key on the focused button
    // closes the window instead of pressing "Cancel".
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    installEventFilter(this);
    Form_Load();
}

void frmSplash::Form_Load() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    lblVersion->setText("Version " TAVREL_VERSION);
    // The labels size themselves to their text; the version keeps its right edge.
    const int right = lblVersion->geometry().right();
    lblVersion->adjustSize();
    lblVersion->move(right - lblVersion->width() + 1, lblVersion->y());
    lblProductName->setText("Tavrel");
    lblProductName->adjustSize();
}

void frmSplash::SetProgress(double percent, long long games) {
    ProgressBar1->setValue(static_cast<int>(percent / 100.0 * kSteps));
    lblProgress->setText("Reading Game" + NumberText(games));
}

void frmSplash::SetDone() { lblProgress->setText("Done!"); }

bool frmSplash::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->text().isEmpty()) return false;
    Form_KeyPress();
    return true;
}

void frmSplash::Form_KeyPress() { close(); }

}  // namespace tavrel::ui
