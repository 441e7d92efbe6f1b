#pragma once

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QVector>

#include <memory>
#include <vector>

class QPainter;

// A timed action of a movie object: how it is drawn, when, and turned and
// moved by how much.
struct _QvMovieAction
{
    int m_nMode = 0;        // polygons: 1 outline, 2 fill, 3 both
    qint64 m_nStart = 0;    // runs once the scene's elapsed milliseconds reach it
    qint64 m_nEnd = 0;      // 0 runs for ever; else stops once elapsed passes it
    float m_fAngle = 0;     // degrees, advanced every frame
    float m_fOffsetX = 0;
    float m_fOffsetY = 0;
};

// A polygon or text of an animated scene, with its actions.
struct _QvMovieObject
{
    static constexpr int KindPolygon = 1;
    static constexpr int KindText = 2;
    static constexpr int KindRotating = 3;

    _QvMovieObject();

    int m_nKind = 0;
    QString m_strText;
    int m_nSize = 0;            // em size of a text object, in pixels
    QString m_strFontName;
    QPointF m_origin;
    QVector<QPoint> m_points;
    std::vector<std::unique_ptr<_QvMovieAction>> m_actions;
    int m_nPenWidth = 2;
    quint32 m_clrFill = 0x64C8000A;

    // Made by QvGdi::MovieObjectInit.
    QPen m_pen;
    QBrush m_brush;
    QPainterPath m_path;
    QTransform m_matrix;
    QFont m_font;
};

// The scene of a form's animation: movie objects drawn in order on a
// painter, each frame at the scene's current time.
class QvGdi
{
public:
    QvGdi();
    ~QvGdi();
    QvGdi(const QvGdi&) = delete;
    QvGdi& operator=(const QvGdi&) = delete;

    // The surface the scene draws on; null draws nothing.
    void SetGraphics(QPainter* graphics);
    // Takes the clock's time for the next frame.
    void Tick();
    void TickAt(qint64 now);
    qint64 Now() const { return m_nNow; }
    qint64 Elapsed() const { return m_nElapsed; }

    // Gives an object without actions one idle action, makes its pen,
    // brush, path and font and appends it to the scene.
    _QvMovieObject* MovieObjectInit(std::unique_ptr<_QvMovieObject> object);
    void UpdateAll();
    void UpdateObject(_QvMovieObject& object);
    void FreeAll();

    static void BuildOutline(_QvMovieObject& object);
    static void ApplyTransform(_QvMovieObject& object, const _QvMovieAction& action);

    // Drawing on the scene's surface. Angles in degrees, clockwise.
    void DrawLine(qreal x1, qreal y1, qreal x2, qreal y2, quint32 argb, qreal width);
    void DrawArc(const QRectF& rect, qreal startAngle, qreal sweepAngle, quint32 argb, qreal width);
    void DrawImageAlpha(const QImage& image, const QRectF& target, const QRectF& source, qreal alpha);
    // The text as a path at (50, 110), turned by the angle, filled.
    void DrawTextPath(const QString& text, qreal angle, const QFont& font, const QBrush& brush);

    // Drawing into an image through its own anti-aliased painter.
    static void DrawTextPathOnImage(QImage& image, const QString& text, int size, const QString& fontName,
                                    const QBrush& brush);
    // The line on the image's surface turned by 30 degrees.
    static void DrawLineOnImage(QImage& image, qreal x1, qreal y1, qreal x2, qreal y2, quint32 argb, qreal width);
    static void FillRectOnImage(QImage& image, const QRectF& rect, quint32 argb);

    // Milliseconds of a steady clock, the scene's time base.
    static qint64 Clock();

private:
    void DrawPath(const _QvMovieObject& object, int mode);

    QPainter* m_pGraphics = nullptr;
    std::vector<std::unique_ptr<_QvMovieObject>> m_objects;
    qint64 m_nStart = 0;
    qint64 m_nNow = 0;
    qint64 m_nElapsed = 0;
};

// A rounded rectangle as a path: arcs of d by d in the corners (top right,
// bottom right, bottom left, top left), then the top edge back towards the
// start.
QPainterPath BuildRoundRectPath(qreal x1, qreal y1, qreal x2, qreal y2, qreal d);
