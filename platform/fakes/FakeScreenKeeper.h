#pragma once
#include "../ScreenKeeper.h"

#include <QStringList>

class FakeScreenKeeper : public ScreenKeeper {
public:
    QStringList calls; // "keepOn", "release", "wake" in their order
    void keepOn() override { calls << QStringLiteral("keepOn"); }
    void release() override { calls << QStringLiteral("release"); }
    void wake() override { calls << QStringLiteral("wake"); }
};
