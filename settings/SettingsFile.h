#pragma once
// The program's one settings file: an INI file in the user's configuration folder, the same on
// every platform, never beside a game file. The windows and the engine keep their choices there;
// tests move the folder with QSettings::setPath.

#include <QSettings>

namespace tavrel::settings {

QSettings Store();

}  // namespace tavrel::settings
