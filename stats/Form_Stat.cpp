#include "Form_Stat.h"

#include "ButtonPictures.h"
#include "Clock.h"
#include "DesignFonts.h"
#include "Dialogs.h"
#include "DisplayMode.h"
#include "Journal.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QValueAxis>

using namespace Qt::StringLiterals;

const QString Form_Stat::Caption = u"Статистика"_s;
const QString Form_Stat::SaveFailed = u"Не удалось сохранить CSV.\n%1"_s;

namespace {
// Per cent of the table's width, in the order of JournalStats::FigureTitles.
const int ColumnWidths[] = {24, 8, 8, 9, 10, 9, 9, 11, 12};
}

Form_Stat::Form_Stat(AppState& state, Journal& journal, Dialogs& dialogs, DisplayMode& display, const Clock& clock,
                     QWidget* parent)
    : DesignDialog(u"Form_Stat"_s, Caption, QSize(780, 560), TitleButtons::CloseOnly, parent), m_dialogs(dialogs),
      m_clock(clock), m_journal(journal)
{
    setFont(DesignFonts::arial(13));
    LabelDay = new QLabel(u"День:"_s, this);
    LabelDay->setGeometry(4, 4, 50, 32);
    DateDay = new QDateEdit(this);
    DateDay->setObjectName(u"DateDay"_s);
    DateDay->setGeometry(56, 4, 150, 32);
    DateDay->setCalendarPopup(true);
    DateDay->setDisplayFormat(u"dd.MM.yyyy"_s);
    LabelTotal = new QLabel(this);
    LabelTotal->setGeometry(216, 4, 300, 32);
    BtnCsv = new QPushButton(u"Сохранить CSV…"_s, this);
    BtnCsv->setObjectName(u"BtnCsv"_s);
    BtnCsv->setGeometry(520, 4, 206, 32);
    BtnExit = new QPushButton(ButtonPictures::icon(ButtonPictures::Picture::Exit), QString(), this);
    BtnExit->setObjectName(u"BtnExit"_s);
    BtnExit->setGeometry(730, 4, 46, 32);
    BtnExit->setIconSize(QSize(24, 24));

    G = new QTableWidget(0, int(JournalStats::FigureTitles.size()), this);
    G->setObjectName(u"G"_s);
    G->setGeometry(0, 40, 780, 220);
    G->setHorizontalHeaderLabels(JournalStats::FigureTitles);
    G->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    G->verticalHeader()->hide();
    G->horizontalHeader()->setFont(DesignFonts::arial(13));
    G->setEditTriggers(QAbstractItemView::NoEditTriggers);
    G->setSelectionMode(QAbstractItemView::NoSelection);

    auto* chart = new QChart;
    chart->setTitle(u"Готово и опоздали по часам"_s);
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->setMargins(QMargins(2, 2, 2, 2));
    Chart = new QChartView(chart, this);
    Chart->setObjectName(u"Chart"_s);
    Chart->setGeometry(0, 262, 780, 298);
    Chart->setRenderHint(QPainter::Antialiasing);

    scaleForScreen(state, display.screenSize());
    G->verticalHeader()->setDefaultSectionSize(G->fontMetrics().height() + 6);
    const int base = G->width() - 25;
    for (int i = 0; i < int(std::size(ColumnWidths)); ++i)
        G->setColumnWidth(i, base * ColumnWidths[i] / 100);
    G->horizontalHeader()->setMinimumHeight(2 * G->horizontalHeader()->fontMetrics().height() + 6);
    G->horizontalHeader()->setStretchLastSection(true);
    // The chart's texts as large as the table's, whatever the scale.
    chart->setTitleFont(G->font());
    chart->legend()->setFont(G->font());

    askFileName = [this](const QString& proposed) {
        return QFileDialog::getSaveFileName(this, BtnCsv->text(), proposed, u"CSV (*.csv)"_s);
    };
    connect(DateDay, &QDateEdit::dateChanged, this, [this] { fill(); });
    connect(BtnCsv, &QPushButton::clicked, this, [this] { reportErrors(m_dialogs, this, [this] { BtnCsvClick(); }); });
    connect(BtnExit, &QPushButton::clicked, this, &QDialog::accept);
}

void Form_Stat::showToday()
{
    const QDate today = m_clock.now().date();
    DateDay->setMaximumDate(today);
    const QSignalBlocker quiet(DateDay);
    DateDay->setDate(today);
    fill();
    exec();
}

void Form_Stat::fill()
{
    m_day = JournalStats::day(m_journal, DateDay->date(), sections ? sections() : QList<int>{});
    // The whole day on top, in bold, then each dish.
    const QList<JournalStats::Dish> rows = QList<JournalStats::Dish>{m_day.total} + m_day.dishes;
    G->setRowCount(m_day.dishes.isEmpty() ? 0 : int(rows.size()));
    for (int row = 0; row < G->rowCount(); ++row) {
        const JournalStats::Dish& d = rows[row];
        const QStringList cells = QStringList{row == 0 ? JournalStats::WholeSpan : d.dish} + JournalStats::figureCells(d);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row == 0) {
                QFont bold = G->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            G->setItem(row, column, item);
        }
    }
    const JournalStats::Dish& t = m_day.total;
    LabelTotal->setText(m_journal.isOpen()
                            ? u"Готово: %1 (здесь %2, на других %3), опоздали: %4"_s.arg(t.ready).arg(t.own).arg(t.elsewhere).arg(t.late)
                            : u"Журнал монитора недоступен"_s);

    // The hours of the day from the first to the last with a dish ready, the working day at least.
    int first = 10, last = 22;
    for (int hour = 0; hour < 24; ++hour)
        if (m_day.readyByHour[size_t(hour)] > 0) {
            first = std::min(first, hour);
            last = std::max(last, hour);
        }
    QChart* chart = Chart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    auto* readySet = new QBarSet(u"Готово"_s);
    auto* lateSet = new QBarSet(u"Опоздали"_s);
    readySet->setColor(QColor(0, 128, 0));
    lateSet->setColor(QColor(220, 0, 0));
    QStringList hours;
    int most = 0;
    for (int hour = first; hour <= last; ++hour) {
        *readySet << m_day.readyByHour[size_t(hour)];
        *lateSet << m_day.lateByHour[size_t(hour)];
        hours << QString::number(hour);
        most = std::max(most, m_day.readyByHour[size_t(hour)]);
    }
    auto* series = new QBarSeries;
    series->append(readySet);
    series->append(lateSet);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(hours);
    x->setTitleText(u"Час"_s);
    x->setTitleFont(G->font());
    x->setLabelsFont(G->font());
    auto* y = new QValueAxis;
    y->setRange(0, std::max(4, most + most / 10 + 1));
    y->setLabelFormat(u"%d"_s);
    y->applyNiceNumbers();
    y->setLabelsFont(G->font());
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
}

void Form_Stat::BtnCsvClick()
{
    const QDate day = DateDay->date();
    const QString name = askFileName ? askFileName(u"journal-%1.csv"_s.arg(day.toString(Qt::ISODate))) : QString();
    if (name.isEmpty())
        return;
    QSaveFile file(name);
    const QByteArray csv = JournalStats::csv(m_journal, day, day, sections ? sections() : QList<int>{});
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) < 0
        || !file.commit())
        m_dialogs.message(this, SaveFailed.arg(file.errorString()));
}
