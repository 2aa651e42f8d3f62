#pragma once
#include "../DisplayMode.h"

#include <QList>

class FakeDisplayMode : public DisplayMode {
public:
    explicit FakeDisplayMode(QSize screen = QSize(1024, 768)) : screen(screen) {}
    QSize screen;
    struct Request { int width, height, bitsPerPixel; };
    QList<Request> requests;

    QSize screenSize() const override { return screen; }
    void requestMode(int width, int height, int bitsPerPixel) override
    {
        requests.append({width, height, bitsPerPixel});
    }
};
