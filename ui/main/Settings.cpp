#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

#include "NumberInput.h"
#include "WindowScale.h"
#include "settings/SettingsFile.h"

namespace tavrel::ui {
namespace {

using settings::Store;

const char* const kBoardSize = "board/sizePercent";
const char* const kCoordinates = "board/showCoordinates";
const char* const kLastMove = "board/highlightLastMove";
const char* const kBeep = "options/beepOnError";
const char* const kColour = "options/colourSquares";
const char* const kAnalysis = "options/analysisBoard";
const char* const kReversed = "options/reverseBoard";
const char* const kDelay = "animation/delay";
const char* const kOpenFolder = "files/openFolder";
const char* const kRecent = "files/recent";

// A mark as the file holds it: "true" or "false"; anything else is the default.
bool Flag(const char* key, bool byDefault) {
    const QVariant stored = Store().value(key);
    if (stored.typeId() == QMetaType::Bool) return stored.toBool();
    const QString text = stored.toString();
    return text == "true" ? true : text == "false" ? false : byDefault;
}

// A text the file holds as one string: a list or a number in its place reads as none.
QString Text(const char* key) {
    const QVariant stored = Store().value(key);
    return stored.typeId() == QMetaType::QString ? stored.toString() : QString();
}
const char* const kSingleWindow = "windows/single";
const char* const kSingleGeometry = "windows/singleGeometry";
const char* const kDockState = "windows/dockState";
const char* const kOpenPanes = "windows/openPanes";
const char* const kFramePrefix = "windows/frame/";

}  // namespace

int StoredSettings::BoardSizePercent() const {
    const int percent = Store().value(kBoardSize, 100).toInt();
    return std::find(kBoardSizes.begin(), kBoardSizes.end(), percent) != kBoardSizes.end() ? percent : 100;
}

void StoredSettings::SetBoardSizePercent(int percent) { Store().setValue(kBoardSize, percent); }

bool StoredSettings::ShowCoordinates() const { return Flag(kCoordinates, false); }

void StoredSettings::SetShowCoordinates(bool show) { Store().setValue(kCoordinates, show); }

bool StoredSettings::HighlightLastMove() const { return Flag(kLastMove, false); }

void StoredSettings::SetHighlightLastMove(bool show) { Store().setValue(kLastMove, show); }

OptionMarks StoredSettings::Marks() const {
    const OptionMarks initial;
    return {Flag(kBeep, initial.beepOnError), Flag(kColour, initial.colourSquares),
            Flag(kAnalysis, initial.analysisBoard), Flag(kReversed, initial.reversed)};
}

void StoredSettings::SetMarks(const OptionMarks& marks) {
    QSettings store = Store();
    store.setValue(kBeep, marks.beepOnError);
    store.setValue(kColour, marks.colourSquares);
    store.setValue(kAnalysis, marks.analysisBoard);
    store.setValue(kReversed, marks.reversed);
}

QString StoredSettings::AnimationDelay() const {
    const QString delay = Text(kDelay);
    const double seconds = LeadingNumber(delay);
    return delay.size() <= 40 && seconds >= 0 && seconds <= 255 ? delay : QString();
}

void StoredSettings::SetAnimationDelay(const QString& delay) { Store().setValue(kDelay, delay); }

QString StoredSettings::OpenFolder() const {
    const QString folder = Text(kOpenFolder);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void StoredSettings::SetOpenFolder(const QString& folder) { Store().setValue(kOpenFolder, folder); }

QStringList StoredSettings::RecentFiles() const {
    const QVariant stored = Store().value(kRecent);
    // One file is written as a plain string, more as a list.
    QStringList paths = stored.typeId() == QMetaType::QString ? QStringList{stored.toString()}
                        : stored.typeId() == QMetaType::QStringList ? stored.toStringList()
                                                                      : QStringList();
    // The program stores full paths: anything else is not one of its files.
    paths.removeIf([](const QString& path) { return !QDir::isAbsolutePath(path); });
    paths.removeDuplicates();
    return paths.mid(0, kRecentFiles);
}

void StoredSettings::SetRecentFiles(const QStringList& paths) { Store().setValue(kRecent, paths.mid(0, kRecentFiles)); }

bool StoredSettings::SingleWindow() const { return Flag(kSingleWindow, false); }

void StoredSettings::SetSingleWindow(bool on) { Store().setValue(kSingleWindow, on); }

QByteArray StoredSettings::SingleWindowGeometry() const { return Store().value(kSingleGeometry).toByteArray(); }

void StoredSettings::SetSingleWindowGeometry(const QByteArray& geometry) { Store().setValue(kSingleGeometry, geometry); }

QByteArray StoredSettings::DockState() const { return Store().value(kDockState).toByteArray(); }

void StoredSettings::SetDockState(const QByteArray& state) { Store().setValue(kDockState, state); }

QStringList StoredSettings::OpenPanes() const { return Store().value(kOpenPanes).toStringList(); }

void StoredSettings::SetOpenPanes(const QStringList& panes) { Store().setValue(kOpenPanes, panes); }

std::optional<QRect> StoredSettings::WindowFrame(const QString& window) const {
    const QRect frame = Store().value(kFramePrefix + window).toRect();
    // Text where a rectangle should be reads as an empty one; an absurd size is no window's.
    constexpr int kLeast = 50, kMost = 30000;
    const auto sane = [](int length) { return length >= kLeast && length <= kMost; };
    if (!sane(frame.width()) || !sane(frame.height()) || std::abs(frame.left()) > kMost || std::abs(frame.top()) > kMost) {
        return std::nullopt;
    }
    return frame;
}

void StoredSettings::SetWindowFrame(const QString& window, const QRect& frame) { Store().setValue(kFramePrefix + window, frame); }

}  // namespace tavrel::ui
