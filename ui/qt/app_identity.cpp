#include "ui/qt/app_identity.h"

#include <QApplication>

#include "ui/control_table.h"
#include "ui/qt/qt_text.h"

namespace tarvel::ui {

QString applicationVersion()
{
    return QStringLiteral(TARVEL_VERSION);
}

QString desktopId()
{
    return QStringLiteral(TARVEL_DESKTOP_ID);
}

QIcon applicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tarvel-48.png"), QSize(48, 48));
    icon.addFile(QStringLiteral(":/icons/tarvel-256.png"), QSize(256, 256));
    return icon;
}

void applyApplicationIdentity()
{
    // The display name is left to follow the application name: once it is set
    // explicitly, Qt appends it to every title bar ("About — Tarvel"), and the
    // windows' titles are fixed.
    QApplication::setApplicationName(qstr(kAppTitle));
    QApplication::setApplicationVersion(applicationVersion());
    QApplication::setOrganizationDomain(QStringLiteral("example.org"));
    // Wayland compositors find the desktop entry, and with it the icon, by this.
    QGuiApplication::setDesktopFileName(desktopId());
    QApplication::setWindowIcon(applicationIcon());
}

}  // namespace tarvel::ui
