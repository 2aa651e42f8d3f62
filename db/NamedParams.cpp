#include "NamedParams.h"

namespace {
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}
}

PositionalSql toPositional(const QString& sql)
{
    PositionalSql out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            // A quote inside is written twice, which the scan handles as two adjacent texts.
            qsizetype end = sql.indexOf(c, i + 1);
            end = end < 0 ? n : end + 1;
            out.sql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            qsizetype end = sql.indexOf(u'\n', i);
            end = end < 0 ? n : end;
            out.sql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            qsizetype end = sql.indexOf(u"*/", i + 2);
            end = end < 0 ? n : end + 2;
            out.sql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u':' && i + 1 < n && isNameChar(sql[i + 1])) {
            qsizetype end = i + 1;
            while (end < n && isNameChar(sql[end]))
                ++end;
            out.names << sql.mid(i + 1, end - i - 1).toUpper();
            out.sql += u'?';
            i = end;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}
