#include "QvGdi.h"

#include "ChartTexts.h"

#include <QFontMetricsF>
#include <QPainter>

#include <chrono>

namespace {

QColor Argb(quint32 argb)
{
    return QColor::fromRgba(argb);
}

// A text as a path whose layout box starts at the point.
QPainterPath TextPath(const QString& text, const QFont& font, QPointF at)
{
    QPainterPath path;
    path.addText(at + QPointF(0, QFontMetricsF(font).ascent()), font, text);
    return path;
}

QFont PixelFont(const QString& family, int size)
{
    QFont font(family);
    font.setPixelSize(std::max(1, size));
    return font;
}

} // namespace

_QvMovieObject::_QvMovieObject()
    : m_strText(ChartTexts::DefaultMovieText)
{
}

QvGdi::QvGdi()
    : m_nStart(Clock())
{
    m_nNow = m_nStart;
}

QvGdi::~QvGdi()
{
    FreeAll();
}

qint64 QvGdi::Clock()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void QvGdi::SetGraphics(QPainter* graphics)
{
    m_pGraphics = graphics;
}

void QvGdi::Tick()
{
    TickAt(Clock());
}

void QvGdi::TickAt(qint64 now)
{
    m_nNow = now;
    m_nElapsed = now - m_nStart;
}

_QvMovieObject* QvGdi::MovieObjectInit(std::unique_ptr<_QvMovieObject> object)
{
    if (object->m_actions.empty())
        object->m_actions.push_back(std::make_unique<_QvMovieAction>());
    object->m_pen = QPen(Argb(0xFF000000), object->m_nPenWidth);
    object->m_brush = QBrush(Argb(object->m_clrFill));
    object->m_path = QPainterPath();
    object->m_matrix = QTransform();
    object->m_font = PixelFont(object->m_strFontName, object->m_nSize);
    BuildOutline(*object);
    m_objects.push_back(std::move(object));
    return m_objects.back().get();
}

void QvGdi::UpdateAll()
{
    for (const auto& object : m_objects)
        UpdateObject(*object);
}

void QvGdi::FreeAll()
{
    m_objects.clear();
}

void QvGdi::BuildOutline(_QvMovieObject& object)
{
    object.m_path = QPainterPath();
    const QVector<QPoint>& points = object.m_points;
    if (points.size() < 2)
        return;
    object.m_path.moveTo(points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        object.m_path.lineTo(points[i]);
    if (points.size() >= 3)
        object.m_path.lineTo(points.first());
}

void QvGdi::ApplyTransform(_QvMovieObject& object, const _QvMovieAction& action)
{
    const qreal bx = object.m_origin.x() + action.m_fOffsetX;
    const qreal by = object.m_origin.y() + action.m_fOffsetY;
    // Each step applies before the ones already given: the path turns about
    // (bx, by) and then moves by (bx, by).
    QTransform matrix;
    matrix.translate(bx, by);
    matrix.translate(bx, by);
    matrix.rotate(action.m_fAngle);
    matrix.translate(-bx, -by);
    object.m_matrix = matrix;
    object.m_path = matrix.map(object.m_path);
}

void QvGdi::UpdateObject(_QvMovieObject& object)
{
    BuildOutline(object);
    for (const auto& action : object.m_actions) {
        if (m_nElapsed < action->m_nStart || (action->m_nEnd != 0 && action->m_nEnd < m_nElapsed))
            continue;
        action->m_fAngle = action->m_fAngle > 360 ? 0 : action->m_fAngle + 1;
        switch (object.m_nKind) {
        case _QvMovieObject::KindPolygon:
            ApplyTransform(object, *action);
            DrawPath(object, action->m_nMode);
            break;
        case _QvMovieObject::KindText:
            object.m_path = TextPath(object.m_strText, object.m_font, object.m_origin);
            ApplyTransform(object, *action);
            DrawPath(object, 2);
            break;
        case _QvMovieObject::KindRotating:
            action->m_fAngle = static_cast<float>(m_nNow % 361);
            ApplyTransform(object, *action);
            DrawPath(object, action->m_nMode);
            break;
        default:
            break;
        }
    }
}

void QvGdi::DrawPath(const _QvMovieObject& object, int mode)
{
    if (!m_pGraphics)
        return;
    if (mode == 1 || mode == 3)
        m_pGraphics->strokePath(object.m_path, object.m_pen);
    if (mode == 2 || mode == 3)
        m_pGraphics->fillPath(object.m_path, object.m_brush);
}

void QvGdi::DrawLine(qreal x1, qreal y1, qreal x2, qreal y2, quint32 argb, qreal width)
{
    if (!m_pGraphics)
        return;
    m_pGraphics->setPen(QPen(Argb(argb), width));
    m_pGraphics->drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QvGdi::DrawArc(const QRectF& rect, qreal startAngle, qreal sweepAngle, quint32 argb, qreal width)
{
    if (!m_pGraphics)
        return;
    m_pGraphics->setPen(QPen(Argb(argb), width));
    m_pGraphics->setBrush(Qt::NoBrush);
    m_pGraphics->drawArc(rect, qRound(-startAngle * 16), qRound(-sweepAngle * 16));
}

void QvGdi::DrawImageAlpha(const QImage& image, const QRectF& target, const QRectF& source, qreal alpha)
{
    if (!m_pGraphics || image.isNull())
        return;
    const qreal before = m_pGraphics->opacity();
    m_pGraphics->setOpacity(alpha);
    m_pGraphics->drawImage(target, image, source);
    m_pGraphics->setOpacity(before);
}

void QvGdi::DrawTextPath(const QString& text, qreal angle, const QFont& font, const QBrush& brush)
{
    if (!m_pGraphics)
        return;
    QTransform turn;
    turn.rotate(angle);
    m_pGraphics->fillPath(turn.map(TextPath(text, font, QPointF(50, 110))), brush);
}

void QvGdi::DrawTextPathOnImage(QImage& image, const QString& text, int size, const QString& fontName,
                                const QBrush& brush)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(TextPath(text, PixelFont(fontName, size), QPointF(0, 0)), brush);
}

void QvGdi::DrawLineOnImage(QImage& image, qreal x1, qreal y1, qreal x2, qreal y2, quint32 argb, qreal width)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.rotate(30);
    painter.setPen(QPen(Argb(argb), width));
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QvGdi::FillRectOnImage(QImage& image, const QRectF& rect, quint32 argb)
{
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Argb(argb));
}

QPainterPath BuildRoundRectPath(qreal x1, qreal y1, qreal x2, qreal y2, qreal d)
{
    const qreal left = std::min(x1, x2);
    const qreal right = std::max(x1, x2);
    const qreal top = std::min(y1, y2);
    const qreal bottom = std::max(y1, y2);
    // Angles turn the other way round here: clockwise from 270 is
    // counter-clockwise from 90.
    QPainterPath path;
    const QRectF topRight(right - d, top, d, d);
    path.arcMoveTo(topRight, 90);
    path.arcTo(topRight, 90, -90);
    path.arcTo(QRectF(right - d, bottom - d, d, d), 0, -90);
    path.arcTo(QRectF(left, bottom - d, d, d), -90, -90);
    path.arcTo(QRectF(left, top, d, d), 180, -90);
    path.lineTo(left + d, top);
    path.lineTo(right - d / 2, top);
    return path;
}
