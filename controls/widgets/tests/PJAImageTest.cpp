#include "widgets/PJAImage.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

QImage Solid(int width, int height, QColor colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

QImage Canvas(int width, int height, QColor colour = Qt::white)
{
    return Solid(width, height, colour, QImage::Format_RGB32);
}

QRect InkBounds(const QImage& image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

TEST(PJAImage, SetImageRefusesFlagsThatDoNotNameOneKind)
{
    for (unsigned flags : {0x0u, 0x3u, 0x4u, 0x7u}) {
        CPJAImage image;
        ASSERT_TRUE(image.SetImage(Solid(8, 4, Qt::red), CPJAImage::ImageBitmap));
        EXPECT_FALSE(image.SetImage(Solid(16, 16, Qt::blue), flags)) << flags;
        EXPECT_EQ(image.GetWidth(), 8) << flags;
        EXPECT_EQ(image.GetImageFlags(), CPJAImage::ImageBitmap) << flags;
    }
    CPJAImage image;
    ASSERT_TRUE(image.SetImage(Solid(8, 4, Qt::red), CPJAImage::ImageBitmap));
    EXPECT_TRUE(image.SetImage(QImage(), 0));
    EXPECT_TRUE(image.IsEmpty());
}

TEST(PJAImage, ReplacingTheImageForgetsTheKeyColourButSettingTheSameKeepsIt)
{
    const QImage picture = Solid(4, 4, Qt::red);
    CPJAImage image;
    image.SetImage(picture, CPJAImage::ImageBitmap);
    image.SetTransparentColor(MakeColorRef(1, 2, 3));
    image.SetImage(picture, CPJAImage::ImageBitmap | CPJAImage::ImageOwned);
    EXPECT_EQ(image.GetTransparentColor(), MakeColorRef(1, 2, 3));
    image.SetImage(Solid(4, 4, Qt::blue), CPJAImage::ImageBitmap);
    EXPECT_EQ(image.GetTransparentColor(), CPJAImage::NoTransparentColor);
}

TEST(PJAImage, TransparentBitmapWithoutKeyUsesItsTopLeftPixel)
{
    QImage picture = Solid(4, 4, Qt::red);
    picture.setPixel(1, 1, qRgb(0, 0, 255));
    CPJAImage image;
    image.SetImage(picture, CPJAImage::ImageBitmap);
    QImage target = Canvas(4, 4, Qt::green);
    QPainter dc(&target);
    image.Draw(dc, 0, 0, 4, 4, CPJAImage::DrawTransparent);
    dc.end();
    EXPECT_EQ(image.GetTransparentColor(), MakeColorRef(255, 0, 0));
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(3, 3), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(1, 1), qRgb(0, 0, 255));
}

TEST(PJAImage, GivenKeyColourIsHonouredAndOtherPixelsStayOpaque)
{
    QImage picture = Solid(4, 4, Qt::red);
    picture.setPixel(2, 2, qRgb(10, 20, 30));
    CPJAImage image;
    image.SetImage(picture, CPJAImage::ImageBitmap);
    image.SetTransparentColor(MakeColorRef(10, 20, 30));
    QImage target = Canvas(4, 4, Qt::green);
    QPainter dc(&target);
    image.Draw(dc, 0, 0, 4, 4, CPJAImage::DrawTransparent);
    dc.end();
    EXPECT_EQ(target.pixel(2, 2), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(PJAImage, PlacementCornerCentredAndStretched)
{
    struct Case
    {
        const char* name;
        unsigned flags;
        QRect rect;
        QSize picture;
        QRect expected;
    } cases[] = {
        {"corner", 0, QRect(3, 4, 30, 20), QSize(16, 16), QRect(3, 4, 16, 16)},
        {"centred", CPJAImage::DrawCentre, QRect(0, 0, 30, 20), QSize(16, 16), QRect(7, 2, 16, 16)},
        {"centred, offset", CPJAImage::DrawCentre, QRect(10, 10, 31, 21), QSize(16, 16), QRect(17, 12, 16, 16)},
        {"stretched", CPJAImage::DrawStretch, QRect(2, 2, 30, 20), QSize(4, 4), QRect(2, 2, 30, 20)},
        {"clipped to the rectangle", 0, QRect(0, 0, 10, 6), QSize(16, 16), QRect(0, 0, 10, 6)},
        {"stretched to nothing", CPJAImage::DrawStretch, QRect(5, 5, 0, 10), QSize(4, 4), QRect()},
        {"stretched to less than nothing", CPJAImage::DrawStretch | CPJAImage::DrawTransparent,
         QRect(5, 5, -3, 10), QSize(4, 4), QRect()},
    };
    for (const Case& c : cases) {
        CPJAImage image;
        image.SetImage(Solid(c.picture.width(), c.picture.height(), Qt::blue), CPJAImage::ImageBitmap);
        QImage target = Canvas(48, 40);
        QPainter dc(&target);
        image.Draw(dc, c.rect.x(), c.rect.y(), c.rect.width(), c.rect.height(), c.flags);
        dc.end();
        EXPECT_EQ(InkBounds(target, qRgb(255, 255, 255)), c.expected) << c.name;
    }
}

TEST(PJAImage, StretchKeepsTheQuarters)
{
    QImage picture = Solid(2, 2, Qt::red);
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    CPJAImage image;
    image.SetImage(picture, CPJAImage::ImageBitmap);
    QImage target = Canvas(10, 10);
    QPainter dc(&target);
    image.Draw(dc, 0, 0, 10, 10, CPJAImage::DrawStretch);
    dc.end();
    EXPECT_EQ(target.pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(5, 4), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(4, 5), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(9, 9), qRgb(0, 0, 0));
}

TEST(PJAImage, GreyUsesThirtyFiftyNineElevenInEveryFormat)
{
    // (30 r + 59 g + 11 b) / 100, truncated; other grey formulas differ here.
    const struct
    {
        QRgb colour;
        int grey;
    } colours[] = {
        {qRgb(200, 100, 50), 124},
        {qRgb(255, 0, 0), 76},
        {qRgb(0, 255, 0), 150},
        {qRgb(0, 0, 255), 28},
        {qRgb(255, 255, 255), 255},
        {qRgb(0, 0, 0), 0},
    };
    // 5 pixels wide: 24-bit rows are padded, and the padding must not shift
    // the pixels of the next row.
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_ARGB32}) {
        QImage picture(5, 6, format);
        for (int row = 0; row < 6; ++row)
            for (int col = 0; col < 5; ++col)
                picture.setPixel(col, row, colours[row].colour);
        CPJAImage image;
        const QImage grey = image.MakeGreyBitmap(picture);
        EXPECT_EQ(grey.format(), format);
        for (int row = 0; row < 6; ++row)
            for (int col = 0; col < 5; ++col) {
                const int g = colours[row].grey;
                EXPECT_EQ(grey.pixel(col, row) & 0xFFFFFF, qRgb(g, g, g) & 0xFFFFFF)
                    << "format " << format << " row " << row << " col " << col;
            }
    }
}

TEST(PJAImage, GreyOfAPaletteImageChangesTheColourTable)
{
    QImage picture(3, 1, QImage::Format_Indexed8);
    picture.setColorTable({qRgb(200, 100, 50), qRgb(0, 0, 255)});
    picture.setPixel(0, 0, 0);
    picture.setPixel(1, 0, 1);
    picture.setPixel(2, 0, 0);
    const QImage grey = CPJAImage().MakeGreyBitmap(picture);
    EXPECT_EQ(grey.colorTable().value(0), qRgb(124, 124, 124));
    EXPECT_EQ(grey.colorTable().value(1), qRgb(28, 28, 28));
    EXPECT_EQ(grey.pixelIndex(1, 0), 1);
}

TEST(PJAImage, GreyTransparentDrawingKeepsTheKeyAndGreysTheRest)
{
    QImage picture = Solid(4, 4, QColor(255, 0, 255));
    picture.setPixel(1, 1, qRgb(200, 100, 50));
    CPJAImage image;
    image.SetImage(picture, CPJAImage::ImageBitmap);
    QImage target = Canvas(4, 4, Qt::green);
    QPainter dc(&target);
    image.Draw(dc, 0, 0, 4, 4, CPJAImage::DrawTransparent | CPJAImage::DrawGrey);
    dc.end();
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(1, 1), qRgb(124, 124, 124));
}

