// The reference for the workbench's start-up: a Qt program that shows an
// empty window. Linked with first_frame_probe.cpp, it ends after the first
// frame. An optional WIDTHxHEIGHT argument sizes the window, so that it can
// match the main window's size; --text adds one line of text, which is what
// any window that shows text pays on top (the font database and a font);
// --faces shows one line in each face and size the workbench's layout uses,
// what any window in that layout pays for its type.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace {

void AddFaces(QWidget &window)
{
    struct Face {
        const char *family;
        int pixelSize;
        bool bold;
        bool italic;
    };
    // The installed stand-ins of the layout's faces, at its sizes.
    const Face faces[] = {
        {"Liberation Sans", 11, false, false}, {"Liberation Sans", 13, false, false},
        {"Liberation Serif", 21, true, true},  {"Liberation Serif", 11, true, false},
        {"Liberation Mono", 11, true, false},  {"Liberation Mono", 13, true, false},
        {"Liberation Mono", 16, true, false},  {"Liberation Mono", 17, true, false},
    };
    int top = 10;
    for (const Face &face : faces) {
        QFont font(QString::fromLatin1(face.family));
        font.setPixelSize(face.pixelSize);
        font.setBold(face.bold);
        font.setItalic(face.italic);
        auto *label = new QLabel(QStringLiteral("Eingabetext bereinigen 0123456789"), &window);
        label->setFont(font);
        label->move(10, top);
        top += 30;
    }
}

} // namespace

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
        else if (std::strcmp(argv[i], "--faces") == 0)
            AddFaces(window);
    }
    window.show();
    return app.exec();
}
