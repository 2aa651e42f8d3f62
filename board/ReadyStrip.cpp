#include "ReadyStrip.h"

#include "DesignFonts.h"
#include "StatusStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <utility>

using namespace Qt::StringLiterals;

const QString ReadyStrip::UndoCaption = u"Отменить"_s;

ReadyStrip::ReadyStrip(QWidget* parent) : QFrame(parent)
{
    setObjectName(u"StripReady"_s);
    paintStrip(*this, QColor(0, 100, 0));

    Label = new QLabel(this);
    Label->setTextFormat(Qt::PlainText);
    BtnUndo = new QPushButton(UndoCaption, this);
    BtnUndo->setObjectName(u"BtnUndo"_s);
    // A touch must not leave the focus here, away from the board's own buttons.
    BtnUndo->setFocusPolicy(Qt::TabFocus);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Label, 1);
    layout->addWidget(BtnUndo);

    TimerReady.setSingleShot(true);
    TimerReady.setInterval(ShowMilliseconds);
    connect(&TimerReady, &QTimer::timeout, this, &ReadyStrip::withdraw);
    hide();
}

QString ReadyStrip::text(const QString& number)
{
    return u"Заказ № %1 готов"_s.arg(number);
}

void ReadyStrip::offer(const QString& number)
{
    m_offering = true;
    Label->setText(text(number));
    TimerReady.start();
    raise();
    show();
}

void ReadyStrip::withdraw()
{
    TimerReady.stop();
    hide();
    if (std::exchange(m_offering, false))
        emit withdrawn();
}

void ReadyStrip::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    const int h = event->size().height();
    Label->setFont(DesignFonts::arial(h / 2, true));
    BtnUndo->setFont(DesignFonts::arial(h * 2 / 5, true));
    BtnUndo->setMinimumWidth(h * 4);
    layout()->setContentsMargins(h / 5, h / 10, h / 10, h / 10);
}
