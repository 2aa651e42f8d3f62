#include "Scaling.h"

#include "AppState.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QTableView>
#include <QWidget>

int ScaleRatio::apply(int v) const
{
    // Rounded as MulDiv does: halves away from zero.
    const qint64 p = qint64(v) * m;
    const qint64 half = d / 2;
    return int(p >= 0 ? (p + half) / d : -((-p + half) / d));
}

ScaleRatio screenRatio(bool wideScreen, QSize screen, int wideBase, int narrowBase)
{
    return wideScreen ? ScaleRatio{screen.height(), wideBase} : ScaleRatio{screen.width(), narrowBase};
}

ScaleRatio fitRatio(QSize screen, QSize design)
{
    if (qint64(screen.width()) * design.height() <= qint64(screen.height()) * design.width())
        return {screen.width(), design.width()};
    return {screen.height(), design.height()};
}

bool isWideScreen(QSize screen)
{
    return 3 * screen.width() > 4 * screen.height();
}

namespace {

void scaleFont(QWidget* w, ScaleRatio r)
{
    QFont f = w->font();
    if (f.pixelSize() > 0)
        f.setPixelSize(r.apply(f.pixelSize()));
    else
        f.setPointSizeF(f.pointSizeF() * r.m / r.d);
    w->setFont(f);
}

void scaleColumns(QTableView* grid, const Stretch& s)
{
    QHeaderView* h = grid->horizontalHeader();
    for (int i = 0; i < h->count(); ++i)
        h->resizeSection(i, s.across.apply(h->sectionSize(i)));
    QHeaderView* v = grid->verticalHeader();
    v->setDefaultSectionSize(s.type.apply(v->defaultSectionSize()));
    if (v->minimumWidth() > 0 && v->minimumWidth() == v->maximumWidth())
        v->setFixedWidth(s.across.apply(v->minimumWidth()));
    for (QHeaderView* header : {h, v})
        if (header->testAttribute(Qt::WA_SetFont))
            scaleFont(header, s.type);
}

// Only containers of our own design are entered: a grid, a button or an edit field lays out its
// own inner parts.
bool isContainer(const QWidget* w)
{
    if (qobject_cast<const QGroupBox*>(w))
        return true;
    const char* cls = w->metaObject()->className();
    return qstrcmp(cls, "QWidget") == 0 || qstrcmp(cls, "QFrame") == 0;
}

void scaleChildren(QWidget* parent, const Stretch& s)
{
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow())
            continue;
        const QRect g = w->geometry();
        const int left = s.across.apply(g.left());
        const int top = s.down.apply(g.top());
        w->setGeometry(left, top, s.across.apply(g.left() + g.width()) - left,
                       s.down.apply(g.top() + g.height()) - top);
        if (w->testAttribute(Qt::WA_SetFont))
            scaleFont(w, s.type);
        if (auto* grid = qobject_cast<QTableView*>(w))
            scaleColumns(grid, s);
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->icon().isNull())
            button->setIconSize(QSize(s.type.apply(button->iconSize().width()),
                                      s.type.apply(button->iconSize().height())));
        if (isContainer(w))
            scaleChildren(w, s);
    }
}

} // namespace

void scaleWindow(QWidget* window, ScaleRatio ratio)
{
    stretchWindow(window, Stretch{ratio, ratio, ratio});
}

void stretchWindow(QWidget* window, const Stretch& stretch)
{
    const auto same = [](ScaleRatio r) { return r.isIdentity() || r.d == 0; };
    if (same(stretch.across) && same(stretch.down) && same(stretch.type))
        return;
    if (stretch.across.d == 0 || stretch.down.d == 0 || stretch.type.d == 0)
        return;
    scaleFont(window, stretch.type);
    scaleChildren(window, stretch);
    const QSize s = window->size();
    const QSize scaled(stretch.across.apply(s.width()), stretch.down.apply(s.height()));
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(scaled);
    else
        window->resize(scaled);
}

void scaleDialogForScreen(QWidget* window, const AppState& state, QSize screen)
{
    if (state.AtDesignSize)
        scaleWindow(window, screenRatio(state.WideScreen, screen, 600, 800));
}

void centreOnScreen(QWidget* window, QSize screen)
{
    const QSize frame = window->frameGeometry().size();
    window->move(qMax(0, (screen.width() - frame.width()) / 2),
                 qMax(0, (screen.height() - frame.height()) / 2));
}

int shareOf(int base, int hundredths)
{
    const qint64 p = qint64(base) * hundredths;
    qint64 q = p / 100;
    qint64 rem = p % 100;
    if (rem < 0) {
        rem += 100;
        --q;
    }
    if (rem > 50 || (rem == 50 && (q & 1)))
        ++q;
    return int(q);
}
