#include "Form_Vid.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "RadioGroup.h"
#include "SettingsFile.h"
#include "SettingsNames.h"
#include "SoundPlayer.h"
#include "ViewSettings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <stdexcept>

using namespace Qt::StringLiterals;
namespace N = SettingsNames;

const QString Form_Vid::SoundFilter = u"Звуковые файлы (wav, mid, mp3)|*.wav; *.mid; *.mp3"_s;
const QString Form_Vid::NoSoundFileMessage =
    u"Выбран вывод звука на мультимедиа, однако не выбран звуковой файл. Нажмите кнопку \"Настройка мульти-медиа звука\" !"_s;
const QString Form_Vid::IdleMessage = u"В поле интервала должно быть целое положительное число"_s;
const QString Form_Vid::DurationMessage =
    u"В поле длительности сигнала должно быть целое положительное число в интервале от 50 до 2000"_s;
const QString Form_Vid::AmountMessage =
    u"В поле количества гудков должно быть целое положительное число в интервале от 1 до 10"_s;
const QString Form_Vid::RestartMessage = u"Изменены настройки, программу нужно перезапустить !"_s;
const QString Form_Vid::DefaultsTakenMessage =
    u"Для настроек, которые не удалось прочитать, до перезапуска программы действуют значения по умолчанию."_s;

Form_Vid::Form_Vid(AppState& state, Dialogs& dialogs, DisplayMode& display, SoundPlayer& player,
                   QTimer& idleTimer, QWidget* mainWindow)
    : DesignDialog(u"Form_Vid"_s, u"Настройки программы"_s, QSize(248, 316),
                   TitleButtons::CloseOnly, mainWindow),
      m_state(state), m_dialogs(dialogs), m_player(player), m_idleTimer(idleTimer),
      m_mainWindow(mainWindow)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
    reportErrors(m_dialogs, m_mainWindow, [this] { FormCreate(); });
}

