#pragma once
// "Статистика": the kitchen's speed on one day for the sections this monitor serves, read from
// the journal: per dish the count made ready, the median and 90th-percentile minutes from the
// order to "ready" and the count late; per hour a bar chart of dishes ready and late; and the
// day's events saved as CSV.

#include "DesignDialog.h"
#include "JournalStats.h"

#include <functional>

struct AppState;
class Clock;
class Dialogs;
class Journal;
class DisplayMode;
class QChartView;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

class Form_Stat : public DesignDialog {
    Q_OBJECT
public:
    Form_Stat(AppState& state, Journal& journal, Dialogs& dialogs, DisplayMode& display, const Clock& clock,
              QWidget* parent);

    QLabel* LabelDay;
    QDateEdit* DateDay;
    QPushButton* BtnCsv; // "Сохранить CSV…"
    QPushButton* BtnExit;
    QTableWidget* G;     // per dish
    QChartView* Chart;   // per hour
    QLabel* LabelTotal;

    // The sections whose dishes count (800 and 900 included), at the moment of use.
    std::function<QList<int>()> sections;
    // Where to save the CSV; empty when the cook cancelled. A file dialog unless replaced.
    std::function<QString(const QString& proposed)> askFileName;

    // Today chosen, the figures read, and the window shown modally.
    void showToday();
    // The figures of the chosen day read afresh.
    void fill();
    void BtnCsvClick();
    const JournalStats::Day& figures() const { return m_day; }

    static const QString Caption;
    static const QString SaveFailed;

private:
    Dialogs& m_dialogs;
    const Clock& m_clock;
    Journal& m_journal;
    JournalStats::Day m_day;
};
