#include "ChartTexts.h"
#include "QvPicture.h"
#include "TempFolder.h"
#include "grid/ListCtrlEx.h"
#include "text/MessageSink.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

bool IsBlue(QRgb p)
{
    return qBlue(p) > 200 && qRed(p) < 80 && qGreen(p) < 80;
}

bool IsGreen(QRgb p)
{
    return qGreen(p) > 100 && qRed(p) < 80 && qBlue(p) < 80;
}

bool IsWhite(QRgb p)
{
    return qRed(p) > 250 && qGreen(p) > 250 && qBlue(p) > 250;
}

int InkIn(const QImage& image, const QRect& box)
{
    int ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            ink += IsWhite(image.pixel(x, y)) ? 0 : 1;
    return ink;
}

class ReportChartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = SetMessageSink([this](const QString& text) { m_messages.append(text); });
        m_grid = std::make_unique<CListCtrlEx>();
        const QStringList titles{"月份", "销售额", "成本"};
        for (int c = 0; c < titles.size(); ++c)
            m_grid->InsertColumn(c, titles[c]);
        AddRow("1月", "100", "50");
        AddRow("2月", "200", "150");
        AddRow("3月", "400", "300");
        m_picture = std::make_unique<QvPicture>();
        m_picture->resize(600, 400);
        m_picture->SetGrid(m_grid.get());
        m_picture->m_nLabelColumn = 1;
        m_picture->m_strMax = "400";
        m_picture->m_nSpacing = 100;
        m_picture->m_nLabelShift = 60;
        SetSeries(0, 2, 0xFF0000FF);
        SetSeries(1, 3, 0xFF008000);
        m_picture->SetSeriesCount(2);
        m_picture->SetKind(QvPicture::KindReport);
    }
    void TearDown() override { SetMessageSink(m_previous); }

    void AddRow(const QString& a, const QString& b, const QString& c)
    {
        const int row = m_grid->InsertRow(m_grid->GetItemCount(), a);
        m_grid->SetItemText(row, 1, b);
        m_grid->SetItemText(row, 2, c);
    }
    void SetSeries(int index, int column, quint32 colour)
    {
        QvChartSeries* series = m_picture->Series(index);
        series->m_nValueColumn = column;
        series->m_clrColour = colour;
        series->m_nBarWidth = 30;
    }

    std::unique_ptr<CListCtrlEx> m_grid;
    std::unique_ptr<QvPicture> m_picture;
    MessageSink m_previous;
    QStringList m_messages;
};

