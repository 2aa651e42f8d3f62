#include "ProgramWindows.h"

#include "AppState.h"
#include "Clock.h"
#include "Form_AllDay.h"
#include "Form_Base.h"
#include "MenuBrowser.h"
#include "PosSwitches.h"
#include "Form_DateTime.h"
#include "Form_Detail.h"
#include "Form_Klava.h"
#include "Form_Limit.h"
#include "Form_Main.h"
#include "Form_Net.h"
#include "Form_Psw.h"
#include "Form_Ready.h"
#include "Form_Stat.h"
#include "Form_Time.h"
#include "Form_Util.h"
#include "Form_Vid.h"
#include "Dialogs.h"
#include "InputGate.h"
#include "KitchenWork.h"
#include "LogLines.h"
#include "Journal.h"
#include "Log.h"
#include "OrderBoard.h"
#include "PanelAges.h"
#include "ServerClock.h"
#include "ServerTime.h"
#include "DataGrid.h"
#include "PollingCycle.h"
#include "PressService.h"
#include "ScreenKeeper.h"
#include "ServiceWatch.h"
#include "Settings.h"
#include "SettingsFile.h"
#include "SilenceMark.h"
#include "SoundAlert.h"
#include "StallMeter.h"
#include "StatusStrip.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <memory>