void Form_Vid::buildControls()
{
    RadioGroup1 = new RadioGroup(u"Вид"_s, {u"Оконный"_s, u"Полноэкранный"_s}, 2, this);
    RadioGroup1->setObjectName(u"RadioGroup1"_s);
    RadioGroup1->setGeometry(0, 0, 245, 45);
    RadioGroup1->setItemIndex(0);

    CB_Gruppa = new QCheckBox(u"Включить колонку \"Группы блюд\""_s, this);
    CB_Gruppa->setObjectName(u"CB_Gruppa"_s);
    CB_Gruppa->setGeometry(0, 48, 241, 17);

    Label1 = new QLabel(u"Интервал автоматического\nсворачивания окон (секунд)"_s, this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setGeometry(0, 72, 142, 26);

    E_Idle = new QLineEdit(this);
    E_Idle->setObjectName(u"E_Idle"_s);
    E_Idle->setGeometry(148, 76, 96, 21);

    RadioGroup2 = new RadioGroup(u"Куда выводить звук"_s, {u"Сист.динамик"_s, u"Мульти-медиа"_s}, 2, this);
    RadioGroup2->setObjectName(u"RadioGroup2"_s);
    RadioGroup2->setGeometry(4, 100, 241, 41);

    Label2 = new QLabel(u"Продолжительность\nсигнала (милисекунд)"_s, this);
    Label2->setObjectName(u"Label2"_s);
    Label2->setGeometry(4, 144, 111, 26);
    Label2->setAlignment(Qt::AlignCenter);

    Label3 = new QLabel(u"Количество гудков при\nприходе заказа"_s, this);
    Label3->setObjectName(u"Label3"_s);
    Label3->setGeometry(128, 144, 117, 26);
    Label3->setAlignment(Qt::AlignCenter);

    Btn_SetupSound = new QPushButton(ButtonPictures::icon(ButtonPictures::Picture::Sound),
                                     u"Настройка мульти-медиа звука"_s, this);
    Btn_SetupSound->setObjectName(u"Btn_SetupSound"_s);
    Btn_SetupSound->setGeometry(4, 142, 241, 29);
    Btn_SetupSound->setIconSize(QSize(18, 18));
    Btn_SetupSound->hide();

    E_Duration = new QLineEdit(this);
    E_Duration->setObjectName(u"E_Duration"_s);
    E_Duration->setGeometry(0, 172, 121, 21);

    E_Amount = new QLineEdit(this);
    E_Amount->setObjectName(u"E_Amount"_s);
    E_Amount->setGeometry(126, 172, 121, 21);

    RG_TextSize = new RadioGroup(u"Размер текста"_s, {u"Обычный"_s, u"Крупный"_s, u"Очень крупный"_s}, 2, this);
    RG_TextSize->setObjectName(u"RG_TextSize"_s);
    RG_TextSize->setGeometry(0, 198, 247, 58);
    RG_TextSize->setItemIndex(0);

    BitBtn1 = new QPushButton(ButtonPictures::icon(ButtonPictures::Picture::Ok), u"OK"_s, this);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn1->setGeometry(0, 262, 120, 25);
    BitBtn1->setIconSize(QSize(16, 16));
    BitBtn1->setDefault(true);

    BitBtn2 = new QPushButton(ButtonPictures::icon(ButtonPictures::Picture::Cancel), u"Cancel"_s, this);
    BitBtn2->setObjectName(u"BitBtn2"_s);
    BitBtn2->setGeometry(128, 262, 120, 25);
    BitBtn2->setIconSize(QSize(16, 16));

    // The kitchen manager's figures, below the settings.
    BtnStat = new QPushButton(u"Статистика"_s, this);
    BtnStat->setObjectName(u"BtnStat"_s);
    BtnStat->setGeometry(0, 291, 248, 25);

    const QList<QWidget*> order{RadioGroup1->item(0), RadioGroup1->item(1), BitBtn1, BitBtn2,
                                CB_Gruppa, E_Idle, E_Duration, E_Amount, RadioGroup2->item(0),
                                RadioGroup2->item(1), Btn_SetupSound, RG_TextSize->item(0),
                                RG_TextSize->item(1), RG_TextSize->item(2), BtnStat};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(RadioGroup2, &RadioGroup::clicked, this, &Form_Vid::RadioGroup2Click);
    connect(Btn_SetupSound, &QPushButton::clicked, this,
            [this] { reportErrors(m_dialogs, this, [this] { Btn_SetupSoundClick(); }); });
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { reportErrors(m_dialogs, this, [this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnStat, &QPushButton::clicked, this, [this] {
        if (showStatistics)
            reportErrors(m_dialogs, this, [this] { showStatistics(); });
    });
}

SettingsFile Form_Vid::file(const QString& name) const
{
    return SettingsFile(m_state.settingsFolder, name);
}

void Form_Vid::FormCreate()
{
    // Every value starts at its default, and each file is read on its own: a file that cannot
    // be read is told about once, with the others, and its values keep their defaults for the
    // run, so the alerts still sound and the idle check still works.
    RadioGroup1->setItemIndex(0);
    RadioGroup2->setItemIndex(0);
    E_Idle->setText(N::IdleDefault.front());
    CB_Gruppa->setChecked(false);
    RG_TextSize->setItemIndex(0);
    E_Duration->setText(N::SignalDefault[0]);
    E_Amount->setText(N::SignalDefault[1]);
    QStringList problems;
    auto step = [&problems](const auto& body) {
        try {
            body();
        } catch (const std::exception& e) {
            problems << QString::fromUtf8(e.what());
        }
    };

    // The view the board was started in, so that saving other settings keeps it. The board
    // itself makes the file and mends a wrong line.
    step([this] {
        const SettingsFile screen = file(N::Screen);
        if (screen.exists() && screen.readLinesOr({N::ScreenWindow}).value(0) == N::ScreenFull)
            RadioGroup1->setItemIndex(1);
    });

    step([this] {
        const SettingsFile tsound = file(N::TSound);
        if (tsound.createIfMissing(N::TSoundDefault)) {
            m_state.SoundFile.clear();
            return;
        }
        const qint64 stored = ViewSettings::firstWholeNumber(SettingsFile::encode(tsound.readLinesOr(N::TSoundDefault)));
        RadioGroup2->setItemIndex(ViewSettings::outputItem(stored));
        if (stored > 0) {
            const SettingsFile fsound = file(N::FSound);
            m_state.SoundFile = fsound.exists() ? fsound.line(0, QString()) : QString();
        }
    });

    step([this] {
        const SettingsFile idle = file(N::Idle);
        idle.createIfMissing(N::IdleDefault);
        E_Idle->setText(ViewSettings::loadIdle(idle.lineOr(0, u"5"_s)));
    });

    m_idleTimer.start();

    step([this] {
        const SettingsFile gruppa = file(N::Gruppa);
        gruppa.createIfMissing(N::GruppaDefault);
        CB_Gruppa->setChecked(gruppa.lineOr(0, u"0"_s) == u"1");
    });

    step([this] {
        const SettingsFile text = file(N::TextSize);
        text.createIfMissing(N::TextSizeDefault);
        RG_TextSize->setItemIndex(ViewSettings::loadTextSize(text.lineOr(0, QString())));
    });

    step([this] {
        const SettingsFile signal = file(N::Signal);
        signal.createIfMissing(N::SignalDefault);
        const QStringList lines = signal.readLinesOr(N::SignalDefault);
        E_Duration->setText(ViewSettings::loadDuration(lines.value(0, u"0"_s)));
        E_Amount->setText(ViewSettings::loadAmount(lines.value(1, u"0"_s)));
    });

    if (!problems.isEmpty())
        throw std::runtime_error((problems.join(u'\n') + u"\n"_s + DefaultsTakenMessage).toStdString());
}

void Form_Vid::showEvent(QShowEvent* event)
{
    DesignDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Form_Vid::FormShow()
{
    m_idleTimer.stop();
    RadioGroup2Click();
}

void Form_Vid::RadioGroup2Click()
{
    const bool speaker = RadioGroup2->itemIndex() == 0;
    Btn_SetupSound->setVisible(!speaker);
    E_Duration->setVisible(speaker);
    E_Amount->setVisible(speaker);
}

void Form_Vid::Btn_SetupSoundClick()
{
    const QString path = m_dialogs.openFileName(this, SoundFilter);
    if (path.isEmpty())
        return;
    // Stored first, so that a path the file cannot hold leaves the old choice whole.
    file(N::FSound).write({path});
    m_state.SoundFile = path;
    m_player.open(path);
}

void Form_Vid::BitBtn1Click()
{
    const bool multimedia = RadioGroup2->itemIndex() == 1;
    if (multimedia && m_state.SoundFile.isEmpty()) {
        m_dialogs.message(this, NoSoundFileMessage);
        RadioGroup2->setItemIndex(0);
        return;
    }
    // Every check runs before any file is touched: a refused save changes nothing on disk.
    const struct {
        QLineEdit* field;
        bool ok;
        const QString& message;
    } checks[] = {
        {E_Idle, ViewSettings::validIdle(E_Idle->text()), IdleMessage},
        {E_Duration, ViewSettings::validDuration(E_Duration->text()), DurationMessage},
        {E_Amount, ViewSettings::validAmount(E_Amount->text()), AmountMessage},
    };
    for (const auto& check : checks) {
        if (!check.ok) {
            m_dialogs.message(this, check.message);
            check.field->setFocus();
            return;
        }
    }

    if (multimedia)
        file(N::Sound).write({m_state.SoundFile});
    file(N::TSound).write({QString::number(RadioGroup2->itemIndex())});
    file(N::Screen).write({RadioGroup1->itemIndex() == 1 ? N::ScreenFull : N::ScreenWindow});
    file(N::Gruppa).write({CB_Gruppa->isChecked() ? u"1"_s : u"0"_s});
    file(N::TextSize).write({QString::number(qMax(0, RG_TextSize->itemIndex()))});
    file(N::Idle).write({E_Idle->text()});
    file(N::Signal).write({E_Duration->text(), E_Amount->text()});

    m_dialogs.message(this, RestartMessage);
    accept();
    m_state.RestartNeeded = true;
    if (m_mainWindow)
        m_mainWindow->close();
}
