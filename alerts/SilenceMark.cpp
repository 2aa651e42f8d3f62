#include "SilenceMark.h"

#include "DesignFonts.h"
#include "StatusStrip.h"

#include <QEvent>

const QString SilenceMark::Text = QStringLiteral("нет звука");

SilenceMark::SilenceMark(QWidget* board) : QLabel(Text, board)
{
    setObjectName(QStringLiteral("SilenceMark"));
    setFont(DesignFonts::arial(11, true));
    setAlignment(Qt::AlignCenter);
    setMargin(2);
    paintStrip(*this, QColor(200, 0, 0));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    board->installEventFilter(this);
    hide();
}

void SilenceMark::setSilence(const QString& silence)
{
    setToolTip(silence);
    setVisible(!silence.isEmpty());
    if (!silence.isEmpty()) {
        place();
        raise();
    }
}

void SilenceMark::place()
{
    adjustSize();
    move(parentWidget()->width() - width() - 2, 2);
}

bool SilenceMark::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        place();
    return QLabel::eventFilter(watched, event);
}
