#pragma once
// The settings files, spelled exactly as they are stored, and the lines
// written when one is missing.

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

inline const QString ScreenWindow = QStringLiteral("Window");
inline const QString ScreenFull = QStringLiteral("Full");

inline const QStringList ScreenDefault{ScreenWindow};
inline const QStringList NetDefault{QStringLiteral("Local"),
                                    QStringLiteral("localhost:C:\\Program Files\\Parvolin\\dishbase.fdb")};
inline const QStringList SectionDefault{QStringLiteral("1")};
inline const QStringList GruppaDefault{QStringLiteral("0")};
inline const QStringList IdleDefault{QStringLiteral("5")};
inline const QStringList SignalDefault{QStringLiteral("50"), QStringLiteral("1")};
inline const QStringList TSoundDefault{QStringLiteral("0")};
inline const QStringList TextSizeDefault{QStringLiteral("0")};
}
