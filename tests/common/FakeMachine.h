#pragma once
// The machine under the program in tests: answered boxes, a 1024x768 screen, a speaker and a
// player that only record, and the real clock.

#include "Clock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeSoundPlayer.h"
#include "FakeSpeakerTone.h"
#include "ProgramWindows.h"

struct FakeMachine {
    FakeDialogs dialogs;
    FakeDisplayMode display{QSize(1024, 768)};
    FakeSoundPlayer player;
    FakeSpeakerTone speaker;
    SystemClock clock;
    Platform platform() { return Platform{dialogs, display, player, speaker, clock}; }
};
