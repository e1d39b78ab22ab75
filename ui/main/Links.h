#pragma once
// The addresses the Help menu opens, kept together.

#include <QUrl>

namespace tavrel::ui {

// Tavrel has no web site of its own: its home page is the README installed with it, found from
// the program's own folder the way the installation lays them out.
QUrl HomePageAddress();
QUrl UscfAddress();

}  // namespace tavrel::ui
