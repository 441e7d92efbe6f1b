#include "text/ColorRectText.h"

#include "text/MessageSink.h"
#include "text/TextSplit.h"

#include <QList>
#include <QStringList>

namespace {

const QString rectFormatError = QStringLiteral("矩形数据格式错误");
const QString rgbFormatError = QStringLiteral("RGB颜色格式错误(x,y,z)");
const QString argbFormatError = QStringLiteral("Color颜色格式错误(a,x,y,z)");

constexpr quint32 pureRed = 255;
constexpr quint32 opaqueBlack = 0xFF000000;

// The comma-separated parts of a text as integers.
QList<int> ParseParts(const QString& text)
{
    QStringList pieces;
    SplitAtChar(text, QStringLiteral(","), pieces);
    QList<int> parts;
    for (const QString& piece : pieces)
        parts.append(TextToInt(piece));
    return parts;
}

quint32 Byte(int value)
{
    return static_cast<quint32>(value) & 0xFF;
}

} // namespace

int RectLTRB::width() const
{
    return right - left;
}

int RectLTRB::height() const
{
    return bottom - top;
}

RectLTRB ParseRectText(const QString& text)
{
    const QList<int> parts = ParseParts(text);
    if (parts.size() != 4) {
        ShowMessage(rectFormatError);
        return RectLTRB();
    }
    return RectLTRB{parts[0], parts[1], parts[2], parts[3]};
}

quint32 ParseRgbText(const QString& text)
{
    const QList<int> parts = ParseParts(text);
    if (parts.size() != 3) {
        ShowMessage(rgbFormatError);
        return pureRed;
    }
    return Byte(parts[0]) | Byte(parts[1]) << 8 | Byte(parts[2]) << 16;
}

quint32 ParseArgbText(const QString& text)
{
    if (text.isEmpty())
        return opaqueBlack;
    const QList<int> parts = ParseParts(text);
    if (parts.size() == 4)
        return Byte(parts[0]) << 24 | Byte(parts[1]) << 16 | Byte(parts[2]) << 8 | Byte(parts[3]);
    if (parts.size() == 3)
        return opaqueBlack | Byte(parts[0]) << 16 | Byte(parts[1]) << 8 | Byte(parts[2]);
    ShowMessage(argbFormatError);
    return opaqueBlack;
}

QString FormatRgbText(quint32 colour)
{
    return QStringLiteral("%1,%2,%3")
        .arg(colour & 0xFF)
        .arg(colour >> 8 & 0xFF)
        .arg(colour >> 16 & 0xFF);
}
