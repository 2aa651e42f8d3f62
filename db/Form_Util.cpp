#include "Form_Util.h"

Form_Util::Form_Util(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Form_Util"));
}
