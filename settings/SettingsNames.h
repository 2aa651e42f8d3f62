#pragma once
// The settings files, spelled exactly as they are stored. The defaults of the values live in
// the settings' table (Settings); "Net.txt" has its own codec, so its default lives here.

#include <QString>
#include <QStringList>

namespace SettingsNames {
inline const QString Screen = QStringLiteral("Screen.txt");
inline const QString Net = QStringLiteral("Net.txt");
inline const QString Section = QStringLiteral("Section.txt");
inline const QString Gruppa = QStringLiteral("Gruppa.txt");
inline const QString Idle = QStringLiteral("Idle.txt");
inline const QString Signal = QStringLiteral("Signal.txt");
inline const QString TSound = QStringLiteral("tsound.txt");
inline const QString FSound = QStringLiteral("fsound.txt");
inline const QString Sound = QStringLiteral("sound.txt");
inline const QString Psw = QStringLiteral("psw.txt");
inline const QString TextSize = QStringLiteral("TextSize.txt");
inline const QString Keys = QStringLiteral("Keys.txt");

inline const QString ScreenWindow = QStringLiteral("Window");
inline const QString ScreenFull = QStringLiteral("Full");

inline const QStringList NetDefault{QStringLiteral("Local"),
                                    QStringLiteral("localhost:C:\\Program Files\\Parvolin\\dishbase.fdb")};
}
