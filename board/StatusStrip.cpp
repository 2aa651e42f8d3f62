#include "StatusStrip.h"

#include "DesignFonts.h"
#include "Log.h"

#include <QLabel>
#include <QVBoxLayout>

void paintStrip(QFrame& strip, const QColor& background)
{
    strip.setFrameStyle(QFrame::Panel | QFrame::Raised);
    strip.setAutoFillBackground(true);
    QPalette p = strip.palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, Qt::white);
    strip.setPalette(p);
}

StatusStrip::StatusStrip(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("StatusStrip"));
    paintStrip(*this, QColor(200, 0, 0));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);

    m_headline = new QLabel(this);
    m_headline->setFont(DesignFonts::arial(20, true));
    m_detail = new QLabel(this);
    m_detail->setFont(DesignFonts::arial(13));
    // The server's text can be long; it is cut, never allowed to push the headline away.
    m_detail->setWordWrap(false);
    for (QLabel* label : {m_headline, m_detail}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    layout->addWidget(m_headline);
    layout->addWidget(m_detail);
    hide();
}

void StatusStrip::showProblem(const QString& headline, const QString& detail)
{
    // The polling repeats its problem at every run: the log hears of it when it changes.
    if (headline.isEmpty()) {
        if (!this->headline().isEmpty())
            qCInfo(lcMonitor) << "board: the problem is over";
        hide();
        return;
    }
    if (headline != this->headline())
        qCWarning(lcMonitor).noquote() << "board:" << headline << "-" << Log::oneLine(detail);
    m_headline->setText(headline);
    // One line: the first line of the server's text says what matters.
    m_detail->setText(detail.section(QLatin1Char('\n'), 0, 0));
    m_detail->setToolTip(detail);
    raise();
    show();
}

QString StatusStrip::headline() const
{
    return isVisibleTo(parentWidget()) ? m_headline->text() : QString();
}

QString StatusStrip::detail() const
{
    return isVisibleTo(parentWidget()) ? m_detail->toolTip() : QString();
}
