#include "shell/picture_box.h"

#include <QImage>
#include <QPainter>

namespace qb {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::showScaled(const QPixmap& picture) {
    canvas_ =
        picture.scaled(contentsRect().size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    setPixmap(canvas_);
}

void PictureBox::clear() {
    canvas_ = QPixmap();
    QLabel::clear();
}

void PictureBox::setOuterSize(int width, int height) {
    resize((width + kTwipsPerPixel / 2) / kTwipsPerPixel,
           (height + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

void PictureBox::drawStretched(const Dib& bitmap, int widthPixels, int heightPixels) {
    if (widthPixels <= 0 || heightPixels <= 0) {
        return;
    }
    QPixmap drawn(contentsRect().size().expandedTo(QSize(widthPixels, heightPixels)));
    drawn.fill(palette().color(backgroundRole()));
    QPainter painter(&drawn);
    painter.drawImage(QRect(0, 0, widthPixels, heightPixels), imageOf(bitmap));
    canvas_ = drawn;
}

void PictureBox::keepPicture() {
    setPixmap(canvas_);
}

QImage imageOf(const Dib& bitmap) {
    const int width = bitmap.width;
    const int height = std::abs(bitmap.height);
    const auto stride = static_cast<qsizetype>(bitmap.rowBytes());
    QImage::Format format = QImage::Format_RGB32;
    if (bitmap.bitsPerPixel == 8) {
        format = QImage::Format_Indexed8;
    } else if (bitmap.bitsPerPixel == 16) {
        format = QImage::Format_RGB555;
    }
    QImage image(bitmap.pixels.data(), width, height, stride, format);
    if (bitmap.bitsPerPixel == 8) {
        QList<QRgb> colours;
        for (std::size_t i = 0; i + 3 < bitmap.colourTable.size(); i += 4) {
            colours.push_back(
                qRgb(bitmap.colourTable[i + 2], bitmap.colourTable[i + 1], bitmap.colourTable[i]));
        }
        image.setColorTable(colours);
    }
    // A positive height means the first stored row is the bottom one.
    return bitmap.height > 0 ? image.mirrored(false, true) : image.copy();
}

} // namespace qb
