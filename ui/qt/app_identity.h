// How the desktop knows Tarvel: its names, version, desktop entry and icon.
#pragma once

#include <QIcon>
#include <QString>

namespace tarvel::ui {

// The version the build was made from, as "major.minor".
QString applicationVersion();

// The reverse-DNS id that names the desktop entry, the icon and the
// AppStream metadata.
QString desktopId();

// The program's icon at every size it is drawn in (48 and 256 pixels).
QIcon applicationIcon();

// Names the running application, so that window managers, the desktop
// entry and message boxes agree, and makes the icon every window's default.
// Call once, after the QApplication exists.
void applyApplicationIdentity();

}  // namespace tarvel::ui
