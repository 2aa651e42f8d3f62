#include "MciSoundPlayer.h"

#include "PlatformError.h"

#include <QWidget>
#include <windows.h>
#include <mmsystem.h>

using namespace Qt::StringLiterals;

namespace {
void check(MCIERROR error)
{
    if (error == 0)
        return;
    char text[256] = {};
    mciGetErrorStringA(error, text, sizeof text);
    throw PlatformError(QString::fromLocal8Bit(text));
}
}

class MciSoundPlayer::NoticeWindow : public QWidget {
public:
    explicit NoticeWindow(MciSoundPlayer& player) : m_player(player) { winId(); }

protected:
    bool nativeEvent(const QByteArray& type, void* message, qintptr* result) override
    {
        auto* msg = static_cast<MSG*>(message);
        if (type == "windows_generic_MSG" && msg->message == MM_MCINOTIFY) {
            // Sent when a playback ran out, was stopped or was replaced by another.
            if (m_player.onFinished)
                m_player.onFinished();
            *result = 0;
            return true;
        }
        return QWidget::nativeEvent(type, message, result);
    }

private:
    MciSoundPlayer& m_player;
};

MciSoundPlayer::MciSoundPlayer() : m_notices(std::make_unique<NoticeWindow>(*this)) {}

MciSoundPlayer::~MciSoundPlayer()
{
    close();
}

void MciSoundPlayer::close()
{
    if (m_device) {
        mciSendCommandA(m_device, MCI_CLOSE, MCI_WAIT, 0);
        m_device = 0;
    }
}

void MciSoundPlayer::open(const QString& path)
{
    close();
    const QByteArray name = path.toLocal8Bit();
    MCI_OPEN_PARMSA params = {};
    params.lpstrElementName = name.constData();
    check(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params)));
    m_device = params.wDeviceID;
}

unsigned MciSoundPlayer::needDevice() const
{
    if (!m_device)
        throw PlatformError(u"Звуковой файл не открыт"_s);
    return m_device;
}

void MciSoundPlayer::stop()
{
    check(mciSendCommandA(needDevice(), MCI_STOP, MCI_WAIT, 0));
}

void MciSoundPlayer::rewind()
{
    check(mciSendCommandA(needDevice(), MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, 0));
}

void MciSoundPlayer::play()
{
    MCI_PLAY_PARMS params = {};
    params.dwCallback = reinterpret_cast<DWORD_PTR>(reinterpret_cast<HWND>(m_notices->winId()));
    check(mciSendCommandA(needDevice(), MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&params)));
}
