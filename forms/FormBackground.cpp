#include "FormBackground.h"

#include "FormTexts.h"
#include "QvGdi.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextSplit.h"
#include "web/HttpClient.h"
#include "xml/XmlNode.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QSize>
#include <QTemporaryDir>
#include <QtMath>

#include <cmath>

namespace {

const QColor DefaultColour(240, 240, 240);
constexpr int CornerBox = 10; // rounded corners are quarter arcs in a 10 by 10 box
constexpr int DefaultFontWidth = 32;

int Horizontal(int style)
{
    return (style % 100) / 10;
}

int Vertical(int style)
{
    return style % 10;
}

Qt::PenStyle DashStyle(int style)
{
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

// Four integers, or nothing; the item's own rule, reported the same way.
std::optional<RectLTRB> ReadPos(const QString& text)
{
    QStringList parts;
    SplitAtChar(text, QStringLiteral(","), parts);
    if (parts.size() != 4)
        return std::nullopt;
    return RectLTRB{TextToInt(parts[0]), TextToInt(parts[1]), TextToInt(parts[2]), TextToInt(parts[3])};
}

QPainterPath RoundedOutline(const RectLTRB& pos)
{
    return BuildRoundRectPath(pos.left, pos.top, pos.right, pos.bottom, CornerBox);
}

} // namespace

void CFormBackground::Load(const CXmlNode& head)
{
    m_items.clear();
    const CXmlNode bg = head.GetChild(QStringLiteral("bg"));
    if (bg.IsNull())
        return;
    const CXmlNodes children = bg.GetChildren();
    bool malformed = false;
    for (int i = 0; i < children.GetCount(); ++i)
        m_items.append(ReadItem(children[i], malformed));
    // Once per form, at opening, never from inside a paint.
    if (malformed)
        ShowMessage(FormTexts::RectFormatError);
}

CFormBackground::Item CFormBackground::ReadItem(const CXmlNode& element, bool& malformed)
{
    Item item;
    // A missing or malformed position is the zero rectangle: an image placed
    // by its alignment alone still shows.
    const std::optional<RectLTRB> pos = ReadPos(element.GetAttribute(QStringLiteral("pos")));
    malformed = malformed || !pos;
    item.type = element.GetAttribute(QStringLiteral("type"));
    item.pos = pos.value_or(RectLTRB{});
    item.style = element.GetAttributeInt(QStringLiteral("style"), 0);
    item.width = element.GetAttributeInt(QStringLiteral("width"), 0);
    const QString colour = element.GetAttribute(QStringLiteral("color"));
    if (colour.isEmpty()) {
        item.color = DefaultColour;
    } else {
        const quint32 rgb = ParseRgbText(colour);
        item.color = QColor(int(rgb & 0xFF), int(rgb >> 8 & 0xFF), int(rgb >> 16 & 0xFF));
    }
    item.text = element.GetAttribute(QStringLiteral("text"));
    const QString font = element.GetAttribute(QStringLiteral("font"));
    if (!font.isEmpty())
        item.font = FontOf(font);
    if (item.type == u"img")
        item.image = LoadImage(item.text);
    return item;
}

QImage CFormBackground::LoadImage(const QString& source)
{
    if (source.isEmpty())
        return QImage();
    if (!source.startsWith(QStringLiteral("http")))
        return QImage(GetModuleFolder() + source);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bg"));
    return folder.isValid() && DownloadToFile(source, path) ? QImage(path) : QImage();
}

QFont CFormBackground::FontOf(const QString& spec)
{
    QStringList parts;
    SplitAtChar(spec, QStringLiteral(","), parts);
    const int height = TextToInt(parts.value(0));
    const int width = parts.size() > 1 && !parts[1].isEmpty() ? TextToInt(parts[1]) : DefaultFontWidth;
    const QString face = parts.size() > 2 && !parts[2].isEmpty() ? parts[2] : FormTexts::DefaultFace;
    QFont font(face);
    font.setWeight(QFont::Thin);
    if (height > 0) {
        font.setPixelSize(height);
        // The cell's average character width against the usual half height.
        if (width > 0)
            font.setStretch(qBound(1, width * 200 / height, 4000));
    }
    return font;
}

void CFormBackground::Paint(QPainter& painter, const QSize& client) const
{
    if (m_items.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    for (const Item& item : m_items) {
        QPen pen(item.color, item.width);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const RectLTRB& p = item.pos;
        if (item.type == u"img") {
            PaintImage(painter, item, client);
        } else if (item.type == u"line") {
            PaintLine(painter, item, client);
        } else if (item.type == u"rect") {
            pen.setStyle(DashStyle(item.style));
            painter.setPen(pen);
            painter.drawRect(QRectF(p.left, p.top, p.width(), p.height()));
        } else if (item.type == u"rect1") {
            painter.fillRect(QRectF(p.left, p.top, p.width(), p.height()), item.color);
        } else if (item.type == u"rect2") {
            painter.drawPath(RoundedOutline(p));
        } else if (item.type == u"rect3") {
            painter.fillPath(RoundedOutline(p), item.color);
        } else if (item.type == u"arrow") {
            PaintArrow(painter, item);
        } else if (item.type == u"text") {
            PaintText(painter, item, client, font);
        }
    }
    painter.restore();
}

void CFormBackground::PaintImage(QPainter& painter, const Item& item, const QSize& client) const
{
    if (item.image.isNull())
        return;
    const RectLTRB& p = item.pos;
    int x = p.left;
    int y = p.top;
    const int h = Horizontal(item.style);
    const int v = Vertical(item.style);
    if (h == 2)
        x = (client.width() - item.image.width()) / 2;
    else if (h == 3)
        x = p.left + client.width() - item.image.width() - p.right;
    if (v == 2)
        y = (client.height() - item.image.height()) / 2;
    else if (v == 3)
        y = p.top + client.height() - item.image.height() - p.bottom;
    painter.drawImage(QPoint(x, y), item.image);
}

void CFormBackground::PaintLine(QPainter& painter, const Item& item, const QSize& client) const
{
    const RectLTRB& p = item.pos;
    int x1 = p.left, y1 = p.top, x2 = p.right, y2 = p.bottom;
    const int h = Horizontal(item.style);
    const int v = Vertical(item.style);
    if (h == 2) {
        const int shift = (client.width() - std::abs(x2 - x1)) / 2 - qMin(x1, x2);
        x1 += shift, x2 += shift;
    } else if (h == 3) {
        const int shift = client.width() - p.left - qMax(x1, x2);
        x1 += shift, x2 += shift;
    }
    if (v == 2) {
        const int shift = (client.height() - std::abs(y2 - y1)) / 2 - qMin(y1, y2);
        y1 += shift, y2 += shift;
    } else if (v == 3) {
        const int shift = client.height() - p.top - qMax(y1, y2);
        y1 += shift, y2 += shift;
    }
    painter.drawLine(x1, y1, x2, y2);
}

void CFormBackground::PaintArrow(QPainter& painter, const Item& item) const
{
    const RectLTRB& p = item.pos;
    const QPointF from(p.left, p.top);
    const QPointF to(p.right, p.bottom);
    painter.drawLine(from, to);
    const QPointF along = to - from;
    const qreal length = std::hypot(along.x(), along.y());
    if (length <= 0)
        return;
    // The cap's path (-1,-1), (0,1), (1,-1) with y along the line, scaled by
    // the pen width.
    const qreal scale = qMax(1, item.width);
    const QPointF forward = along / length * scale;
    const QPointF side(-forward.y(), forward.x());
    const QPolygonF cap({to - forward - side, to + forward, to - forward + side});
    painter.drawPolyline(cap);
}

void CFormBackground::PaintText(QPainter& painter, const Item& item, const QSize& client, QFont& font) const
{
    if (item.font)
        font = *item.font;
    painter.setFont(font);
    painter.setPen(item.color);
    if (item.width == 0) {
        painter.setBackgroundMode(Qt::TransparentMode);
    } else {
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
    }
    const RectLTRB& p = item.pos;
    const QSize extent = QFontMetrics(font).size(0, item.text);
    QRect place(QPoint(p.left, p.top), QPoint(p.right - 1, p.bottom - 1));
    const int h = Horizontal(item.style);
    const int v = Vertical(item.style);
    if (h == 2)
        place.moveLeft((client.width() - extent.width()) / 2);
    else if (h == 3)
        place.moveLeft(client.width() - p.left - extent.width());
    if (v == 2)
        place.moveTop((client.height() - extent.height()) / 2);
    else if (v == 3)
        place.moveTop(client.height() - p.top - extent.height());
    painter.save();
    painter.setClipRect(place);
    painter.drawText(place, Qt::AlignLeft | Qt::AlignTop, item.text);
    painter.restore();
    painter.setBackgroundMode(Qt::TransparentMode);
}
