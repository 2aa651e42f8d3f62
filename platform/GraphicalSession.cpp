#include "GraphicalSession.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <utility>

#ifdef Q_OS_LINUX
#include <xcb/xcb.h>
#endif

namespace {
#ifdef Q_OS_LINUX
xcb_connection_t* held = nullptr;

bool x11()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    GraphicalSession::letGo();
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (!connection || xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    held = connection;
    return true;
}

bool wayland()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return false;
    const QString socket = QDir::isAbsolutePath(name) ? name : qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + name;
    return QFileInfo(socket).exists();
}
#endif
}

void GraphicalSession::letGo()
{
#ifdef Q_OS_LINUX
    if (held)
        xcb_disconnect(std::exchange(held, nullptr));
#endif
}

bool GraphicalSession::available()
{
#ifdef Q_OS_LINUX
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("xcb"))
        return x11();
    if (platform.startsWith("wayland"))
        return wayland();
    if (!platform.isEmpty())
        return true;
    return x11() || wayland();
#else
    return true;
#endif
}
