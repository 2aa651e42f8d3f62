#pragma once
// Statements are written with named parameters (":N"); the server takes positional ones ("?").

#include <QString>
#include <QStringList>

struct PositionalSql {
    QString sql;          // the statement with every parameter replaced by '?'
    QStringList names;    // the parameter name of each '?', in order; a name may repeat
};

// Skips quoted texts, quoted identifiers and comments. Names are upper-cased, as the server
// folds unquoted names.
PositionalSql toPositional(const QString& sql);
