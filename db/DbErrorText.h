#pragma once
// The cooks' words for a failed database request. The server speaks English and names its
// internals; a cook needs to know what did not happen, why in plain words and what to do. The
// server's own text still follows, for whoever looks after the kitchen's computer.

#include <QString>
#include <exception>

namespace DbErrorText {
// The one box of a cook's action that failed. notDone says what did not happen, as a sentence's
// start ("Блюдо не отмечено"); the reason comes from the kind of the error, the error's own text
// goes beneath.
QString actionFailed(const QString& notDone, const std::exception& error);

// The second line of the board's red strip: why the polling fails, then the server's text.
QString connectionLost(const QString& serverText);
QString rowsHeld(const QString& serverText);
QString requestFailed(const QString& serverText);
}
