#include "Form_Vid.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "RadioGroup.h"
#include "RestartQuestion.h"
#include "Settings.h"
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

using namespace Qt::StringLiterals;
using Key = Settings::Key;

const QString Form_Vid::SoundFilter = u"Звуковые файлы (wav, mid, mp3)|*.wav; *.mid; *.mp3"_s;
const QString Form_Vid::NoSoundFileMessage =
    u"Выбран вывод звука на мультимедиа, однако не выбран звуковой файл. Нажмите кнопку \"Настройка мульти-медиа звука\" !"_s;
const QString Form_Vid::IdleMessage = u"В поле интервала должно быть целое положительное число"_s;
const QString Form_Vid::DurationMessage =
    u"В поле длительности сигнала должно быть целое положительное число в интервале от 50 до 2000"_s;
const QString Form_Vid::AmountMessage =
    u"В поле количества гудков должно быть целое положительное число в интервале от 1 до 10"_s;
const QString Form_Vid::RestartMessage = u"Изменены настройки, программу нужно перезапустить !"_s;

Form_Vid::Form_Vid(AppState& state, Settings& settings, Dialogs& dialogs, DisplayMode& display,
                   SoundPlayer& player, QTimer& idleTimer, QWidget* mainWindow)
    : DesignDialog(u"Form_Vid"_s, u"Настройки программы"_s, QSize(248, 316),
                   TitleButtons::CloseOnly, mainWindow),
      m_state(state), m_settings(settings), m_dialogs(dialogs), m_player(player), m_idleTimer(idleTimer),
      m_mainWindow(mainWindow)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
    FormCreate();
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

void Form_Vid::FormCreate()
{
    // The object read the files at start; the view opens at the stored one, so that a kiosk
    // whose text size is changed stays full screen.
    RadioGroup1->setItemIndex(m_settings.fullScreen() ? 1 : 0);
    RadioGroup2->setItemIndex(m_settings.output());
    E_Idle->setText(m_settings.idle());
    m_idleTimer.start();
    CB_Gruppa->setChecked(m_settings.groupShown());
    RG_TextSize->setItemIndex(m_settings.textSize());
    E_Duration->setText(m_settings.duration());
    E_Amount->setText(m_settings.amount());

    // From now on the fields are the values the monitor works with, as typed.
    connect(E_Idle, &QLineEdit::textChanged, this, [this](const QString& text) { m_settings.set(Key::Idle, text); });
    connect(E_Duration, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_settings.set(Key::Duration, text); });
    connect(E_Amount, &QLineEdit::textChanged, this, [this](const QString& text) { m_settings.set(Key::Amount, text); });
    connect(RadioGroup2, &RadioGroup::clicked, this,
            [this](int item) { m_settings.set(Key::Output, QString::number(item)); });
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
    m_shown = {E_Idle->text(), E_Duration->text(), E_Amount->text(), RadioGroup2->itemIndex()};
    RadioGroup2Click();
}

void Form_Vid::takeBackUntouched()
{
    // Nobody was there: the live values go back to what they were when the window opened.
    E_Idle->setText(m_shown.idle);
    E_Duration->setText(m_shown.duration);
    E_Amount->setText(m_shown.amount);
    if (RadioGroup2->itemIndex() != m_shown.output) {
        RadioGroup2->setItemIndex(m_shown.output);
        m_settings.set(Key::Output, QString::number(m_shown.output));
        RadioGroup2Click();
    }
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
    m_settings.write(Key::SoundFile, path);
    m_player.open(path);
}

void Form_Vid::BitBtn1Click()
{
    const bool multimedia = RadioGroup2->itemIndex() == 1;
    if (multimedia && m_settings.soundFile().isEmpty()) {
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

    if (!RestartQuestion::agreed(m_dialogs, this))
        return;
    // The board keeps the view it was set up with; these apply at the next start.
    m_settings.set(Key::Screen, RadioGroup1->itemIndex() == 1 ? SettingsNames::ScreenFull : SettingsNames::ScreenWindow);
    m_settings.set(Key::Gruppa, CB_Gruppa->isChecked() ? u"1"_s : u"0"_s);
    m_settings.set(Key::TextSize, QString::number(qMax(0, RG_TextSize->itemIndex())));
    m_settings.set(Key::Output, QString::number(RadioGroup2->itemIndex()));
    if (multimedia)
        m_settings.write(Key::SavedSound, m_settings.soundFile());
    m_settings.store({Key::Output, Key::Screen, Key::Gruppa, Key::TextSize, Key::Idle, Key::Duration});

    m_dialogs.message(this, RestartMessage);
    accept();
    m_state.RestartNeeded = true;
    if (m_mainWindow)
        m_mainWindow->close();
}
