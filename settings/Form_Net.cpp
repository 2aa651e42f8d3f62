#include "Form_Net.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Psw.h"
#include "RestartQuestion.h"
#include "NetSettings.h"
#include "RadioGroup.h"
#include "SettingsFile.h"
#include "SettingsNames.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

const QString Form_Net::DefaultPath = u"c:\\Program Files\\Parvolin\\dishbase.fdb"_s;
const QString Form_Net::DatabaseFilter = u"База данных FireBird|*.fdb"_s;
const QString Form_Net::NoPathMessage = u"Укажите путь к базе данных !!!"_s;
const QString Form_Net::FileNotFoundMessage = u"По указанному пути файл не найден !!!"_s;
const QString Form_Net::AddressGroupMessage = u"В поле должно быть не менее одной и не более трёх цифр"_s;
const QString Form_Net::ServerMessage =
    u"Укажите IP адрес (четыре числа), имя сервера или адрес IPv6, после \"/\" можно указать порт от 1 до 65535"_s;
const QString Form_Net::WrongPathMessage = u"Путь к базе данных указан неверно !"_s;
const QString Form_Net::RestartMessage =
    u"Для того чтоб изменения вступили в силу, необходимо перезапустить программу !"_s;

namespace {

const QString LocalMode = u"Local"_s;
const QString NetworkMode = u"Net-IP"_s;
const QString LocalHost = u"localhost:"_s;
// Shorter paths cannot name a database file at all.
constexpr int MinPathLength = 15;

bool onlyDigits(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QFrame* bevel(const QRect& place, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(place);
    return frame;
}

QLineEdit* field(const char* name, const QRect& place, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place);
    edit->setFont(DesignFonts::dialog(13, true));
    return edit;
}

QLabel* label(const char* name, const QString& text, const QRect& place, const QFont& font,
              QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(place);
    l->setFont(font);
    return l;
}

QPushButton* pictureButton(const char* name, const QIcon& icon, const QString& text,
                           const QRect& place, QWidget* parent)
{
    auto* button = new QPushButton(icon, text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

Form_Net::Form_Net(AppState& state, Dialogs& dialogs, DisplayMode& display, Form_Psw* const& psw,
                   QWidget* mainWindow)
    : DesignDialog(u"Form_Net"_s, u"Настройка программы для работы в сети"_s, QSize(425, 481),
                   TitleButtons::None, mainWindow),
      m_state(state), m_dialogs(dialogs), m_psw(psw), m_mainWindow(mainWindow)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
}

void Form_Net::buildControls()
{
    Bevel1 = bevel({0, 0, 425, 29}, this);
    Bevel1->setObjectName(u"Bevel1"_s);
    Label1 = label("Label1", u"Проверте, установлен ли протокол TCP/IP"_s, {24, 5, 363, 20},
                   DesignFonts::dialog(16, true), this);
    Label1->setAlignment(Qt::AlignCenter);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label1->setPalette(red);

    RadioGroup1 = new RadioGroup(u"Режим работы программы"_s,
                                 {u"Локальный (программа и база на одном компьютере)"_s,
                                  u"Сетевой   (необходимо знать адрес или имя сервера)"_s},
                                 1, this);
    RadioGroup1->setObjectName(u"RadioGroup1"_s);
    RadioGroup1->setGeometry(0, 32, 425, 85);
    RadioGroup1->setItemIndex(0);

    Bevel2 = bevel({0, 120, 425, 165}, this);
    Bevel2->setObjectName(u"Bevel2"_s);
    const QStringList explanation{
        u"Путь к базе на компьютере где она расположена,"_s,
        u"как будто она на его локальном диске, и для"_s,
        u"локальной, и для сетевой базы. Сервер Windows:"_s,
        DefaultPath,
        u"Сервер Linux: полный путь, например"_s,
        u"/var/lib/firebird/data/dishbase.fdb"_s,
        u"Никаких сетевых имён дисков !!!"_s,
    };
    Label2 = label("Label2", explanation.join(u'\n'), {20, 124, 382, 128},
                   DesignFonts::dialog(13, true), this);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    E_Path = field("E_Path", {8, 256, 389, 24}, this);
    E_Path->setText(DefaultPath);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(u"SpeedButton1"_s);
    SpeedButton1->setGeometry(396, 256, 23, 22);
    SpeedButton1->setIconSize(QSize(16, 16));
    SpeedButton1->setFocusPolicy(Qt::NoFocus);

    Bevel3 = bevel({64, 288, 297, 61}, this);
    Bevel3->setObjectName(u"Bevel3"_s);
    Label6 = label("Label6", u"IP адрес/порт, имя или IPv6 сервера"_s, {68, 296, 289, 16}, DesignFonts::dialog(13), this);
    Label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    E_IP1 = field("E_IP1", {120, 316, 37, 24}, this);
    E_IP2 = field("E_IP2", {168, 316, 37, 24}, this);
    E_IP3 = field("E_IP3", {216, 316, 37, 24}, this);
    // Wide enough to read a port after the last group.
    E_IP4 = field("E_IP4", {264, 316, 85, 24}, this);
    E_Host = field("E_Host", {76, 316, 273, 24}, this);
    E_Host->hide();
    Label3 = label("Label3", u"."_s, {158, 310, 11, 37}, DesignFonts::dialog(32, true), this);
    Label4 = label("Label4", u"."_s, {206, 310, 11, 37}, DesignFonts::dialog(32, true), this);
    Label5 = label("Label5", u"."_s, {254, 310, 11, 37}, DesignFonts::dialog(32, true), this);

    BitBtn2 = pictureButton("BitBtn2", ButtonPictures::icon(Picture::Options),
                            u"Изменить системный пароль для подключения к базе данных"_s,
                            {0, 368, 425, 41}, this);
    Btn_Default = pictureButton("Btn_Default", QIcon(),
                                u"Восстановить установки по умолчанию"_s, {0, 412, 425, 41}, this);
    BtnOK = pictureButton("BtnOK", ButtonPictures::icon(Picture::Ok), u"OK"_s, {0, 456, 210, 25}, this);
    BtnOK->setDefault(true);
    BtnCancel = pictureButton("BtnCancel", ButtonPictures::icon(Picture::Cancel), u"Cancel"_s,
                              {214, 456, 210, 25}, this);
    BitBtn1 = pictureButton("BitBtn1", QIcon(), QString(), {336, 60, 75, 25}, this);
    BitBtn1->hide();

    const QList<QWidget*> order{RadioGroup1->item(0), RadioGroup1->item(1), Btn_Default, E_Path,
                                E_IP1, E_Host, E_IP2, E_IP3, E_IP4, BtnOK, BtnCancel, BitBtn2};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    // A letter, a colon or a bracket cannot begin an IPv4 group: the server is named instead.
    connect(E_IP1, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter() || c == u':' || c == u'['; })) {
            E_Host->setText(text);
            E_IP1->clear();
            showServerName(true);
            E_Host->setFocus();
        }
    });
    connect(E_Host, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.isEmpty()) {
            showServerName(false);
            E_IP1->setFocus();
        }
    });
    RadioGroup1Click();
    connect(RadioGroup1, &RadioGroup::clicked, this, &Form_Net::RadioGroup1Click);
    connect(Btn_Default, &QPushButton::clicked, this, &Form_Net::Btn_DefaultClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &Form_Net::SpeedButton1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &Form_Net::BitBtn2Click);
    connect(BtnOK, &QPushButton::clicked, this,
            [this] { reportErrors(m_dialogs, this, [this] { BtnOKClick(); }); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void Form_Net::showEvent(QShowEvent* event)
{
    // The style's two pictures are read from their image files when the window is first shown,
    // not at the program's start, which would load the image readers for them.
    if (SpeedButton1->icon().isNull()) {
        SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        Btn_Default->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    }
    DesignDialog::showEvent(event);
    if (!event->spontaneous())
        reportErrors(m_dialogs, this, [this] { FormShow(); });
}

void Form_Net::FormShow()
{
    const NetSettings::Fields stored =
        NetSettings::read(SettingsFile(m_state.settingsFolder, SettingsNames::Net).readLines());
    if (stored.mode < 0)
        return;
    if (stored.mode == 1) {
        const auto fields = addressFields();
        for (size_t i = 0; i < fields.size(); ++i)
            fields[i]->setText(stored.address[i]);
    }
    showServerName(!stored.server.isEmpty());
    E_Host->setText(stored.server);
    E_Path->setText(stored.path);
    RadioGroup1->setItemIndex(stored.mode);
    RadioGroup1Click();
}

void Form_Net::RadioGroup1Click()
{
    const bool network = RadioGroup1->itemIndex() == 1;
    const QColor background = palette().color(network ? QPalette::Base : QPalette::Button);
    for (QLineEdit* edit : {E_IP1, E_IP2, E_IP3, E_IP4, E_Host}) {
        edit->setEnabled(network);
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, background);
        edit->setPalette(p);
    }
}

void Form_Net::showServerName(bool name)
{
    E_Host->setVisible(name);
    for (QWidget* w : std::initializer_list<QWidget*>{E_IP1, E_IP2, E_IP3, E_IP4, Label3, Label4, Label5})
        w->setVisible(!name);
    if (!name)
        E_Host->clear();
}

void Form_Net::Btn_DefaultClick()
{
    RadioGroup1->setItemIndex(0);
    RadioGroup1Click();
    E_Path->setText(DefaultPath);
}

void Form_Net::SpeedButton1Click()
{
    const QString path = m_dialogs.openFileName(this, DatabaseFilter);
    // The file box answers with forward slashes even on Windows, where the path is kept with
    // backslashes like a typed one.
    if (!path.isEmpty())
        E_Path->setText(QDir::toNativeSeparators(path));
}

void Form_Net::BitBtn2Click()
{
    // A saved password ends the program, so this dialog closes behind it.
    if (m_psw && m_psw->exec() == QDialog::Accepted)
        accept();
}

bool Form_Net::refuse(const QString& message, QLineEdit* field)
{
    m_dialogs.message(this, message);
    field->setFocus();
    return false;
}

bool Form_Net::validLocal()
{
    if (E_Path->text().size() < MinPathLength)
        return refuse(NoPathMessage, E_Path);
    if (!QFileInfo(E_Path->text()).isFile())
        return refuse(FileNotFoundMessage, E_Path);
    return true;
}

bool Form_Net::validNetwork()
{
    if (E_Host->isVisibleTo(this)) {
        if (!NetSettings::validServer(E_Host->text()))
            return refuse(ServerMessage, E_Host);
        return validServerPath();
    }
    // The last group may carry the server's port after a slash ("5/3051"), as the client
    // library reads "host/port"; the groups are checked without it.
    const QString last = E_IP4->text();
    const qsizetype slash = last.indexOf(u'/');
    auto group = [&](QLineEdit* edit) { return edit == E_IP4 && slash >= 0 ? last.left(slash) : edit->text(); };
    // Every group's length is checked before any group's digits.
    for (QLineEdit* edit : addressFields())
        if (group(edit).isEmpty() || group(edit).size() > 3)
            return refuse(AddressGroupMessage, edit);
    for (QLineEdit* edit : addressFields())
        if (!onlyDigits(group(edit)))
            return refuse(AddressGroupMessage, edit);
    if (slash >= 0) {
        const QString port = last.mid(slash + 1);
        if (port.isEmpty() || port.size() > 5 || !onlyDigits(port) || port.toInt() < 1 || port.toInt() > 65535)
            return refuse(AddressGroupMessage, E_IP4);
    }
    return validServerPath();
}

bool Form_Net::validServerPath()
{
    // The server's disk cannot be seen from here: only the path's form and file name are checked,
    // a Windows server's "X:\..." or a Linux server's absolute path.
    const QString path = E_Path->text();
    const bool windows = path.mid(1, 2) == u":\\";
    const bool absolute = path.startsWith(u'/') && !path.startsWith(u"//");
    if (path.size() < MinPathLength || !(windows || absolute) || !path.toUpper().endsWith(u"DISHBASE.FDB"))
        return refuse(WrongPathMessage, E_Path);
    return true;
}

void Form_Net::BtnOKClick()
{
    QStringList lines;
    if (RadioGroup1->itemIndex() == 1) {
        if (!validNetwork())
            return;
        const QString server = E_Host->isVisibleTo(this)
                                   ? NetSettings::storedServer(E_Host->text())
                                   : E_IP1->text() + u'.' + E_IP2->text() + u'.' + E_IP3->text() + u'.' + E_IP4->text();
        lines = {NetworkMode, server + u':' + E_Path->text()};
    } else {
        if (!validLocal())
            return;
        lines = {LocalMode, LocalHost + E_Path->text()};
    }
    if (!RestartQuestion::agreed(m_dialogs, this))
        return;
    SettingsFile(m_state.settingsFolder, SettingsNames::Net).write(lines);

    accept();
    m_dialogs.message(this, RestartMessage);
    m_state.RestartNeeded = true;
    if (m_mainWindow)
        m_mainWindow->close();
}
