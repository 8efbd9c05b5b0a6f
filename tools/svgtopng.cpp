// Rasterises the SVG icon sources into the PNG files the resource tree holds.
// Usage: svgtopng <size> <output.png|output.ico> <input.svg>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: svgtopng <size> <output> <input.svg>\n");
        return 2;
    }
    // No application object: the icons hold no text, and a platform plugin
    // would only complain about the build's environment.
    const int size = QString::fromLocal8Bit(argv[1]).toInt();
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[3]));
    if (size <= 0 || !renderer.isValid()) {
        std::fprintf(stderr, "svgtopng: cannot read %s\n", argv[3]);
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "svgtopng: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