ProgramWindows::ProgramWindows(AppState& state, Platform platform,
                               const std::function<void(const QString&)>& onCreated)
{
    // The monitor's own record; whatever becomes of it, the windows work alike.
    m_journal.open(state.settingsFolder, &platform.clock);
    auto created = [&](QObject* window) {
        if (onCreated)
            onCreated(window->objectName());
    };
    // Read once, before any window: the board lays itself out by them, the data module finds
    // the connection file made here and opens the sound file read here.
    m_settings = std::make_unique<Settings>(state.settingsFolder);
    const QStringList problems = m_settings->load();
    Settings& settings = *m_settings;
    m_main = std::make_unique<Form_Main>(state, settings, platform.dialogs, platform.display, m_forms);
    Form_Main* main = m_main.get();
    m_forms.Main = main;
    created(main);
    // A file that could not be made: its defaults hold for the run, said once.
    if (!problems.isEmpty())
        platform.dialogs.message(main, problems.join(u'\n') + u'\n' + Settings::DefaultsTakenMessage);
    created(m_forms.Util = new Form_Util(platform.clock, main));
    created(m_forms.Net = new Form_Net(state, platform.dialogs, platform.display, m_forms.Psw, main));
    created(m_forms.Psw = new Form_Psw(state, platform.dialogs, platform.display, *m_forms.Util, main));
    created(m_forms.Vid = new Form_Vid(state, settings, platform.dialogs, platform.display, platform.player,
                                       main->IdleTimer, main));
    created(m_forms.Detail = new Form_Detail(state, platform.dialogs, platform.display, main));
    created(m_forms.Time = new Form_Time(state, platform.dialogs, platform.display, platform.clock, main));
    created(m_forms.DateTime = new Form_DateTime(state, platform.dialogs, platform.display, main));
    created(m_forms.Limit = new Form_Limit(state, platform.dialogs, platform.display, main));
    Form_Base* base = new Form_Base(settings, *m_forms.Util, platform.dialogs, platform.player, main);
    m_forms.Base = base;
    base->hooks.connectionFailed = [this, main, &state] {
        m_forms.Net->exec();
        // The server may only be late, as after a power cut that started the kitchen first.
        state.RestartNeeded = true;
        main->close();
    };
    base->hooks.servingTimesEnabled = [this](bool on) { m_forms.Detail->BtnTime->setEnabled(on); };
    base->hooks.limitsEnabled = [main](bool on) { main->BtnLimit->setEnabled(on); };
    PosSwitches::wire(*base);
    main->attachDatabase(*base);
    main->setIdleClock(platform.idle);
    main->gate().guardTouches(platform.clock);
    auto* presses = new PressService(*base, m_journal, main);
    m_forms.Presses = presses;
    presses->seed(platform.clock.now());
    main->setPresses(*presses);
    m_forms.Detail->attach(*base, *presses, main->serverTime(),
                           {[main] { return main->board().served(); },
                            [main] { main->refreshBoard(); },
                            &main->gate()},
                           *m_forms.Time);
    m_forms.Time->attach(*base, *m_forms.Detail, *m_forms.DateTime);
    main->gate().routeKeys(m_forms.Detail, m_forms.Detail->keys(), platform.dialogs);
    m_forms.Ready = new Form_Ready(state, platform.dialogs, platform.display, platform.clock, main);
    m_forms.Ready->attach(*base, *presses, [main] { main->refreshBoard(); });
    main->gate().routeKeys(m_forms.Ready, m_forms.Ready->keys(), platform.dialogs);
    main->recallNewest = [ready = m_forms.Ready]() -> std::optional<Form_Main::TakenBack> {
        const std::optional<Journal::Press> entry = ready->takeBackNewest();
        if (!entry || entry->lines.isEmpty())
            return std::nullopt;
        Form_Main::TakenBack back{entry->lines.first().order, {}};
        for (const Journal::Line& line : entry->lines)
            back.lines << line.line;
        return back;
    };
    // The statistics window and its chart are made when first opened: the board's first picture
    // needs neither.
    m_forms.showStatistics = [this, &state, main, platform] {
        if (!m_statistics) {
            m_statistics = new Form_Stat(state, m_journal, platform.dialogs, platform.display, platform.clock, main);
            m_statistics->sections = [main] {
                QList<int> sections{800, 900};
                const ServedSections served = main->board().served();
                for (int i = 0; i < 5; ++i)
                    if (served[size_t(i)])
                        sections << i + 1;
                return sections;
            };
        }
        m_statistics->showToday();
    };
    m_forms.Vid->showStatistics = m_forms.showStatistics;
    m_forms.Alert = new SoundAlert(*base, platform.speaker, main->PanelSound, main->TimerColor,
                                   {[&settings] { return settings.output(); },
                                    [&settings] { return settings.duration(); },
                                    [&settings] { return settings.amount(); }},
                                   base);
    auto* silenceMark = new SilenceMark(main);
    QObject::connect(m_forms.Alert, &SoundAlert::silenceChanged, silenceMark, &SilenceMark::setSilence);
    m_forms.Work = new KitchenWork(*base, m_journal, base);
    m_serverClock = std::make_unique<ServerClock>(platform.clock);
    ServerClock* serverClock = m_serverClock.get();
    m_forms.Clock = serverClock;
    // The board's colours and minutes take the server's time from the polls' readings too;
    // before the first poll's reading, the server is asked once.
    main->serverTime().carry(*serverClock);
    serverClock->ask = [base, ask = serverClock->ask]() -> std::optional<QDateTime> {
        return base->MyDB.connected() ? ask() : std::nullopt;
    };
    m_forms.Ages = new PanelAges(main->board(), main->panels(), *serverClock, main);
    m_forms.AllDay = new Form_AllDay(state, platform.display, main->gate(), main);
    m_forms.AllDay->attach(*m_forms.Work, *serverClock,
                           [main](qint64 order, const QString& dish) { main->openOrderOf(order, dish); });
    Form_AllDay* allDay = m_forms.AllDay;
    main->gate().routeKeys(allDay, allDay->keys(), platform.dialogs);
    m_forms.Polling = new PollingCycle(*base, m_journal, *m_forms.Alert,
                                       {[main] { return main->board().served(); },
                                        [main] { main->refreshBoard(); },
                                        [main](const QString& headline, const QString& detail) {
                                            main->Strip->showProblem(headline, detail);
                                        },
                                        [main, work = m_forms.Work, &clock = platform.clock] {
                                            work->refresh(main->board().served(), clock.now());
                                        },
                                        [serverClock](const QDateTime& server) { serverClock->note(server); }},
                                       platform.dialogs, platform.clock, base);
    QObject::connect(main->GHot, &DataGrid::scrolledToEnd, m_forms.Polling, &PollingCycle::showMoreHot);
    PollingCycle* polling = m_forms.Polling;
    // A new dish is to be seen, also on a screen that went dark.
    QObject::connect(polling, &PollingCycle::announced, polling, [&screen = platform.screen] { screen.wake(); });
    base->hooks.serverAwaited = [polling](const QString& error) { polling->awaitServer(error); };

    base->FormCreate();
    created(base);
    auto* menu = new MenuBrowser(*base, platform.dialogs, base);
    created(m_forms.Klava = new Form_Klava(state, platform.dialogs, platform.display, *menu,
                                           m_forms.Limit));
    m_forms.Limit->attach(*menu, *m_forms.Klava);
    // The manager's windows, a stray tap away on the board, do not stay over it unattended.
    InputGate& gate = main->gate();
    Form_Vid* vid = m_forms.Vid;
    gate.closeWhenLeft(vid, [vid] { vid->takeBackUntouched(); });
    for (QDialog* window : std::initializer_list<QDialog*>{m_forms.Net, m_forms.Psw, m_forms.Limit, m_forms.Klava})
        gate.closeWhenLeft(window);
    state.FormsReady = true;
    // A settings file that could not be read took its default: said where an IT person looks.
    if (const QStringList unreadable = SettingsFile::unreadable(); !unreadable.isEmpty())
        main->Strip->showProblem(QStringLiteral("Файл настроек не читается, взяты значения по умолчанию"),
                                 unreadable.join(QStringLiteral("; ")));
}

