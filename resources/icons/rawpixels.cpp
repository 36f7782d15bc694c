// Build tool: writes a PNG's pixels as raw RGBA bytes, row by row. The window
// icon is made from these at start-up, because reading a PNG through
// QImageReader loads every image format plugin installed just to ask each
// whether it reads PNG.
#include <QImage>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: rawpixels IN.png OUT.rgba\n");
        return 2;
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGBA8888);
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (image.isNull() || !out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "rawpixels: cannot convert %s to %s\n", argv[1], argv[2]);
        return 1;
    }
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const char*>(image.constScanLine(y));
        if (out.write(row, qint64(image.width()) * 4) != qint64(image.width()) * 4)
            return 1;
    }
    return out.commit() ? 0 : 1;
}
