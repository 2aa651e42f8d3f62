#pragma once
// What the running monitor tells those who watch it from outside, after each poll on the GUI
// thread: the service manager's watchdog ping and status line (so a GUI thread stuck longer than
// the limit gets the monitor restarted, and "systemctl --user status" says when it last polled),
// and the status file beside the lock that "kitchen-monitor --status" reads over ssh.

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class Clock;

class ServiceWatch : public QObject {
    Q_OBJECT
public:
    static constexpr const char* FileName = "kitchen-monitor.status";
    // The status file is rewritten when what it says changes; a poll that changes nothing else
    // sets the file's modification time to the poll's, which is the last poll's time when later
    // than the one written.

    // What the file holds, one "key=value" line each (UTF-8); times in ISO form.
    struct Status {
        qint64 process = 0;
        QDateTime polled;     // the last poll, failed or not
        QString problem;      // what the board's strip shows then; empty: all well
        QString sections;     // the served sections
        QDateTime announced;  // the last announcement of new dishes
        QString silence;      // why nobody hears the announcements; empty: sound works
        QByteArray text() const;
        static Status read(const QByteArray& text);
    };

    ServiceWatch(const QString& folder, const Clock& clock, QObject* parent = nullptr);

    // Whether polls are to be expected. Until the board is shown, and while no poll is (the
    // connection settings window waits for a person), a timer of the GUI thread tells that the
    // thread lives: the start's time is extended, the watchdog pinged.
    std::function<bool()> pollingActive = [] { return false; };

    void boardShown();
    void polled(const QString& problem);
    void setSections(const QString& sections) { m_status.sections = sections; }
    void announced();
    void setSilence(const QString& silence);

    // The line for "systemctl status".
    static QString statusLine(const Status& status);

private:
    void write();
    void ping(const QString& line);

    QString m_path;
    const Clock& m_clock;
    bool m_shown = false;
    Status m_status;
    static QByteArray restText(Status status); // all but the poll's time
    bool touch();
    QDateTime m_written;
    QByteArray m_writtenRest;
    bool m_writeFailed = false; // told once
    QTimer m_alive;
};