TEST_F(ReportChartTest, BarsStandOnTheAxisAtTheirValues)
{
    const QImage image = m_picture->RenderImage();
    // Axis at 370, plot 250 high for 400: 100 -> y 307, 200 -> 245, 400 -> 120.
    struct Case
    {
        int x;
        int top;
        bool blue;
    };
    const Case cases[] = {
        {100, 307, true}, {200, 245, true}, {300, 120, true},
        {130, 339, false}, {230, 276, false}, {330, 183, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const auto colour = c.blue ? IsBlue : IsGreen;
        EXPECT_TRUE(colour(image.pixel(c.x, c.top + 3)));
        EXPECT_TRUE(colour(image.pixel(c.x, 365)));
        EXPECT_TRUE(colour(image.pixel(c.x - 13, 365)));
        EXPECT_FALSE(colour(image.pixel(c.x, c.top - 3)));
        EXPECT_FALSE(colour(image.pixel(c.x - 17, 365)));
    }
}

TEST_F(ReportChartTest, FourLabelledGridLinesAndALegend)
{
    const QImage image = m_picture->RenderImage();
    for (const int y : {120, 182, 244, 306}) {
        SCOPED_TRACE(y);
        const QRgb line = image.pixel(530, y);
        EXPECT_EQ(qRed(line), 255);
        EXPECT_LT(qGreen(line), 240);
        EXPECT_TRUE(IsWhite(image.pixel(530, y + 8)));
        EXPECT_GT(InkIn(image, QRect(0, y - 10, 49, 20)), 10);  // its label
    }
    // Legend, right to left from 550: "成本" is 28 wide, "销售额" 42.
    EXPECT_TRUE(IsGreen(image.pixel(486, 60)));
    EXPECT_TRUE(IsBlue(image.pixel(402, 60)));
    EXPECT_TRUE(IsWhite(image.pixel(470, 60)));
    EXPECT_GT(InkIn(image, QRect(494, 52, 28, 16)), 10);
    // Category labels under the axis, centred under each pair of bars.
    EXPECT_GT(InkIn(image, QRect(100, 372, 30, 16)), 10);
}

TEST_F(ReportChartTest, EmptyDataDrawsAnEmptyChartWithItsTexts)
{
    struct Case
    {
        const char* name;
        int series;
        bool rows;
        const char* max;
    };
    const Case cases[] = {
        {"no series", 0, true, "400"}, {"no rows", 2, false, "400"}, {"zero maximum", 2, true, "0"},
        {"no number", 2, true, "abc"},
    };
    for (const int kind : {QvPicture::KindReport, QvPicture::KindPanel, QvPicture::KindPanelRows}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(kind));
            SetUp();
            m_picture->SetKind(kind);
            m_picture->m_nRowCount = 3;
            ASSERT_TRUE(m_picture->SetSeriesCount(c.series));
            m_picture->m_strMax = c.max;
            if (!c.rows)
                m_grid->DeleteAllRows();
            const QImage image = m_picture->RenderImage();
            EXPECT_GT(InkIn(image, QRect(250, 10, 100, 30)), 10);  // the title
            for (int x = 60; x < 540; x += 7)
                EXPECT_FALSE(IsBlue(image.pixel(x, 360)) || IsGreen(image.pixel(x, 360))) << x;
        }
    }
}

TEST_F(ReportChartTest, MoreThanTwentySeriesAreRefused)
{
    EXPECT_TRUE(m_picture->SetSeriesCount(QvPicture::MaxSeries));
    EXPECT_FALSE(m_picture->SetSeriesCount(QvPicture::MaxSeries + 1));
    EXPECT_EQ(m_picture->ErrorText(), ChartTexts::TooManySeries.arg(20));
    EXPECT_EQ(m_picture->SeriesCount(), QvPicture::MaxSeries);
    EXPECT_EQ(m_picture->Series(QvPicture::MaxSeries), nullptr);
    EXPECT_EQ(m_picture->Series(-1), nullptr);
    m_picture->RenderImage();
}

TEST_F(ReportChartTest, PanelBarsRiseFromTheirZeroLineAndKindFiveShowsARowWindow)
{
    QvChartSeries* series = m_picture->Series(0);
    series->m_fPanelPos = 0.5f;
    series->m_fPanelMax = 400;
    m_picture->SetSeriesCount(1);
    m_picture->SetKind(QvPicture::KindPanel);
    // Base 380, zero line at 190, 0.9 pixel per unit: 100 -> 100, 200 -> 10;
    // rows at x 110, 210, 310.
    QImage image = m_picture->RenderImage();
    EXPECT_TRUE(IsBlue(image.pixel(110, 105)));
    EXPECT_TRUE(IsBlue(image.pixel(110, 185)));
    EXPECT_FALSE(IsBlue(image.pixel(110, 95)));
    EXPECT_FALSE(IsBlue(image.pixel(110, 195)));
    EXPECT_TRUE(IsBlue(image.pixel(210, 15)));

    m_picture->SetKind(QvPicture::KindPanelRows);
    m_picture->m_nFirstRow = 1;
    m_picture->m_nRowCount = 20;
    image = m_picture->RenderImage();
    EXPECT_TRUE(IsBlue(image.pixel(110, 15)));   // row 1 drawn first
    EXPECT_FALSE(IsBlue(image.pixel(310, 185)));  // only rows 1 and 2
}

