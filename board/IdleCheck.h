#pragma once
// When the board returns to its resting look: the whole seconds since the last keyboard or
// mouse input, compared once a second with the idle limit of the view settings.

#include <QString>
#include <QtGlobal>

namespace IdleCheck {
inline constexpr int DefaultLimit = 5;

// Whole seconds between two tick counts taken on the same 32-bit millisecond counter; the
// difference is taken on unsigned values, so a wrap of the counter does no harm.
quint32 idleSeconds(quint32 now, quint32 lastInput);

// The limit in seconds from its text; a text that is not a 32-bit whole number (the settings
// field emptied and the dialog cancelled) counts as the default.
int limit(const QString& text);

// Strictly more idle seconds than the limit; a negative limit is always exceeded.
bool exceeded(quint32 now, quint32 lastInput, const QString& limitText);
}
