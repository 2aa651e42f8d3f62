#pragma once
// A settings window saves only when asked: a save ends the program so that the next start reads
// the new files, and a cook's keypad must never get there by Enter alone (a stray tap opened
// the window, and every next Enter pressed its OK). The question has Cancel focused.

#include "Dialogs.h"

#include <QWidget>

namespace RestartQuestion {
inline const QString Text = QStringLiteral("Сохранить настройки? Программа будет перезапущена.");

inline bool agreed(Dialogs& dialogs, QWidget* window)
{
    return dialogs.question(window, window->windowTitle(), Text, Dialogs::Focus::Cancel);
}
}
