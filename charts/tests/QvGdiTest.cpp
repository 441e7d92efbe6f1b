#include "QvFormAnimation.h"

#include <QScreen>
#include "QvGdi.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<_QvMovieObject> Polygon(int kind, QVector<QPoint> points, QPointF origin)
{
    auto object = std::make_unique<_QvMovieObject>();
    object->m_nKind = kind;
    object->m_points = std::move(points);
    object->m_origin = origin;
    return object;
}

_QvMovieAction* AddAction(_QvMovieObject& object, int mode, qint64 start, qint64 end, float angle = 0)
{
    auto action = std::make_unique<_QvMovieAction>();
    action->m_nMode = mode;
    action->m_nStart = start;
    action->m_nEnd = end;
    action->m_fAngle = angle;
    object.m_actions.push_back(std::move(action));
    return object.m_actions.back().get();
}

int DarkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
    return dark;
}

TEST(QvGdiTest, ActionsRunInsideTheirTimeWindowAndAdvanceTheirAngle)
{
    QvGdi scene;
    auto object = Polygon(_QvMovieObject::KindPolygon, {{0, 0}, {10, 0}, {10, 10}}, {});
    _QvMovieAction* always = AddAction(*object, 1, 0, 0, 360.5f);
    _QvMovieAction* window = AddAction(*object, 1, 100, 200, 10);
    _QvMovieObject* added = scene.MovieObjectInit(std::move(object));
    EXPECT_EQ(added->m_actions.size(), 2u);

    struct Case
    {
        qint64 elapsed;
        float always;
        float window;
    };
    const Case cases[] = {
        {50, 0, 10},     // above 360 starts again at 0; the window has not begun
        {100, 1, 11},    // start reached
        {200, 2, 12},    // end reached, not passed
        {201, 3, 12},    // end passed
        {100000, 4, 12}, // end 0 runs for ever
    };
    const qint64 start = scene.Now() - scene.Elapsed();
    for (const Case& c : cases) {
        scene.TickAt(start + c.elapsed);
        scene.UpdateAll();
        EXPECT_FLOAT_EQ(always->m_fAngle, c.always) << c.elapsed;
        EXPECT_FLOAT_EQ(window->m_fAngle, c.window) << c.elapsed;
    }
}

TEST(QvGdiTest, ObjectsWithoutActionsGetAnIdleOneAndRotatingObjectsFollowTheClock)
{
    QvGdi scene;
    _QvMovieObject* plain = scene.MovieObjectInit(Polygon(_QvMovieObject::KindPolygon, {}, {}));
    ASSERT_EQ(plain->m_actions.size(), 1u);
    EXPECT_EQ(plain->m_actions[0]->m_nMode, 0);
    EXPECT_EQ(plain->m_strText, "请输入文本");
    EXPECT_EQ(plain->m_pen.width(), 2);
    EXPECT_EQ(plain->m_brush.color().rgba(), 0x64C8000Au);

    _QvMovieObject* turning = scene.MovieObjectInit(Polygon(_QvMovieObject::KindRotating, {{0, 0}, {5, 5}}, {}));
    scene.TickAt(scene.Now() + 1000);
    scene.UpdateAll();
    EXPECT_FLOAT_EQ(turning->m_actions[0]->m_fAngle, static_cast<float>(scene.Now() % 361));
}

TEST(QvGdiTest, TheTransformTurnsAboutTheReferencePointAndMovesByIt)
{
    auto object = Polygon(_QvMovieObject::KindPolygon, {{10, 0}, {20, 0}}, QPointF(10, 0));
    QvGdi::BuildOutline(*object);
    _QvMovieAction action;
    action.m_fAngle = 90;
    action.m_fOffsetY = 5;
    QvGdi::ApplyTransform(*object, action);
    // Turned a quarter about (10, 5), then moved by (10, 5).
    const QPointF a = object->m_path.elementAt(0);
    const QPointF b = object->m_path.elementAt(1);
    EXPECT_NEAR(a.x(), 25, 1e-9);
    EXPECT_NEAR(a.y(), 10, 1e-9);
    EXPECT_NEAR(b.x(), 25, 1e-9);
    EXPECT_NEAR(b.y(), 20, 1e-9);
}

