#pragma once
// The never-shown utility module: home of the password scrambler's register.

#include <QObject>

class Form_Util : public QObject {
    Q_OBJECT
public:
    explicit Form_Util(QObject* parent = nullptr);
};
