#include "Form_Psw.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Form_Base.h"
#include "Form_Util.h"
#include "RadioGroup.h"
#include "RestartQuestion.h"
#include "SettingsFile.h"
#include "SettingsNames.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

const QString Form_Psw::QuestionCaption = u"Смена системного пароля"_s;
const QString Form_Psw::DefaultQuestion =
    u"Вы действительно желаете чтобы программа обращалась к базе данных с системным паролем по умолчанию ?"_s;
const QString Form_Psw::NoPasswordMessage = u"Вы не ввели пароль !!!"_s;
const QString Form_Psw::MismatchMessage = u"Пароль и подтверждение пароля не совпадают !!!"_s;
const QString Form_Psw::LengthMessage =
    u"Длинна пароля должна быть не меньше 6 и не больше 255 символов !!!"_s;
const QString Form_Psw::LettersMessage =
    u"Пароль должен состоять только из латинских букв и цифр без пробелов !!!"_s;
const QString Form_Psw::RestartMessage =
    u"Для того чтоб изменения вступили в силу, необходимо перезапустить программу !"_s;

namespace {

bool latinOrDigit(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

QLineEdit* passwordField(const char* name, const QRect& place, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place);
    edit->setFont(DesignFonts::dialog(11, true));
    edit->setEchoMode(QLineEdit::Password);
    // Masked with '*' whatever the style's own mask character.
    edit->setStyleSheet(u"lineedit-password-character: 42"_s);
    edit->hide();
    return edit;
}

QLabel* title(const char* name, const QString& text, const QRect& place, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setFont(DesignFonts::dialog(11, true));
    label->hide();
    return label;
}

} // namespace

Form_Psw::Form_Psw(AppState& state, Dialogs& dialogs, DisplayMode& display, Form_Util& util,
                   QWidget* mainWindow)
    : DesignDialog(u"Form_Psw"_s, u"Системный пароль доступа к базе данных"_s, QSize(297, 349),
                   TitleButtons::None, mainWindow),
      m_state(state), m_dialogs(dialogs), m_util(util), m_mainWindow(mainWindow)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
    FormCreate();
}

void Form_Psw::buildControls()
{
    const QStringList warning{
        u"В Н И М А Н И Е !!!"_s,
        u"Смена системного пароля в программе"_s,
        u"должна производится только после "_s,
        u"того, как был изменён системный "_s,
        u"пароль в самой базе данных. Сделать "_s,
        u"это можно программой GSEC или isql"_s,
        u"(ALTER USER): на Windows в каталоге"_s,
        u"c:\\Program Files\\Firebird\\...\\Bin,"_s,
        u"на сервере Linux (Debian) из пакета"_s,
        u"firebird3.0-utils: isql-fb, gsec."_s,
        u"Прочитайте внимательно инструкцию !"_s,
    };
    Label1 = new QLabel(warning.join(u'\n'), this);
    Label1->setObjectName(u"Label1"_s);
    Label1->setGeometry(0, 0, 294, 160);
    Label1->setFont(DesignFonts::dialog(13, true));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label1->setPalette(red);

    RadioGroup1 = new RadioGroup(u"Какой пароль используется для доступа к Б/Д"_s,
                                 {u"Системный пароль по умолчанию"_s, u"Собственный пароль"_s}, 1, this);
    RadioGroup1->setObjectName(u"RadioGroup1"_s);
    RadioGroup1->setGeometry(0, 168, 297, 105);
    RadioGroup1->setItemIndex(0);

    Label3 = title("Label3", u"Пароль"_s, {0, 276, 45, 13}, this);
    Label2 = title("Label2", u"Подтверждение пароля"_s, {152, 276, 141, 13}, this);
    EPsw = passwordField("EPsw", {0, 292, 145, 21}, this);
    EPsw2 = passwordField("EPsw2", {152, 292, 145, 21}, this);

    BitBtn1 = new QPushButton(ButtonPictures::icon(Picture::Ok), u"OK"_s, this);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn1->setGeometry(0, 324, 145, 25);
    BitBtn1->setIconSize(QSize(16, 16));
    BitBtn1->setDefault(true);

    BitBtn2 = new QPushButton(ButtonPictures::icon(Picture::Cancel), u"Cancel"_s, this);
    BitBtn2->setObjectName(u"BitBtn2"_s);
    BitBtn2->setGeometry(152, 324, 145, 25);
    BitBtn2->setIconSize(QSize(16, 16));

    BitBtn3 = new QPushButton(this);
    BitBtn3->setObjectName(u"BitBtn3"_s);
    BitBtn3->setGeometry(168, 188, 75, 25);
    BitBtn3->hide();

    const QList<QWidget*> order{RadioGroup1->item(0), RadioGroup1->item(1), BitBtn1, BitBtn2,
                                EPsw, EPsw2};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(RadioGroup1, &RadioGroup::clicked, this, &Form_Psw::RadioGroup1Click);
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { reportErrors(m_dialogs, this, [this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::accept);
}

void Form_Psw::FormCreate()
{
    // Centred on the scaled dialog, so the warning sits in the middle at any screen size.
    Label1->move(qRound((width() - Label1->width()) / 2.0), Label1->y());
}

void Form_Psw::RadioGroup1Click()
{
    const bool own = RadioGroup1->itemIndex() == 1;
    const QList<QWidget*> ownPassword{EPsw, EPsw2, Label3, Label2};
    for (QWidget* w : ownPassword)
        w->setVisible(own);
}

void Form_Psw::refuse(const QString& message, bool clearFields)
{
    m_dialogs.message(this, message);
    if (clearFields) {
        EPsw->clear();
        EPsw2->clear();
    }
    EPsw->setFocus();
}

void Form_Psw::BitBtn1Click()
{
    if (RadioGroup1->itemIndex() != 1) {
        if (!m_dialogs.question(this, QuestionCaption, DefaultQuestion, Dialogs::Focus::Cancel))
            return;
        EPsw->setText(QString::fromLatin1(Form_Base::DefaultPassword));
        store();
        return;
    }
    const QString password = EPsw->text();
    if (password.isEmpty())
        return refuse(NoPasswordMessage, false);
    if (password != EPsw2->text())
        return refuse(MismatchMessage, true);
    // Firebird 3's own authentication (SRP) takes long passwords, up to the 255 bytes of the
    // connection's parameter; 8 was the old one's limit, shorter than the monitor's own default.
    if (password.size() < 6 || password.size() > MaxPasswordLength)
        return refuse(LengthMessage, true);
    if (!std::all_of(password.cbegin(), password.cend(), latinOrDigit))
        return refuse(LettersMessage, true);
    // The default's own question above asks already.
    if (!RestartQuestion::agreed(m_dialogs, this))
        return;
    store();
}

void Form_Psw::store()
{
    // Only Latin letters and digits get here, one byte each.
    const QByteArray bytes = m_util.ScramblePassword(EPsw->text().toLatin1());
    SettingsFile(m_state.settingsFolder, SettingsNames::Psw).writePrivateBytes(bytes);

    accept();
    m_dialogs.message(this, RestartMessage);
    m_state.RestartNeeded = true;
    if (m_mainWindow)
        m_mainWindow->close();
}