TEST(QvGdiTest, OutlinesCloseFromThreePoints)
{
    struct Case
    {
        QVector<QPoint> points;
        int elements;
    };
    const Case cases[] = {{{}, 0}, {{{1, 1}}, 0}, {{{0, 0}, {5, 0}}, 2}, {{{0, 0}, {5, 0}, {5, 5}}, 4}};
    for (const Case& c : cases) {
        auto object = Polygon(_QvMovieObject::KindPolygon, c.points, {});
        QvGdi::BuildOutline(*object);
        EXPECT_EQ(object->m_path.elementCount(), c.elements) << c.points.size();
    }
}

TEST(QvGdiTest, PolygonsAreOutlinedOrFilledByMode)
{
    struct Case
    {
        int mode;
        bool edge;
        bool inside;
    };
    const Case cases[] = {{1, true, false}, {2, true, true}, {3, true, true}, {0, false, false}};
    for (const Case& c : cases) {
        QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        QvGdi scene;
        scene.SetGraphics(&painter);
        auto object = Polygon(_QvMovieObject::KindPolygon, {{0, 0}, {20, 0}, {20, 20}, {0, 20}}, QPointF(5, 5));
        object->m_nPenWidth = 3;
        object->m_clrFill = 0xFF0000FF;
        // Angle -1 becomes 0 at the first frame: no turn, moved by (5, 5).
        AddAction(*object, c.mode, 0, 0, -1);
        scene.MovieObjectInit(std::move(object));
        scene.UpdateAll();
        painter.end();
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(image.pixel(5, 15) != qRgb(255, 255, 255), c.edge);
        EXPECT_EQ(image.pixel(15, 15) == qRgb(0, 0, 255), c.inside);
        EXPECT_EQ(image.pixel(40, 40), qRgb(255, 255, 255));
    }
}

TEST(QvGdiTest, RoundRectPathKeepsItsCornersRound)
{
    const QPainterPath path = BuildRoundRectPath(110, 60, 10, 10, 20);
    EXPECT_EQ(path.boundingRect(), QRectF(10, 10, 100, 50));
    EXPECT_TRUE(path.contains(QPointF(60, 35)));
    EXPECT_FALSE(path.contains(QPointF(11, 11)));
    EXPECT_FALSE(path.contains(QPointF(109, 59)));
    EXPECT_EQ(path.currentPosition(), QPointF(100, 10));
}

// A stand-in form with an animation, as the form window starts one.
class AnimatedForm : public QWidget
{
public:
    AnimatedForm()
    {
        resize(320, 240);
        m_animation = new QvFormAnimation(this);
        show();
        m_animation->Start();
    }
    QvFormAnimation* m_animation = nullptr;
};

TEST(FormAnimationTest, FramesReachTheForm)
{
    AnimatedForm form;
    ASSERT_TRUE(QTest::qWaitFor([&form] { return !form.m_animation->Frame().isNull(); }, 5000));
    const QImage frame = form.m_animation->Frame();
    EXPECT_EQ(frame.size(), QSize(320, 240));
    EXPECT_GT(DarkPixels(frame), 100);
    form.resize(200, 100);
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.m_animation->Frame().size() == QSize(200, 100); }, 5000));
    EXPECT_EQ(form.m_animation->geometry(), QRect(0, 0, 200, 100));

    form.m_animation->Stop();
    EXPECT_FALSE(form.m_animation->IsRunning());
    form.m_animation->Stop();
}

// Only the changed parts are repainted: what the window shows after the last
// frame must be that frame everywhere, up to its right and bottom edges (the
// sizes are no multiple of the tiles the changes are found in, and the clock
// changes up to the right edge).
TEST(FormAnimationTest, TheWindowShowsTheLastFrameWhole)
{
    AnimatedForm form;
    form.resize(651, 247);
    ASSERT_TRUE(QTest::qWaitFor([&form] { return form.m_animation->Frame().size() == QSize(651, 247); }, 5000));
    QTest::qWait(300);
    form.m_animation->Stop();
    QTest::qWait(50);
    QCoreApplication::processEvents();
    const QImage frame = form.m_animation->Frame().convertToFormat(QImage::Format_RGB32);
    const QImage shown = form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), frame.size());
    int differing = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            differing += shown.pixel(x, y) != frame.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST(FormAnimationTest, OpeningAndClosingAHundredTimesDuringTheAnimation)
{
    for (int i = 0; i < 100; ++i) {
        auto form = std::make_unique<AnimatedForm>();
        // Closing at different moments of a frame.
        QTest::qWait(i % 4 * 7);
        if (i % 2)
            form->m_animation->Stop();
        form.reset();
        QCoreApplication::processEvents();
    }
    SUCCEED();
}

} // namespace
