#pragma once
// "kitchen-monitor --export-journal YYYY-MM-DD [YYYY-MM-DD]": the journal's events of those days
// as CSV on standard output, with no display and beside a running monitor.

#include <QString>
#include <QStringList>
#include <functional>

namespace JournalExport {
// The export of the days from dates[0] to dates[1] (or dates[0] alone); its exit status: 2 for
// dates that cannot be read. Needs an application object, not a display.
int run(const QStringList& dates, const std::function<QString()>& folder);
}