TEST(PJAImage, DisabledIsEmbossedInLitAndShadedColours)
{
    CPJAImage image;
    image.SetImage(Solid(4, 4, Qt::black), CPJAImage::ImageBitmap);
    QImage target = Canvas(12, 12);
    QPainter dc(&target);
    image.Draw(dc, 2, 2, 8, 8, CPJAImage::DrawDisabledLook);
    dc.end();
    const QRgb shadow = GetSysColor(SysColor::BtnShadow).rgb();
    const QRgb lit = GetSysColor(SysColor::BtnHighlight).rgb();
    EXPECT_EQ(target.pixel(2, 2), shadow);
    EXPECT_EQ(target.pixel(5, 5), shadow);
    EXPECT_EQ(target.pixel(6, 6), lit);
    EXPECT_EQ(target.pixel(6, 3), lit);
    EXPECT_EQ(target.pixel(7, 7), qRgb(255, 255, 255));
    // White parts of the picture leave no mark.
    CPJAImage white;
    white.SetImage(Solid(4, 4, Qt::white), CPJAImage::ImageBitmap);
    QImage blank = Canvas(12, 12, Qt::blue);
    QPainter paint(&blank);
    white.Draw(paint, 2, 2, 8, 8, CPJAImage::DrawDisabledLook);
    paint.end();
    EXPECT_EQ(InkBounds(blank, qRgb(0, 0, 255)), QRect());
}

TEST(PJAImage, IconKeepsItsAlphaOverTheTarget)
{
    QImage icon(4, 4, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    icon.setPixel(1, 1, qRgba(255, 0, 0, 255));
    CPJAImage image;
    image.SetImage(icon, CPJAImage::ImageIcon);
    QImage target = Canvas(4, 4, Qt::green);
    QPainter dc(&target);
    image.Draw(dc, 0, 0, 4, 4, CPJAImage::DrawGrey);
    dc.end();
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(1, 1), qRgb(76, 76, 76));
}
