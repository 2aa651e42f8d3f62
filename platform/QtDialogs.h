#pragma once
#include "Dialogs.h"

class QtDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;
    QString openFileName(QWidget* parent, const QString& filter) override;

    // "Title|*.a; *.b|Other|*.c" becomes Qt's "Title (*.a *.b);;Other (*.c)".
    static QString toQtFilter(const QString& filter);
};
