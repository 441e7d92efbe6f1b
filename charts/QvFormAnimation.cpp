#include "QvFormAnimation.h"

#include "ChartPainter.h"
#include "ChartTexts.h"
#include "QvGdi.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QThread>

#include <cstring>

namespace {

constexpr int FrameMilliseconds = 10;
constexpr int FontPoints = 50;
constexpr int SweepLimit = 360;
constexpr int Tile = 32; // the changed parts of a frame are found tile by tile

// The tiles whose pixels differ between two frames of the same size and
// format; the whole image when the sizes differ.
QRegion ChangedTiles(const QImage& now, const QImage& before)
{
    if (now.size() != before.size() || now.format() != before.format())
        return QRegion(now.rect());
    QList<QRect> changed;
    const int pixelBytes = now.depth() / 8;
    for (int top = 0; top < now.height(); top += Tile) {
        const int bottom = std::min(top + Tile, now.height());
        // Runs of changed tiles along the band become one rectangle each.
        int runStart = -1;
        for (int left = 0; left < now.width(); left += Tile) {
            const size_t bytes = size_t(std::min(Tile, now.width() - left) * pixelBytes);
            bool differs = false;
            for (int y = top; y < bottom && !differs; ++y)
                differs = std::memcmp(now.constScanLine(y) + left * pixelBytes,
                                      before.constScanLine(y) + left * pixelBytes, bytes) != 0;
            if (differs && runStart < 0)
                runStart = left;
            if (!differs && runStart >= 0) {
                changed.append(QRect(runStart, top, left - runStart, bottom - top));
                runStart = -1;
            }
        }
        if (runStart >= 0)
            changed.append(QRect(runStart, top, now.width() - runStart, bottom - top));
    }
    QRegion region;
    region.setRects(changed.constData(), int(changed.size()));
    return region;
}

// A drawing that stays the same from frame to frame, kept as a transparent
// image of the frame's size and laid on each frame within its box.
struct StillLayer
{
    QImage image;
    QRect box;

    // Draws the layer anew when the frame size changed, and finds the box of
    // what it drew.
    template <typename Draw>
    void Prepare(QSize size, Draw draw)
    {
        if (image.size() == size)
            return;
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        draw(painter);
        painter.end();
        box = QRect();
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(line[x]) != 0)
                    box |= QRect(x, y, 1, 1);
        }
    }

    void LayOn(QPainter& frame) const { frame.drawImage(box.topLeft(), image, box); }
};

std::unique_ptr<_QvMovieObject> Square(QPointF origin, int penWidth, int mode, float angle)
{
    auto object = std::make_unique<_QvMovieObject>();
    object->m_nKind = _QvMovieObject::KindPolygon;
    object->m_points = {{10, 10}, {100, 10}, {100, 100}, {10, 100}};
    object->m_origin = origin;
    object->m_nPenWidth = penWidth;
    auto action = std::make_unique<_QvMovieAction>();
    action->m_nMode = mode;
    action->m_fAngle = angle;
    object->m_actions.push_back(std::move(action));
    return object;
}

} // namespace

void BuildDemoScene(QvGdi& scene)
{
    scene.MovieObjectInit(Square(QPointF(100, 10), 1, 1, 30));
    scene.MovieObjectInit(Square(QPointF(100, 20), 2, 2, 0));
    auto text = std::make_unique<_QvMovieObject>();
    text->m_nKind = _QvMovieObject::KindText;
    text->m_strText = ChartTexts::DemoSceneText;
    text->m_strFontName = ChartTexts::AnimationFontFace;
    text->m_nSize = 50;
    text->m_clrFill = 0xFF00FFFF;
    text->m_origin = QPointF(300, 0);
    auto action = std::make_unique<_QvMovieAction>();
    action->m_fAngle = 30;
    text->m_actions.push_back(std::move(action));
    scene.MovieObjectInit(std::move(text));
}

QvFormAnimation::QvFormAnimation(QWidget* form)
    : QWidget(form)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(form->rect());
    m_nWidth = width();
    m_nHeight = height();
    form->installEventFilter(this);
    lower();
    show();
}

QvFormAnimation::~QvFormAnimation()
{
    Stop();
}

void QvFormAnimation::Start()
{
    if (IsRunning())
        return;
    Stop();
    m_bStopAnimation = false;
    m_thread.reset(QThread::create([this] { RunAnimationLoop(); }));
    m_thread->start();
}

void QvFormAnimation::Stop()
{
    m_bStopAnimation = true;
    if (m_thread) {
        m_thread->wait();
        m_thread.reset();
    }
}

bool QvFormAnimation::IsRunning() const
{
    return m_thread && m_thread->isRunning();
}

QImage QvFormAnimation::Frame() const
{
    QMutexLocker lock(&m_frameLock);
    return m_frame;
}

