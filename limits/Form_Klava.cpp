#include "Form_Klava.h"

#include "AppState.h"
#include "ButtonPictures.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "MenuBrowser.h"
#include "LimitEntry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr const char* TagProperty = "Tag";

// A key pointing left with a cross in it: rub out the last character.
QIcon deletePicture()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor grey(60, 60, 60);
    p.setPen(QPen(grey, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF() << QPointF(2, 16) << QPointF(11, 6) << QPointF(30, 6)
                              << QPointF(30, 26) << QPointF(11, 26));
    p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15, 11), QPointF(25, 21));
    p.drawLine(QPointF(25, 11), QPointF(15, 21));
    p.end();
    return QIcon(pixmap);
}

} // namespace

Form_Klava::Form_Klava(AppState& state, Dialogs& dialogs, DisplayMode& display, MenuBrowser& menu,
                       QWidget* limitWindow)
    : DesignDialog(u"Form_Klava"_s, QString(), QSize(233, 225), TitleButtons::CloseOnly, limitWindow),
      m_state(state), m_dialogs(dialogs), m_menu(menu)
{
    buildControls();
    scaleForScreen(state, display.screenSize());
}

void Form_Klava::buildControls()
{
    const QFont big = DesignFonts::arial(32, true);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    Edit1->setGeometry(0, 0, 233, 37);
    Edit1->setFont(big);
    Edit1->setReadOnly(true);
    Edit1->setFrame(false);
    // Only the keys change the entry, and they keep the focus for Enter.
    Edit1->setFocusPolicy(Qt::NoFocus);
    QPalette face = Edit1->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        face.setColor(group, QPalette::Base, QApplication::palette().color(QPalette::Button));
    Edit1->setPalette(face);

    auto key = [&](const char* name, const QString& caption, int column, int row) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(60 * column, 40 + 48 * row, 53, 41);
        b->setFont(big);
        return b;
    };
    BitBtn1 = key("BitBtn1", u"1"_s, 0, 0);
    BitBtn2 = key("BitBtn2", u"2"_s, 1, 0);
    BitBtn3 = key("BitBtn3", u"3"_s, 2, 0);
    BitBtn4 = key("BitBtn4", u"4"_s, 0, 1);
    BitBtn5 = key("BitBtn5", u"5"_s, 1, 1);
    BitBtn6 = key("BitBtn6", u"6"_s, 2, 1);
    BitBtn7 = key("BitBtn7", u"7"_s, 0, 2);
    BitBtn8 = key("BitBtn8", u"8"_s, 1, 2);
    BitBtn9 = key("BitBtn9", u"9"_s, 2, 2);
    BitBtn11 = key("BitBtn11", u","_s, 0, 3);
    BitBtn10 = key("BitBtn10", u"0"_s, 1, 3);
    BitBtn13 = key("BitBtn13", QString(), 2, 3);
    BitBtn13->setIcon(deletePicture());
    BitBtn13->setIconSize(QSize(32, 32));
    BitBtn13->setToolTip(u"Стереть"_s);

    BitBtn12 = new QPushButton(this);
    BitBtn12->setObjectName(u"BitBtn12"_s);
    BitBtn12->setGeometry(180, 40, 53, 185);
    BitBtn12->setIcon(ButtonPictures::icon(ButtonPictures::Picture::Ok));
    BitBtn12->setIconSize(QSize(40, 40));
    BitBtn12->setToolTip(u"Установить"_s);
    BitBtn12->setDefault(true);

    const auto digits = digitKeys();
    for (int tag = 0; tag < 10; ++tag) {
        QPushButton* digit = digits[size_t(tag)];
        digit->setProperty(TagProperty, tag);
        connect(digit, &QPushButton::clicked, this,
                [this, digit] { BitBtn1Click(digit->property(TagProperty).toInt()); });
    }
    connect(BitBtn11, &QPushButton::clicked, this, &Form_Klava::BitBtn11Click);
    connect(BitBtn13, &QPushButton::clicked, this, &Form_Klava::BitBtn13Click);
    connect(BitBtn12, &QPushButton::clicked, this, &Form_Klava::BitBtn12Click);
}

std::array<QPushButton*, 10> Form_Klava::digitKeys() const
{
    return {BitBtn10, BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn6, BitBtn7, BitBtn8, BitBtn9};
}

void Form_Klava::showEvent(QShowEvent* event)
{
    DesignDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Form_Klava::FormShow()
{
    Edit1->clear();
    CommaEntered = false;
    BitBtn12->setFocus();
}

void Form_Klava::BitBtn1Click(int tag)
{
    Edit1->setText(Edit1->text() + QString::number(tag));
    BitBtn12->setFocus();
}

void Form_Klava::BitBtn11Click()
{
    if (!CommaEntered) {
        Edit1->setText(Edit1->text() + LimitEntry::separator());
        CommaEntered = true;
    }
    BitBtn12->setFocus();
}

void Form_Klava::BitBtn13Click()
{
    QString entry = Edit1->text();
    if (entry.isEmpty())
        return;
    const QString separator = LimitEntry::separator();
    if (entry.endsWith(separator)) {
        CommaEntered = false;
        entry.chop(separator.size());
    } else {
        entry.chop(1);
    }
    Edit1->setText(entry);
}

void Form_Klava::BitBtn12Click()
{
    reportErrors(m_dialogs, this, [this] { confirm(); });
    accept();
}

void Form_Klava::confirm()
{
    if (!parentWidget() || !parentWidget()->isVisible())
        return;
    // Converted before anything else: an entry that is no number writes nothing at all.
    const double limit = LimitEntry::toNumber(Edit1->text());
    if (m_state.MinLimitOn && limit < m_state.MinLimit) {
        m_dialogs.message(this, LimitEntry::minimumMessage(m_state.MinLimit));
        return;
    }
    m_menu.SetMenuStrLimit(DbValue::number(limit));
}
