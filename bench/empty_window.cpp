// The reference for the workbench's start-up: a Qt program that shows an
// empty window. Linked with first_frame_probe.cpp, it ends after the first
// frame. An optional WIDTHxHEIGHT argument sizes the window, so that it can
// match the main window's size; --text adds one line of text, which is what
// any window that shows text pays on top (the font database and a font).

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    for (int i = 1; i < argc; ++i) {
        int width = 0;
        int height = 0;
        if (std::sscanf(argv[i], "%dx%d", &width, &height) == 2)
            window.resize(width, height);
        else if (std::strcmp(argv[i], "--text") == 0)
            (new QLabel(QStringLiteral("Eingabetext bereinigen"), &window))->move(10, 10);
    }
    window.show();
    return app.exec();
}
