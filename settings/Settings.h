#pragma once
// The view and sound settings, read once at start into one object that the windows and the
// board's logic read for the rest of the run. One table says, for every value, its file, its
// line, its default and the check a stored line must pass; a line that fails takes the default.
// The settings window writes through the object, and `changed` tells every reader at once: a
// number typed into the window is in force at once, saved or not, as the monitor has always
// done; the files decide only what the next start reads.
//
// "Net.txt", "psw.txt" and "Keys.txt" have codecs of their own (NetSettings, the scrambler,
// KeyMap) and are read by the connection and the key map; the object only creates a missing
// "Net.txt" with the rest.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <initializer_list>

class Settings : public QObject {
    Q_OBJECT
public:
    enum class Key {
        Screen,     // "Window" or "Full"; a wrong line is also mended on disk
        Sections,   // the served sections 1 to 5, one a line
        Gruppa,     // "1": the hot queue shows the dish group column
        TextSize,   // 0 normal, 1 large, 2 very large
        Output,     // where the sound goes: the first whole number, above 0 the sound file
        SoundFile,  // the sound file's full path; read only when the output is the sound file
        SavedSound, // the sound file as saved with the output, for the point of sale; never read
        Idle,       // the idle interval in seconds, as typed
        Duration,   // one beep in milliseconds, as typed
        Amount,     // beeps for a new dish, as typed
    };
    Q_ENUM(Key)

    // How a missing file is treated.
    enum class Missing { Created, Empty, NeverRead };
    static constexpr int WholeFile = -1; // the value is every line of the file, joined by '\n'

    struct Entry {
        Key key;
        QString file;
        int line;
        QString fallback;                     // written into a missing file; taken for a line that fails
        bool (*check)(const QString& stored); // nullptr: any line is taken
        Missing missing = Missing::Created;
    };
    static const QList<Entry>& table();
    static const Entry& entry(Key key);
    // What a stored line (or whole file) reads as.
    static QString read(Key key, const QString& stored);
    // The lines a missing file is created with: its entries' defaults in line order.
    static QStringList defaultLines(const QString& file);

    static const QString DefaultsTakenMessage;

    explicit Settings(const QString& folder, QObject* parent = nullptr);
    QString folder() const { return m_folder; }

    // Reads every file of the table, creating the missing ones (and "Net.txt") with their
    // defaults. A file that cannot be read keeps its defaults and is logged (SettingsFile); a
    // file that cannot be created or mended is returned as the error's text, one per file.
    QStringList load();

    QString value(Key key) const { return m_values[size_t(key)]; }
    // The value in memory only; readers are told when it differs.
    void set(Key key, const QString& value);
    // Writes the files of these keys, in this order, with the values in memory; throws
    // PlatformError at the first that fails, the later ones unwritten.
    void store(std::initializer_list<Key> keys) const;
    // Writes one value's file with the new value first, so that a value the file cannot hold
    // leaves the old one whole; then sets it.
    void write(Key key, const QString& value);

    // The values as their readers want them.
    bool fullScreen() const;
    std::array<bool, 5> sections() const;
    bool groupShown() const;
    int textSize() const;
    int output() const; // 0 the speaker, 1 the sound file
    QString soundFile() const { return value(Key::SoundFile); }
    QString idle() const { return value(Key::Idle); }
    QString duration() const { return value(Key::Duration); }
    QString amount() const { return value(Key::Amount); }

signals:
    void changed(Settings::Key key);

private:
    static constexpr int KeyCount = int(Key::Amount) + 1;
    QStringList linesOf(const QString& file) const; // the file's lines from the values in memory
    QString m_folder;
    std::array<QString, KeyCount> m_values;
};
