#pragma once
// "kitchen-monitor --export-journal YYYY-MM-DD [YYYY-MM-DD]": the journal's events of those days
// as CSV on standard output, with no display and beside a running monitor.

#include <QString>
#include <functional>

namespace JournalExport {
// -1 when the arguments ask for no export; otherwise the export's exit status. folder gives the
// settings folder once the process has its application object.
int run(int argc, char* argv[], const std::function<QString()>& folder);
}
