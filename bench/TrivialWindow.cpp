// The floor of a start to the board: a Qt Widgets window of the board's size with one label,
// which says "shown" on its standard error at its first paint and then waits to be ended.
// bench/start-to-board times the monitor against it.

#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <cstdio>

namespace {
class Window : public QLabel {
public:
    Window() : QLabel(QStringLiteral("Монитор кухни")) { resize(800, 600); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        if (m_told)
            return;
        m_told = true;
        std::fprintf(stderr, "shown\n");
        std::fflush(stderr);
    }

private:
    bool m_told = false;
};
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Window window;
    window.show();
    return app.exec();
}
