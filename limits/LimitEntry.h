#pragma once
// The numbers of the limit keypad: the locale's separator, the entry read as a number, and the
// refusal of an entry below the point of sale's minimum.

#include <QString>

namespace LimitEntry {
// The system locale's decimal separator, whatever the separator key shows.
QString separator();
// The entry as a number by the locale's rules; throws PlatformError for an entry that is none
// (empty, or the separator alone).
double toNumber(const QString& entry);
// The refusal, with the minimum in the shortest general form and the locale's separator.
QString minimumMessage(double minimum);
}
