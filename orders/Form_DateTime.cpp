#include "Form_DateTime.h"

#include "ButtonPictures.h"
#include "DesignFonts.h"
#include "DisplayMode.h"
#include "LocaleFormats.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

using namespace Qt::StringLiterals;
using Picture = ButtonPictures::Picture;

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

Form_DateTime::Form_DateTime(AppState& state, DisplayMode& display, QWidget* parent)
    : DesignDialog(u"Form_DateTime"_s, u"Дата и время подачи"_s, QSize(171, 125), TitleButtons::None, parent)
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
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    scaleForScreen(state, display.screenSize());
}

void Form_DateTime::setMoment(const QDateTime& moment)
{
    DateTimePicker1->setDate(moment.date());
    DateTimePicker2->setTime(moment.time());
    DateTimePicker1->setFocus();
}

QDateTime Form_DateTime::moment() const
{
    return QDateTime(DateTimePicker1->date(), DateTimePicker2->time());
}
