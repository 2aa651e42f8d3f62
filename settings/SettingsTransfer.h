#pragma once
// Settings carried from one kitchen PC to another: "kitchen-monitor --export-settings FILE"
// puts every settings file of the folder and the key map into one file, the password file only
// when asked; "--import-settings FILE" puts them into this machine's folder. The file is text:
// a first line that names it, one line per settings file ("name base64-of-its-bytes", the bytes
// as stored: code page 1251, CR LF, the password scrambled) and a last line with their count, so
// that a file cut short or spoiled is told apart from a whole one and nothing is changed then.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace SettingsTransfer {
inline const QByteArray Header = QByteArrayLiteral("kitchen-monitor settings 1");

// The files it carries, in this order.
QStringList names();

// The folder's settings files that exist, psw.txt only with withPassword.
QByteArray pack(const QString& folder, bool withPassword);

struct Unpacked {
    QList<QPair<QString, QByteArray>> files;
    QString error; // not empty: nothing is to be written
};
Unpacked unpack(const QByteArray& bytes);

// The commands; their exit status. Messages go to stderr.
int exportTo(const QStringList& arguments, const QString& folder, bool withPassword);
int importFrom(const QStringList& arguments, const QString& folder);
}
