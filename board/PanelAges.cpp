#include "PanelAges.h"

#include "DbValue.h"
#include "LineState.h"
#include "OrderBoard.h"
#include "Query.h"
#include "QueryModel.h"
#include "ServerClock.h"

#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;
using Urgency = TimingColours::Urgency;

std::optional<PanelAges::Age> PanelAges::of(const Query& lines, const QDateTime& now)
{
    if (!lines.isOpen() || lines.recordCount() == 0 || !now.isValid())
        return std::nullopt;
    const int start = lines.fieldIndex(u"START_TIME"_s);
    QDateTime first;
    Age age;
    std::optional<QColor> colour;
    const std::optional<double> nowDays = DbTime::fromDateTime(now);
    const TimingColours::ServerNow serverNow = [nowDays] { return nowDays; };
    for (int r = 0; r < lines.recordCount(); ++r) {
        if (start >= 0)
            if (const std::optional<double> days = lines.row(r)[size_t(start)].toDouble()) {
                const QDateTime at = DbTime::toDateTime(*days);
                if (!first.isValid() || at < first)
                    first = at;
            }
        const TimingColours::Line line = QueryModel::timing(lines, r);
        if (line.printSection >= stateValue(LineState::Ready))
            continue; // a ready dish hurries nobody
        const TimingColours::Colours colours = TimingColours::panel(line, serverNow);
        const Urgency urgency = TimingColours::urgency(colours);
        if (!colour || urgency > age.urgency || (urgency == age.urgency && colours.text && *colour == TimingColours::Navy)) {
            age.urgency = urgency;
            colour = colours.text.value_or(TimingColours::Navy);
        }
    }
    if (!first.isValid())
        return std::nullopt;
    age.minutes = ServerClock::minutesSince(first, now);
    age.colour = colour.value_or(TimingColours::Navy);
    return age;
}

QString PanelAges::text(const Age& age)
{
    return (age.urgency == Urgency::Late ? u"!"_s : QString()) + u"%1 мин"_s.arg(age.minutes);
}

bool PanelAges::fitsBeside(const QFont& caption, const QString& text, int width)
{
    QFont bold = caption;
    bold.setBold(true);
    const int gap = QFontMetrics(caption).horizontalAdvance(u' ');
    return QFontMetrics(caption).horizontalAdvance(text) + gap + QFontMetrics(bold).horizontalAdvance(WidestText) + 2
           <= width - 12;
}

PanelAges::PanelAges(const OrderBoard& board, const std::array<QGroupBox*, 6>& panels, ServerClock& clock,
                     QObject* parent)
    : QObject(parent), m_board(board), m_panels(panels), m_clock(clock)
{
    for (int i = 0; i < 6; ++i) {
        auto* label = new QLabel(m_panels[size_t(i)]);
        label->setObjectName(u"Age%1"_s.arg(i + 1));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // Over a caption too long for its line the age stays readable: the caption's end goes
        // under it, not through it.
        label->setAutoFillBackground(true);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
        m_labels[size_t(i)] = label;
        if (Query* lines = m_board.panelQuery(i))
            connect(lines, &Query::rowsChanged, this, [this] {
                // A page is filled panel by panel: the ages once it is whole.
                if (!std::exchange(m_queued, true))
                    QTimer::singleShot(0, this, [this] {
                        m_queued = false;
                        update();
                    });
            });
    }
    // Woken only when an age or a colour turns, not every second.
    m_tick.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, &PanelAges::update);
}

std::optional<qint64> PanelAges::msToNextTurn(const Query& lines, const QDateTime& now)
{
    const int start = lines.fieldIndex(u"START_TIME"_s);
    QDateTime first;
    for (int r = 0; start >= 0 && r < lines.recordCount(); ++r)
        if (const std::optional<double> days = lines.row(r)[size_t(start)].toDouble()) {
            const QDateTime at = DbTime::toDateTime(*days);
            if (!first.isValid() || at < first)
                first = at;
        }
    if (!first.isValid() || !now.isValid())
        return std::nullopt;
    const qint64 since = first.msecsTo(now);
    return since < 0 ? 60000 - since : 60000 - since % 60000;
}

void PanelAges::update()
{
    const bool anyOrder = [&] {
        for (int i = 0; i < 6; ++i)
            if (m_board.panelOrder(i) != 0)
                return true;
        return false;
    }();
    // Without an order on the board the server's time is not asked for.
    const QDateTime now = anyOrder ? m_clock.now() : QDateTime();
    const std::optional<double> nowDays = now.isValid() ? std::optional(DbTime::fromDateTime(now)) : std::nullopt;
    std::optional<qint64> next;
    const auto sooner = [&next](std::optional<qint64> ms) {
        if (ms)
            next = next ? std::min(*next, *ms) : *ms;
    };
    for (int i = 0; i < 6; ++i) {
        QLabel* label = m_labels[size_t(i)];
        const Query* lines = m_board.panelQuery(i);
        const std::optional<Age> age = lines && m_board.panelOrder(i) != 0 ? of(*lines, now) : std::nullopt;
        if (!age) {
            label->hide();
            continue;
        }
        // The age turns with its minutes, the colour where a dish's minutes left do.
        sooner(msToNextTurn(*lines, now));
        if (const QueryModel* model = m_board.panelModel(i))
            sooner(model->msToNextTurn([nowDays] { return nowDays; }));
        QFont font = m_panels[size_t(i)]->font();
        font.setBold(age->urgency != Urgency::None);
        const QString shown = text(*age);
        if (label->text() != shown || label->font() != font || label->palette().color(QPalette::WindowText) != age->colour) {
            label->setText(shown);
            label->setFont(font);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, age->colour);
            label->setPalette(palette);
        }
        place(i);
        label->show();
    }
    if (next)
        m_tick.start(int(std::clamp<qint64>(*next, 1, 60000)));
    else
        m_tick.stop();
}

// On the caption's line, at the frame's right end, as tall as the caption.
void PanelAges::place(int panel)
{
    QGroupBox* box = m_panels[size_t(panel)];
    QLabel* label = m_labels[size_t(panel)];
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel;
    const QRect caption = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const int width = QFontMetrics(label->font()).horizontalAdvance(label->text()) + 2;
    const int height = qMax(caption.height(), QFontMetrics(label->font()).height());
    const QRect place(box->width() - width - 2, qMax(0, caption.top()), width, height);
    if (label->geometry() != place)
        label->setGeometry(place);
    label->raise();
}
