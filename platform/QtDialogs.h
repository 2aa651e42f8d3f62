#pragma once
#include "Dialogs.h"

class QLocale;

class QtDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text, Focus focus = Focus::Ok) override;
    QString openFileName(QWidget* parent, const QString& filter) override;

    // "Title|*.a; *.b|Other|*.c" becomes Qt's "Title (*.a *.b);;Other (*.c)".
    static QString toQtFilter(const QString& filter);

    // Qt's own texts (the file dialog, the box buttons) in the locale's language, from Qt's
    // translations where Qt is installed or beside the program. False when none were found.
    static bool installTranslations(const QLocale& locale);
};
