#pragma once
// Checking rules of the view and sound settings, free of any window. What a stored line loads
// as is the settings' table's (Settings::read).

#include <QByteArray>
#include <QString>

namespace ViewSettings {

// Non-empty and made of the digits 0 to 9 only.
bool isDigitRun(const QString& text);
// A digit run whose value, however many digits it has, lies in [low, high].
bool digitRunInRange(const QString& text, qint64 low, qint64 high);

// The dish lists' type at a text size, in percent of the normal one.
int textPercent(int size);

// The first whole number of the output file: blanks and line ends before it skipped, an optional
// sign, then digits; 0 when there is none. A value too large saturates.
qint64 firstWholeNumber(const QByteArray& bytes);
// The output item it selects: anything above 0 is the sound file.
int outputItem(qint64 stored);

// The checks of saving. The interval must also fit a signed 32-bit number, since the idle check
// reads it as one.
bool validIdle(const QString& text);
bool validDuration(const QString& text);
bool validAmount(const QString& text);

}
