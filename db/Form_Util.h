#pragma once
// The never-shown utility module: home of the password scrambler, a keystream generator over a
// 128-byte shift register, and of the byte layout of the password file built on it.

#include <QByteArray>
#include <QObject>
#include <array>

class Clock;

class Form_Util : public QObject {
    Q_OBJECT
public:
    explicit Form_Util(const Clock& clock, QObject* parent = nullptr);

    // The outer seed of the password file.
    static inline const QByteArray KeyText = QByteArrayLiteral("PLMOKNIJBUHVYGC");

    // Seeds the register with the first 15 bytes of seed, or with the local time when the seed
    // is shorter, and returns the text actually used.
    QByteArray ScrambleSeed(const QByteArray& seed);
    // The next keystream value, 0 to 254.
    int ScrambleNext();
    // The first 15 bytes of text are its own seed; returns the rest, unscrambled.
    QByteArray Unscramble(QByteArray text);

    // The bytes of the password file for a password, and back.
    QByteArray ScramblePassword(const QByteArray& password);
    QByteArray UnscramblePassword(QByteArray bytes);

private:
    const Clock& m_clock;
    std::array<quint8, 128> R{};
};
