#include "Links.h"

#include <QCoreApplication>
#include <QDir>

namespace tavrel::ui {

QUrl HomePageAddress() {
    const QDir programs(QCoreApplication::applicationDirPath());
    return QUrl::fromLocalFile(QDir::cleanPath(programs.filePath(TAVREL_DOC_FROM_BIN "/README.md")));
}

QUrl UscfAddress() { return QUrl("https://new.uschess.org/"); }

}  // namespace tavrel::ui