TEST_F(ReportChartTest, ATrendChannelOfOnePointDrawsNoSlantedLine)
{
    m_grid->DeleteRow(2);
    m_grid->DeleteRow(1);
    QvChartSeries* series = m_picture->Series(0);
    series->m_nBarFlag = 2;
    series->m_fPanelPos = 0.5f;
    series->m_fPanelMax = 400;
    m_picture->SetSeriesCount(1);
    m_picture->SetKind(QvPicture::KindPanel);
    const QImage image = m_picture->RenderImage();
    // The faint line at the last point's height crosses the width; nothing else.
    EXPECT_FALSE(IsWhite(image.pixel(500, 100)));
    EXPECT_TRUE(IsWhite(image.pixel(300, 300)));
    EXPECT_TRUE(IsWhite(image.pixel(110, 330)));
    EXPECT_TRUE(IsWhite(image.pixel(110, 60)));
}

TEST_F(ReportChartTest, BufferedDrawingSavesTheBarChartWhateverTheKind)
{
    TempFolder folder;
    m_picture->SetKind(QvPicture::KindReport);
    const QImage bars = m_picture->RenderImage().convertToFormat(QImage::Format_RGB32);
    for (const int kind : {QvPicture::KindReport, QvPicture::KindPanel, QvPicture::KindPanelRows}) {
        m_picture->SetKind(kind);
        const QString path = folder.file(QStringLiteral("chart%1.png").arg(kind));
        m_picture->RenderBuffered(path);
        QImage saved;
        ASSERT_TRUE(saved.load(path, "BMP"));
        EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), bars) << kind;
    }
    EXPECT_NE(m_picture->RenderImage().convertToFormat(QImage::Format_RGB32), bars);

    // A path that cannot be written leaves no file and says nothing.
    const QString missing = folder.file("no/such/folder/chart.bmp");
    m_picture->RenderBuffered(missing);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_TRUE(m_messages.isEmpty());
}

TEST_F(ReportChartTest, AGridThatIsGoneLeavesAnEmptyChart)
{
    m_grid.reset();
    EXPECT_EQ(m_picture->Grid(), nullptr);
    const QImage image = m_picture->RenderImage();
    EXPECT_TRUE(IsWhite(image.pixel(100, 360)));
}

TEST(PictureTest, PicturesAreFittedAndCentred)
{
    struct Case
    {
        QSize picture;
        QRect expected;
    };
    const Case cases[] = {
        {{200, 100}, {0, 25, 100, 50}},
        {{100, 200}, {25, 0, 50, 100}},
        {{30, 30}, {0, 0, 100, 100}},
    };
    for (const Case& c : cases) {
        QImage source(c.picture, QImage::Format_RGB32);
        source.fill(Qt::blue);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        source.save(&buffer, "PNG");

        QvPicture picture;
        picture.resize(100, 100);
        ASSERT_TRUE(picture.LoadPictureData(bytes));
        const QImage image = picture.RenderImage();
        const QRect inner = c.expected.adjusted(2, 2, -2, -2);
        EXPECT_TRUE(IsBlue(image.pixel(inner.topLeft())));
        EXPECT_TRUE(IsBlue(image.pixel(inner.bottomRight())));
        if (c.expected.top() > 0) {
            EXPECT_TRUE(IsWhite(image.pixel(50, c.expected.top() - 3)));
            EXPECT_TRUE(IsWhite(image.pixel(50, c.expected.bottom() + 3)));
        }
        if (c.expected.left() > 0) {
            EXPECT_TRUE(IsWhite(image.pixel(c.expected.left() - 3, 50)));
            EXPECT_TRUE(IsWhite(image.pixel(c.expected.right() + 3, 50)));
        }
    }
    QvPicture empty;
    empty.resize(50, 50);
    EXPECT_FALSE(empty.LoadPictureData("not a picture"));
    EXPECT_FALSE(empty.LoadPicture("/no/such/file.png"));
    EXPECT_TRUE(IsWhite(empty.RenderImage().pixel(25, 25)));

    // A picture that cannot be read replaces the one shown by nothing.
    QImage blue(10, 10, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    blue.save(&pngBuffer, "PNG");
    ASSERT_TRUE(empty.LoadPictureData(png));
    EXPECT_TRUE(IsBlue(empty.RenderImage().pixel(25, 25)));
    EXPECT_FALSE(empty.LoadPicture("/no/such/file.png"));
    EXPECT_TRUE(IsWhite(empty.RenderImage().pixel(25, 25)));
}

} // namespace
