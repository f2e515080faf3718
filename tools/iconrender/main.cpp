// Renders an SVG icon into the PNG sizes of the hicolor icon theme, for
// desktops and menus that do not scale SVG icons themselves.
// Usage: pitwall-iconrender ICON.svg OUTPUT-DIRECTORY CATEGORY NAME SIZE...
// writes OUTPUT-DIRECTORY/<size>x<size>/<category>/<name>.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s ICON.svg OUTPUT-DIRECTORY CATEGORY NAME SIZE...\n", argv[0]);
        return 2;
    }
    // Rendering needs no display; the offscreen platform is always there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s is not a valid SVG picture\n", argv[1]);
        return 1;
    }
    const QString output = QString::fromLocal8Bit(argv[2]);
    const QString category = QString::fromLocal8Bit(argv[3]);
    const QString name = QString::fromLocal8Bit(argv[4]);
    for (int i = 5; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*end != '\0' || size < 8 || size > 1024) {
            std::fprintf(stderr, "%s is not an icon size\n", argv[i]);
            return 2;
        }
        const int pixels = static_cast<int>(size);
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString directory = QString("%1/%2x%2/%3").arg(output).arg(size).arg(category);
        const QString file = directory + "/" + name + ".png";
        if (!QDir().mkpath(directory) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
