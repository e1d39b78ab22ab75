#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "UserDialogs.h"

namespace tavrel::ui {

QString DesktopDialogs::SaveFileName(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, QString(), filter);
}

QString DesktopDialogs::OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                     const QString& folder) {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

std::optional<QString> DesktopDialogs::AskText(QWidget* parent, const QString& title, const QString& prompt,
                                               const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

void DesktopDialogs::Message(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> DesktopDialogs::PickItem(QWidget* parent, const QString& title, const QString& prompt,
                                                const QStringList& items) {
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, title, prompt, items, 0, false, &ok);
    if (!ok) return std::nullopt;
    return item;
}

bool DesktopDialogs::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DesktopDialogs::Beep() { QApplication::beep(); }

void DesktopDialogs::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void DesktopDialogs::About(QWidget* parent, const QString& title, const QString& text, const QPixmap& icon) {
    QMessageBox box(parent);
    box.setWindowTitle("About " + title);
    box.setIconPixmap(icon);
    box.setText("<b>" + title.toHtmlEscaped() + "</b> " + QApplication::applicationVersion());
    box.setInformativeText(text);
    // Wide enough that the text's own line break is the only one.
    box.setStyleSheet("QLabel#qt_msgbox_informativelabel { min-width: 16em; }");
    box.exec();
}

}  // namespace tavrel::ui
