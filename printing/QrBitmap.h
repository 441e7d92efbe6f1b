#pragma once

#include <QImage>
#include <QString>

class QrEncoder;

// The symbol as a one-bit picture: one pixel per module, dark modules black,
// with a light quiet zone of four modules on every side.
QImage MakeQrImage(const QrEncoder& encoder);

// The picture of a text as printed forms carry it: level M, at least version
// 1, the mask 0. A null image for an empty text or one too long for any symbol.
QImage MakeQrBitmap(const QString& text);
