#pragma once
// One settings file in the settings folder: code page 1251 text, one value per line.
// Written lines end in CR LF; on reading a line ends at LF, every CR is dropped, nothing is
// trimmed, and the end of the file ends the last line. All failures throw PlatformError.

#include <QString>
#include <QStringList>

class SettingsFile {
public:
    SettingsFile(const QString& folder, const QString& name);

    QString path() const { return m_path; }
    bool exists() const;

    // Every line of the file; an empty file has none.
    QStringList readLines() const;
    // Line `index` (0-based), or the fallback when the file has no such line.
    QString line(int index, const QString& fallback) const;
    // The start's read of a view setting: the file's lines, or the default lines when it cannot
    // be read (a folder in its place, no permission), so that no box holds the board at start
    // while nobody is there. Which file and why goes to the log once, and to unreadable(), which
    // the board's status strip shows for an IT person passing by.
    QStringList readLinesOr(const QStringList& defaults) const;
    QString lineOr(int index, const QString& fallback) const;
    // "file: why" of each settings file that could not be read since the start.
    static QStringList unreadable();
    // The whole file as bytes, for files that are not text.
    QByteArray readBytes() const;

    // Creates or truncates the file and writes every line, each ending in CR LF. A text that the
    // code page cannot hold is refused before anything is written.
    void write(const QStringList& lines) const;
    void writeBytes(const QByteArray& bytes) const;
    // The same for a file only its owner may read: written 0600, a more open one tightened.
    void writePrivateBytes(const QByteArray& bytes) const;
    // Writes the default lines when the file is missing; true when it created the file.
    bool createIfMissing(const QStringList& defaults) const;

    // The codec on its own. splitLines keeps each line's bytes as stored, less its CRs.
    static QList<QByteArray> splitLines(const QByteArray& bytes);
    static QStringList decode(const QByteArray& bytes);
    static QByteArray encode(const QStringList& lines); // throws PlatformError

private:
    void writeBytes(const QByteArray& bytes, bool ownerOnly) const;
    QString m_path;
};
