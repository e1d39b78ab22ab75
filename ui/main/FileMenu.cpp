// The File menu's recent files, and files dropped on the window: both open as a file chosen in
// the open dialog does.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

#include "Skelda.h"
#include "pgn/GameSource.h"

namespace tavrel::ui {

void Skelda::RememberRecentFile(const QString& path) {
    // Absolute, so that a file named on the command line opens again from anywhere.
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList recent = stored_.RecentFiles();
    recent.removeAll(full);
    recent.prepend(full);
    stored_.SetRecentFiles(recent);
    ShowRecentFiles();
}

void Skelda::ShowRecentFiles() {
    const QStringList recent = stored_.RecentFiles();
    for (int i = 0; i < StoredSettings::kRecentFiles; ++i) {
        QAction* item = menus_[RecentItem(i)];
        item->setVisible(i < recent.size());
        if (i >= recent.size()) continue;
        // The item keeps its path: what it opens is what it says, whatever another copy of the
        // program stores meanwhile.
        item->setData(recent[i]);
        QString name = QFileInfo(recent[i]).fileName();
        item->setText(QString("&%1 %2").arg(i + 1).arg(name.replace('&', "&&")));
        item->setToolTip(recent[i]);
    }
    menus_[MenuItem::DashRecent]->setVisible(!recent.isEmpty());
}

void Skelda::OpenRecentFile(int index) {
    const QString path = menus_[RecentItem(index)]->data().toString();
    if (path.isEmpty()) return;
    if (!pgn::GameSource::Exists(path.toStdString())) {
        QStringList recent = stored_.RecentFiles();
        recent.removeAll(path);
        stored_.SetRecentFiles(recent);
        ShowRecentFiles();
        dialogs_.Message(this, "Tavrel",
                         QString("The file\n%1\nis no longer there. It is taken off the list of recent files.").arg(path));
        return;
    }
    OpenFile(path);
}

QString Skelda::DroppedFile(const QMimeData* dropped) const {
    // While a scan or the animation runs, the File menu's commands are held: so is a drop.
    if (scanning_ || ended_ || !menus_[MenuItem::ctlOpen]->isEnabled() || !dropped || !dropped->hasUrls()) return {};
    for (const QUrl& url : dropped->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

void Skelda::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Skelda::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Opened once the drop is over: the file manager is not kept waiting by a long scan or by
    // the question which file of an archive to open.
    QMetaObject::invokeMethod(this, [this, path] { OpenFile(path); }, Qt::QueuedConnection);
}

}  // namespace tavrel::ui
