#pragma once
// The eleven windows of the program, reachable from one another once they exist. A pointer is
// null until its window has been created; the statistics window is made at its first opening.

#include <functional>

class Form_Main;
class Form_Util;
class Form_Net;
class Form_Psw;
class Form_Vid;
class Form_Detail;
class Form_Time;
class Form_DateTime;
class Form_Limit;
class Form_Base;
class Form_Klava;
class Form_Ready;
class Form_Stat;
class Form_AllDay;
class PanelAges;
class ServerClock;
class SoundAlert;
class PollingCycle;
class PressService;
class KitchenWork;

struct Forms {
    Form_Main* Main = nullptr;
    Form_Util* Util = nullptr;
    Form_Net* Net = nullptr;
    Form_Psw* Psw = nullptr;
    Form_Vid* Vid = nullptr;
    Form_Detail* Detail = nullptr;
    Form_Time* Time = nullptr;
    Form_DateTime* DateTime = nullptr;
    Form_Limit* Limit = nullptr;
    Form_Base* Base = nullptr;
    Form_Klava* Klava = nullptr;
    Form_Ready* Ready = nullptr; // the recall list
    std::function<void()> showStatistics; // the journal's figures, today's, in their window
    Form_AllDay* AllDay = nullptr; // "Итого": the dishes in work by name

    // The data module's sound alert and polling cycle, which work on the board's widgets.
    SoundAlert* Alert = nullptr;
    PollingCycle* Polling = nullptr;
    // The one road for the cooks' presses.
    PressService* Presses = nullptr;
    KitchenWork* Work = nullptr; // the dishes in work, read after each poll
    ServerClock* Clock = nullptr; // the server's time between the polls' readings
    PanelAges* Ages = nullptr;    // the age of every order beside its panel's caption
};
