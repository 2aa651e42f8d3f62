#include "DesktopScreenKeeper.h"

#include "Log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QGuiApplication>

#ifdef KITCHEN_X11
#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>
#include <X11/extensions/scrnsaver.h>
#endif

using namespace Qt::StringLiterals;

namespace {
const QString freedesktop = u"org.freedesktop.ScreenSaver"_s;
const QString gnome = u"org.gnome.SessionManager"_s;
const QString reason = u"Табло заказов кухни"_s;

bool hasService(const QString& name)
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(name).value();
}

#ifdef KITCHEN_X11
Display* xDisplay()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}
#endif
}

DesktopScreenKeeper::~DesktopScreenKeeper()
{
    release();
}

void DesktopScreenKeeper::keepOn()
{
    if (m_kept)
        return;
    m_kept = true;
    QStringList how;
    QDBusMessage call;
    if (hasService(freedesktop)) {
        call = QDBusMessage::createMethodCall(freedesktop, u"/org/freedesktop/ScreenSaver"_s, freedesktop, u"Inhibit"_s);
        call << u"kitchen-monitor"_s << reason;
    } else if (hasService(gnome)) {
        // Flag 8: the session is not to be marked idle, so neither blanked nor locked.
        call = QDBusMessage::createMethodCall(gnome, u"/org/gnome/SessionManager"_s, gnome, u"Inhibit"_s);
        call << u"kitchen-monitor"_s << 0u << reason << 8u;
    }
    if (!call.service().isEmpty()) {
        const QDBusReply<unsigned> reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
        if (reply.isValid()) {
            m_service = call.service();
            m_cookie = reply.value();
            how << m_service;
        } else {
            qCWarning(lcMonitor).noquote() << "screen: the desktop refused to keep it on:" << reply.error().message();
        }
    }
#ifdef KITCHEN_X11
    if (Display* display = xDisplay()) {
        int event = 0, error = 0;
        if (XScreenSaverQueryExtension(display, &event, &error)) {
            XScreenSaverSuspend(display, True);
            XFlush(display);
            how << u"X screen saver and DPMS suspended"_s;
        }
    }
#endif
    if (how.isEmpty())
        qCWarning(lcMonitor) << "screen: no way found to keep it on; it may blank";
    else
        qCInfo(lcMonitor).noquote() << "screen kept on:" << how.join(u", "_s);
}

void DesktopScreenKeeper::release()
{
    if (!std::exchange(m_kept, false))
        return;
    if (!m_service.isEmpty()) {
        const bool gnomeSession = m_service == gnome;
        QDBusMessage call = QDBusMessage::createMethodCall(
            m_service, gnomeSession ? u"/org/gnome/SessionManager"_s : u"/org/freedesktop/ScreenSaver"_s, m_service,
            gnomeSession ? u"Uninhibit"_s : u"UnInhibit"_s);
        call << m_cookie;
        QDBusConnection::sessionBus().call(call, QDBus::Block, 2000);
        m_service.clear();
    }
#ifdef KITCHEN_X11
    if (Display* display = xDisplay()) {
        int event = 0, error = 0;
        if (XScreenSaverQueryExtension(display, &event, &error)) {
            XScreenSaverSuspend(display, False);
            XFlush(display);
        }
    }
#endif
}

void DesktopScreenKeeper::wake()
{
    if (m_service == freedesktop) {
        QDBusMessage call = QDBusMessage::createMethodCall(freedesktop, u"/org/freedesktop/ScreenSaver"_s, freedesktop,
                                                           u"SimulateUserActivity"_s);
        QDBusConnection::sessionBus().call(call, QDBus::NoBlock);
    }
#ifdef KITCHEN_X11
    if (Display* display = xDisplay()) {
        XForceScreenSaver(display, ScreenSaverReset);
        int event = 0, error = 0;
        if (DPMSQueryExtension(display, &event, &error) && DPMSCapable(display))
            DPMSForceLevel(display, DPMSModeOn);
        XFlush(display);
    }
#endif
}
