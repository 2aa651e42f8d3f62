#pragma once
// The machine under the program in tests: answered boxes, a 1024x768 screen, a speaker and a
// player that only record, a clock that is real until a test sets it, and an idle clock that
// says whatever the test sets.

#include "FakeClock.h"
#include "FakeDialogs.h"
#include "FakeDisplayMode.h"
#include "FakeIdleClock.h"
#include "FakeScreenKeeper.h"
#include "FakeSoundPlayer.h"
#include "FakeSpeakerTone.h"
#include "ProgramWindows.h"

struct FakeMachine {
    FakeDialogs dialogs;
    FakeDisplayMode display{QSize(1024, 768)};
    FakeSoundPlayer player;
    FakeSpeakerTone speaker;
    FakeClock clock;
    FakeIdleClock idle;
    FakeScreenKeeper screen;
    Platform platform() { return Platform{dialogs, display, player, speaker, clock, idle, screen}; }
};