ProgramWindows::~ProgramWindows()
{
    m_main.reset();
    m_journal.close();
}

int runProgram(AppState& state, Platform platform)
{
    qCInfo(lcMonitor).noquote() << "start: version" << MONITOR_VERSION << "settings in" << state.settingsFolder;
    int status = 0;
    // Told from the start on: a start that waits for a person in a settings window is alive.
    ServiceWatch watch(state.settingsFolder, platform.clock);
    {
        ProgramWindows windows(state, platform);
        const Forms& forms = windows.forms();
        watch.pollingActive = [base = forms.Base] { return base->TimerHot.isActive(); };
        QObject::connect(forms.Polling, &PollingCycle::polled, &watch, [&watch, main = forms.Main](const QString& problem) {
            watch.setSections(LogLines::served(main->board().served()));
            watch.polled(problem);
        });
        QObject::connect(forms.Polling, &PollingCycle::announced, &watch, &ServiceWatch::announced);
        QObject::connect(forms.Alert, &SoundAlert::silenceChanged, &watch, &ServiceWatch::setSilence);
        windows.journal().started(QStringLiteral(MONITOR_VERSION));
        std::unique_ptr<StallMeter> stalls;
        if (StallMeter::wanted()) {
            stalls = std::make_unique<StallMeter>();
            QObject::connect(forms.Polling, &PollingCycle::polled, stalls.get(), &StallMeter::polled);
        }
        Form_Main* main = windows.forms().Main;
        // A window may have ended the program while the windows were being created.
        if (!main->isClosed()) {
            main->show();
            watch.boardShown();
            // The first polling cycle as soon as the board is up, not a period later.
            if (windows.forms().Base->TimerHot.isActive())
                QTimer::singleShot(0, windows.forms().Polling, &PollingCycle::onTimer);
            platform.screen.keepOn();
            status = QApplication::exec();
            platform.screen.release();
        }
        if (status == 0 && state.RestartNeeded)
            status = RestartExitStatus;
        windows.journal().ended(status);
    }
    if (status == RestartExitStatus)
        qCInfo(lcMonitor) << "exit: status" << status << "(to be started again)";
    else
        qCInfo(lcMonitor) << "exit: status" << status;
    return status;
}
