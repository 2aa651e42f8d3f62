#pragma once
// A small "нет звука" mark in the board's top right corner while nobody can hear the
// announcements (no sound server, no output device, a player that fails), so that a cook or an
// IT person passing by sees why no dish was heard. It takes no clicks and goes when sound works.

#include <QLabel>

class SilenceMark : public QLabel {
    Q_OBJECT
public:
    explicit SilenceMark(QWidget* board);

    static const QString Text;

    // Empty: sound works, the mark goes; otherwise why not, as its tooltip.
    void setSilence(const QString& silence);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
};
