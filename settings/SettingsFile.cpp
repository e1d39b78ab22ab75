#include "SettingsFile.h"

namespace tavrel::settings {

QSettings Store() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "Tavrel", "Tavrel"); }

}  // namespace tavrel::settings