void QvFormAnimation::paintEvent(QPaintEvent* event)
{
    // Drawn from the shown frame under the lock rather than from a copy: a
    // copy would share its pixels, and the worker's next drawing into them
    // would then have to allocate a new image.
    QPainter painter(this);
    QMutexLocker lock(&m_frameLock);
    if (m_frame.isNull())
        painter.fillRect(event->rect(), Qt::white);
    else
        painter.drawImage(event->rect(), m_frame, event->rect());
}

bool QvFormAnimation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        m_nWidth = width();
        m_nHeight = height();
    }
    return QWidget::eventFilter(watched, event);
}

void QvFormAnimation::PublishFrame(QImage& drawn)
{
    // Only the worker writes m_frame, so it may read it here without the lock.
    const QRegion changed = ChangedTiles(drawn, m_frame);
    {
        QMutexLocker lock(&m_frameLock);
        std::swap(m_frame, drawn);
    }
    if (!changed.isEmpty())
        QMetaObject::invokeMethod(this, [this, changed] { update(changed); }, Qt::QueuedConnection);
}

// Runs on the worker: everything it draws with is its own; the widget is
// reached only through the frame mailbox and a queued repaint request.
void QvFormAnimation::RunAnimationLoop()
{
    QvGdi scene;
    BuildDemoScene(scene);
    QFont font(ChartTexts::AnimationFontFace);
    font.setPixelSize(ChartFontPixels(FontPoints));
    QLinearGradient gradient(0, 0, 500, 500);
    gradient.setColorAt(0, QColor(255, 0, 0));
    gradient.setColorAt(1, QColor(255, 255, 0));
    const QBrush brush(gradient);
    const QImage first(ChartTexts::AnimationImageFile);
    const QImage second(ChartTexts::AnimationImageFile);
    int sweep = 0;
    QImage buffer;
    // Text drawn as filled glyph outlines (a 50-point font is too large for
    // the glyph cache) costs most of a frame. The turned text path and the
    // clock's words are the same in every frame, so they are drawn once into
    // layers and laid on each frame at their turn; only the clock's number is
    // drawn anew.
    const QPointF clockAt(300, 10 + QFontMetricsF(font).ascent());
    const QString clockWords = ChartTexts::ClockText.arg(QString()); // the number ends the text
    const qreal numberX = clockAt.x() + QFontMetricsF(font).horizontalAdvance(clockWords);
    StillLayer pathLayer;
    StillLayer wordsLayer;

    while (!m_bStopAnimation) {
        QThread::msleep(FrameMilliseconds);
        if (sweep < SweepLimit)
            sweep = (sweep + 10) % (SweepLimit + 1);
        scene.Tick();
        const int w = m_nWidth;
        const int h = m_nHeight;
        if (w <= 0 || h <= 0)
            continue;
        if (buffer.size() != QSize(w, h))
            buffer = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        pathLayer.Prepare(buffer.size(), [&](QPainter& layer) {
            scene.SetGraphics(&layer);
            scene.DrawTextPath(ChartTexts::PathText, 45, font, brush);
            scene.SetGraphics(nullptr);
        });
        wordsLayer.Prepare(buffer.size(), [&](QPainter& layer) {
            layer.setFont(font);
            layer.setPen(QPen(brush, 1));
            layer.drawText(clockAt, clockWords);
        });
        buffer.fill(Qt::white);
        QPainter g(&buffer);
        g.setRenderHint(QPainter::Antialiasing);
        g.setRenderHint(QPainter::TextAntialiasing);
        scene.SetGraphics(&g);
        const qreal diagonal = static_cast<qreal>((QvGdi::Clock() / 2) % w);

        scene.DrawImageAlpha(first, QRectF(300, 200, 200, 300), first.rect(), 1.0);
        scene.DrawLine(0, 0, diagonal, diagonal, 0x78FF0000, 5);
        scene.DrawArc(QRectF(100, 100, 100, 200), 0, sweep, 0x78FF0000, 2);
        wordsLayer.LayOn(g);
        g.setFont(font);
        g.setPen(QPen(brush, 1));
        g.drawText(QPointF(numberX, clockAt.y()), QString::number(scene.Elapsed()));
        pathLayer.LayOn(g);
        scene.UpdateAll();
        if (!second.isNull()) {
            QImage copy = second.copy();
            QvGdi::DrawTextPathOnImage(copy, ChartTexts::PathText, font.pixelSize(), font.family(), brush);
            QvGdi::DrawLineOnImage(copy, 0, 0, diagonal, diagonal, 0x32FF0000, 15);
            QvGdi::FillRectOnImage(copy, QRectF(20, 20, 500, 500), 0x3264FF19);
            // Turned half round and mirrored left to right: upside down.
            copy = copy.mirrored(false, true);
            scene.DrawImageAlpha(copy, QRectF(501, 200, 200, 300), copy.rect(), 0.5);
        }
        scene.SetGraphics(nullptr);
        g.end();
        PublishFrame(buffer);
    }
}
