#include "QrBitmap.h"

#include "QrEncoder.h"

#include <memory>

QImage MakeQrImage(const QrEncoder& encoder)
{
    constexpr int QuietZone = 4;
    const int side = encoder.Size() + 2 * QuietZone;
    QImage image(side, side, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < encoder.Size(); ++y) {
        for (int x = 0; x < encoder.Size(); ++x) {
            if (encoder.IsDark(x, y))
                image.setPixel(x + QuietZone, y + QuietZone, 1);
        }
    }
    return image;
}

QImage MakeQrBitmap(const QString& text)
{
    auto encoder = std::make_unique<QrEncoder>();
    if (!encoder->Encode(QrEncoder::LevelM, 1, true, 0, text))
        return {};
    return MakeQrImage(*encoder);
}
