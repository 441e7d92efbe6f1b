#include "QvFormAnimation.h"

#include "ChartPainter.h"
#include "ChartTexts.h"
#include "QvGdi.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QThread>

namespace {

constexpr int FrameMilliseconds = 10;
constexpr int FontPoints = 50;
constexpr int SweepLimit = 360;

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

void QvFormAnimation::paintEvent(QPaintEvent*)
{
    const QImage frame = Frame();
    QPainter painter(this);
    if (frame.isNull())
        painter.fillRect(rect(), Qt::white);
    else
        painter.drawImage(0, 0, frame);
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

void QvFormAnimation::PublishFrame(const QImage& frame)
{
    {
        QMutexLocker lock(&m_frameLock);
        m_frame = frame;
    }
    QMetaObject::invokeMethod(this, qOverload<>(&QWidget::update), Qt::QueuedConnection);
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

    while (!m_bStopAnimation) {
        QThread::msleep(FrameMilliseconds);
        if (sweep < SweepLimit)
            sweep = (sweep + 10) % (SweepLimit + 1);
        scene.Tick();
        const int w = m_nWidth;
        const int h = m_nHeight;
        if (w <= 0 || h <= 0)
            continue;
        QImage buffer(w, h, QImage::Format_ARGB32_Premultiplied);
        buffer.fill(Qt::white);
        QPainter g(&buffer);
        g.setRenderHint(QPainter::Antialiasing);
        g.setRenderHint(QPainter::TextAntialiasing);
        scene.SetGraphics(&g);
        const qreal diagonal = static_cast<qreal>((QvGdi::Clock() / 2) % w);

        scene.DrawImageAlpha(first, QRectF(300, 200, 200, 300), first.rect(), 1.0);
        scene.DrawLine(0, 0, diagonal, diagonal, 0x78FF0000, 5);
        scene.DrawArc(QRectF(100, 100, 100, 200), 0, sweep, 0x78FF0000, 2);
        g.setFont(font);
        g.setPen(QPen(brush, 1));
        g.drawText(QPointF(300, 10 + QFontMetricsF(font).ascent()), ChartTexts::ClockText.arg(scene.Elapsed()));
        scene.DrawTextPath(ChartTexts::PathText, 45, font, brush);
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
