#pragma once
// Answers the window's questions from a script and remembers what it was asked.

#include <QStringList>
#include <deque>
#include <optional>
#include <utility>

#include "ui/main/UserDialogs.h"

namespace tavrel::ui::testing {

class FakeDialogs final : public UserDialogs {
public:
    std::deque<QString> files;                  // answers to the open dialog ("" cancels)
    std::deque<std::optional<QString>> texts;   // answers to input boxes (nullopt cancels)
    std::deque<bool> yesNo;                     // answers to Yes/No questions (none left: No)
    std::deque<QString> picks;                  // answers to list picks (none left: cancel)
    QStringList asked;                          // "title|prompt" of every question and message
    QStringList defaults;                       // the default text of every input box
    QStringList folders;                        // the folder each open dialog started in
    int beeps = 0;

    QString OpenFileName(QWidget*, const QString& title, const QString& filter, const QString& folder) override {
        asked << "open|" + title + "|" + filter;
        folders << folder;
        return Next(files);
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& filter) override {
        asked << "save|" + title + "|" + filter;
        return Next(files);
    }
    std::optional<QString> AskText(QWidget*, const QString& title, const QString& prompt,
                                   const QString& defaultText) override {
        asked << "ask|" + title + "|" + prompt;
        defaults << defaultText;
        return Next(texts);
    }
    void Message(QWidget*, const QString& title, const QString& text) override {
        asked << "message|" + title + "|" + text;
    }
    std::optional<QString> PickItem(QWidget*, const QString& title, const QString& prompt,
                                    const QStringList& items) override {
        asked << "pick|" + title + "|" + prompt + "|" + items.join(",");
        if (picks.empty()) return std::nullopt;
        return Next(picks);
    }
    bool AskYesNo(QWidget*, const QString& title, const QString& text) override {
        asked << "yesno|" + title + "|" + text;
        return Next(yesNo);
    }
    void Beep() override { ++beeps; }
    void OpenUrl(const QUrl& url) override { asked << "url|" + url.toString(); }
    void About(QWidget*, const QString& title, const QString& text, const QPixmap& icon) override {
        asked << "about|" + title + "|" + text;
        aboutIcon = icon.toImage();
    }
    QImage aboutIcon;

private:
    // The next scripted answer; none left: an empty one (a cancel, or No).
    template <typename T>
    static T Next(std::deque<T>& answers) {
        T next{};
        if (answers.empty()) return next;
        std::swap(next, answers.front());  // a swap: a moved optional<QString> trips GCC's uninitialised-use warning
        answers.pop_front();
        return next;
    }
};

}  // namespace tavrel::ui::testing
