#pragma once
// Everything the program asks of the user or the desktop goes through here, so that tests can
// answer it and check what was asked.

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QWidget;

namespace tavrel::ui {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // The chosen file, or an empty string when the user cancelled; the dialog starts in `folder`,
    // or where the desktop likes when that is empty.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& folder = {}) = 0;
    // The file to write, or an empty string when the user cancelled.
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) = 0;
    // The text typed, or nothing when the user cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& prompt,
                                           const QString& defaultText) = 0;
    virtual void Message(QWidget* parent, const QString& title, const QString& text) = 0;
    // One of `items`, picked from a list; nothing when the user cancelled.
    virtual std::optional<QString> PickItem(QWidget* parent, const QString& title, const QString& prompt,
                                            const QStringList& items) = 0;
    // A Yes/No question with No as the default: true only for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual void Beep() = 0;
    virtual void OpenUrl(const QUrl& url) = 0;
    // The About box: the application's title, a further text under it, and an icon.
    virtual void About(QWidget* parent, const QString& title, const QString& text, const QPixmap& icon) = 0;
};

// The real thing: Qt's dialogs, the system beep and the desktop's browser.
class DesktopDialogs final : public UserDialogs {
public:
    QString OpenFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& folder) override;
    QString SaveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& defaultText) override;
    void Message(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> PickItem(QWidget* parent, const QString& title, const QString& prompt,
                                    const QStringList& items) override;
    bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
    void Beep() override;
    void OpenUrl(const QUrl& url) override;
    void About(QWidget* parent, const QString& title, const QString& text, const QPixmap& icon) override;
};

}  // namespace tavrel::ui
