#include "Form_DateTime.h"

#include "ButtonPictures.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "LocaleFormats.h"

#include <QDateEdit>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

#include <utility>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

const QString Form_DateTime::RangeMessage = u"Дата подачи должна быть не раньше %1 и не позже %2 !"_s;

namespace {
QLabel* blueLabel(const char* name, const QString& text, QPoint at, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(DesignFonts::arial(13));
    label->move(at);
    label->adjustSize();
    QPalette blue = label->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(blue);
    return label;
}
}

Form_DateTime::Form_DateTime(AppState& state, Dialogs& dialogs, DisplayMode& display, QWidget* parent)
    : DesignDialog(u"Form_DateTime"_s, u"Дата и время подачи"_s, QSize(171, 125), TitleButtons::None, parent),
      m_dialogs(dialogs)
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(u"Panel1"_s);
    Panel1->setGeometry(0, 0, 171, 125);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

    Label1 = blueLabel("Label1", u"Дата"_s, {4, 4}, Panel1);
    DateTimePicker1 = new QDateEdit(Panel1);
    DateTimePicker1->setObjectName(u"DateTimePicker1"_s);
    DateTimePicker1->setGeometry(4, 20, 164, 21);
    DateTimePicker1->setDisplayFormat(LocaleFormats::shortDate());
    DateTimePicker1->setCalendarPopup(true);
    // Any year can be typed, so that one out of range is told rather than silently put back.
    DateTimePicker1->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    DateTimePicker1->installEventFilter(this);

    Label2 = blueLabel("Label2", u"Время"_s, {4, 48}, Panel1);
    DateTimePicker2 = new QTimeEdit(Panel1);
    DateTimePicker2->setObjectName(u"DateTimePicker2"_s);
    DateTimePicker2->setGeometry(4, 64, 164, 21);
    DateTimePicker2->setDisplayFormat(LocaleFormats::longTime());

    BitBtn1 = new QPushButton(ButtonPictures::icon(Picture::Ok), u"OK"_s, Panel1);
    BitBtn1->setObjectName(u"BitBtn1"_s);
    BitBtn1->setGeometry(4, 96, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(ButtonPictures::icon(Picture::Cancel), u"Cancel"_s, Panel1);
    BitBtn2->setObjectName(u"BitBtn2"_s);
    BitBtn2->setGeometry(91, 96, 75, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &Form_DateTime::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    scaleForScreen(state, display.screenSize());
    // Fusion draws the arrows at one width whatever the window's scale: they grow with the
    // fields, to be hit by a finger. Styled so, a field draws its frame only when told to.
    if (DateTimePicker2->height() > 21) {
        const QString frame = u"%1 { border: 1px solid palette(mid); border-radius: 2px; background: palette(base); }"_s;
        const QString width = u" { width: %1px; }"_s.arg(DateTimePicker2->height());
        DateTimePicker1->setStyleSheet(frame.arg(u"QDateEdit"_s) + u" QDateEdit::drop-down"_s + width);
        DateTimePicker2->setStyleSheet(frame.arg(u"QTimeEdit"_s) + u" QTimeEdit::up-button, QTimeEdit::down-button"_s + width);
    }
}

void Form_DateTime::setMoment(const QDateTime& moment)
{
    m_earliest = moment.date().addYears(-1);
    m_latest = moment.date().addYears(1);
    m_refused = false;
    DateTimePicker1->setDate(moment.date());
    DateTimePicker2->setTime(moment.time());
    DateTimePicker1->setFocus();
}

QDateTime Form_DateTime::moment() const
{
    return QDateTime(DateTimePicker1->date(), DateTimePicker2->time());
}

void Form_DateTime::BitBtn1Click()
{
    const QDate date = DateTimePicker1->date();
    if (std::exchange(m_refused, false) || date < m_earliest || date > m_latest) {
        const QString format = LocaleFormats::shortDate();
        m_dialogs.message(this, RangeMessage.arg(m_earliest.toString(format), m_latest.toString(format)));
        DateTimePicker1->setFocus();
        return;
    }
    accept();
}

bool Form_DateTime::eventFilter(QObject* watched, QEvent* event)
{
    // A date the picker cannot take (year 0001) is put back to the last one it could as the
    // focus leaves it or Enter is pressed: remembered here, told at OK.
    if (watched == DateTimePicker1 && !DateTimePicker1->hasAcceptableInput()) {
        const bool enter = event->type() == QEvent::KeyPress
                           && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return
                               || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (enter || event->type() == QEvent::FocusOut)
            m_refused = true;
    }
    return DesignDialog::eventFilter(watched, event);
}
