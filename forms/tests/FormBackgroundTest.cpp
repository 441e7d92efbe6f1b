#include "D_T1.h"
#include "TempFolder.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

class FormBackground : public ::testing::Test
{
protected:
    FormBackground()
    {
        m_previousSink = SetMessageSink([this](const QString& text) { messages << text; });
        SetModuleFolderOverride(folder.path());
        QImage blue(10, 10, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        blue.save(folder.file(QStringLiteral("blue.png")));
    }
    ~FormBackground() override
    {
        SetModuleFolderOverride(QString());
        SetMessageSink(m_previousSink);
    }

    // The client area of a form with these background items, as drawn.
    QImage Drawn(const QString& items, const QString& headAttributes = QString())
    {
        form = std::make_unique<D_T1>();
        form->LoadDescription(QStringLiteral("<html id='0'><head pos='0,0,200,150' %1><bg>%2</bg></head></html>")
                                  .arg(headAttributes, items));
        form->Create();
        form->setAttribute(Qt::WA_DeleteOnClose, false);
        form->resize(200, 150);
        return form->grab().toImage();
    }

    TempFolder folder;
    std::unique_ptr<D_T1> form;
    QStringList messages;

private:
    MessageSink m_previousSink;
};

TEST_F(FormBackground, DrawsItsItemsOnTheFlatFill)
{
    const QImage image = Drawn(QStringLiteral(
        "<i type='rect1' pos='10,10,30,30' color='255,0,0'/>"
        "<i type='rect3' pos='60,10,40,30'/>"                          // corners in either order, grey
        "<i type='img' pos='0,0,0,0' style='22' text='blue.png'/>"    // centred both ways
        "<i type='img' pos='0,120,0,0' style='31' text='blue.png'/>"  // right edge, given y
        "<i type='line' pos='5,140,25,140' width='3' style='30' color='0,128,0'/>" // ends 5 from the right
        "<i type='rect' pos='100,10,150,40' width='1' style='1' color='0,0,0'/>"));
    EXPECT_EQ(image.pixelColor(20, 20), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(50, 20), QColor(240, 240, 240));
    EXPECT_EQ(image.pixelColor(100, 75), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(95, 70), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(195, 125), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(189, 125), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(190, 140), QColor(0, 128, 0));
    EXPECT_EQ(image.pixelColor(20, 140), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(125, 25), QColor(Qt::white)); // an outline only
    EXPECT_EQ(image.pixelColor(5, 100), QColor(Qt::white));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(FormBackground, WithoutItemsOnlyTheFillAndWithBgTheButtonFace)
{
    const QImage plain = Drawn(QString());
    EXPECT_EQ(plain.pixelColor(100, 75), QColor(Qt::white));
    const QImage face = Drawn(QString(), QStringLiteral("bg='1'"));
    EXPECT_EQ(face.pixelColor(100, 75), form->palette().color(QPalette::Button));
}

TEST_F(FormBackground, DrawsTextsInTheirColourAndPlace)
{
    const QImage image =
        Drawn(QStringLiteral("<i type='text' pos='0,0,200,150' style='22' width='0' color='200,0,0' "
                             "font='40,20,宋体' text='█'/>"));
    int red = 0;
    for (int y = 50; y < 100; ++y) {
        for (int x = 75; x < 125; ++x)
            red += image.pixelColor(x, y).red() > 150 && image.pixelColor(x, y).green() < 100;
    }
    EXPECT_GT(red, 50);
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
}

TEST_F(FormBackground, MalformedPositionIsReportedOnceAtOpeningAndDrawnAsZero)
{
    Drawn(QStringLiteral("<i type='rect1' pos='10,10,30' color='255,0,0'/>"
                         "<i type='rect1' pos='1,2' color='255,0,0'/>"
                         "<i type='rect1' pos='40,40,60,60' color='0,0,255'/>"
                         "<i type='img' style='22' text='blue.png'/>"       // no pos: centred both ways
                         "<i type='img' pos='x' style='33' text='blue.png'/>")); // bottom right corner
    EXPECT_EQ(messages, QStringList{QStringLiteral("矩形数据格式错误")});
    const QImage again = form->grab().toImage();
    form->repaint();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(again.pixelColor(20, 20), QColor(Qt::white));
    EXPECT_EQ(again.pixelColor(50, 50), QColor(Qt::blue));
    EXPECT_EQ(again.pixelColor(100, 75), QColor(Qt::blue));
    EXPECT_EQ(again.pixelColor(195, 145), QColor(Qt::blue));
    EXPECT_EQ(again.pixelColor(185, 145), QColor(Qt::white));
}

TEST_F(FormBackground, RoundedRectanglesHaveQuarterArcCorners)
{
    const QImage image = Drawn(QStringLiteral("<i type='rect3' pos='10,10,110,60' color='255,0,0'/>"
                                              "<i type='rect2' pos='130,10,190,60' width='1' color='0,0,255'/>"));
    EXPECT_EQ(image.pixelColor(60, 35), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(15, 35), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white)); // the corner is cut
    EXPECT_EQ(image.pixelColor(160, 35), QColor(Qt::white)); // an outline only
    EXPECT_EQ(image.pixelColor(130, 10), QColor(Qt::white));
    EXPECT_LT(image.pixelColor(130, 35).red(), 200); // the blue outline
}

} // namespace
