#pragma once
// The boundary of a cook's action (a touch or a key): whatever fails ends the action with one
// box in the cooks' words, saying what did not happen, with the error's own text beneath. A lost
// connection is let go at once, so that the polling attaches again and the next action says so
// without waiting for the server.

#include "Database.h"
#include "DbError.h"
#include "DbErrorText.h"
#include "Dialogs.h"

// notDone is read when the action has failed: the action may say more precisely meanwhile what
// it was doing ("Блюдо не отмечено", then "Список блюд не прочитан заново").
template <typename Body>
bool runCookAction(Dialogs& dialogs, QWidget* parent, Database& db, const QString& notDone, Body&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        if (const auto* error = dynamic_cast<const DbError*>(&e); error && error->connectionLost())
            db.abandon();
        dialogs.message(parent, DbErrorText::actionFailed(notDone, e));
    }
    return false;
}
