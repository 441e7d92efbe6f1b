#pragma once

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

#include <array>

class CChartPainter;
class CListCtrlEx;

// One data series of a report chart: which grid column it shows and how.
struct QvChartSeries
{
    int m_nBarFlag = 1;         // 1 or more: bars (kinds 3 and 5: 2 draws the trend channel)
    int m_nLineStyle = 0;       // kind 2: 1 or more draws a line; kinds 3 and 5: 1 to 4
    int m_nValueColumn = 2;     // 1-based grid column of the values
    int m_nMarkerColumn = 0;    // kinds 3 and 5: 1-based column of point texts, 0 none
    float m_fPanelPos = 0;      // kinds 3 and 5: zero line as a fraction of the height
    float m_fPanelMax = 0;      // kinds 3 and 5: value at full height, 0 the chart's maximum
    float m_fOffset = 0;        // kinds 3 and 5: added to every value
    int m_nMarkSize = 1;        // kinds 3 and 5: point mark size and line width
    int m_nBarWidth = 50;
    quint32 m_clrColour = 0xFF000000;
};

// The control of a `pic` form element: a picture fitted into the control, or
// a report chart of the rows of a grid of the same form (bars and smoothed
// lines per series, title, value axis with four labelled grid lines, legend).
//
// Creating one (the form builder): construct it as a child of the form with
// the element's rectangle. It shows nothing until a picture is loaded or
// an action sets chart data.
//
// Feeding it: show_pic and download_pic call LoadPicture or LoadPictureData
// and then Redraw. show_report, show_report3 and show_report5 set the grid
// (SetGrid), write the public chart fields and the records of Series(i),
// SetSeriesCount, SetKind(2, 3 or 5), and then Redraw, or RenderBuffered with
// a save path.
class QvPicture : public QWidget
{
    Q_OBJECT

public:
    static constexpr int KindPicture = 1;
    static constexpr int KindReport = 2;
    static constexpr int KindPanel = 3;
    static constexpr int KindPanelRows = 5;
    static constexpr int MaxSeries = 20;

    explicit QvPicture(QWidget* parent = nullptr);
    ~QvPicture() override;

    void SetKind(int kind);

    // The picture shown is dropped first: one that cannot be read leaves
    // the control empty.
    bool LoadPicture(const QString& path);
    bool LoadPictureData(const QByteArray& bytes);

    // The grid whose rows the charts read when they draw; the chart shows no
    // rows once the grid is gone.
    void SetGrid(CListCtrlEx* grid);
    CListCtrlEx* Grid() const;

    // Series records 0 to 19; null beyond.
    QvChartSeries* Series(int index);
    int SeriesCount() const { return m_nSeries; }
    // More than MaxSeries (or fewer than 0) is refused with ErrorText().
    bool SetSeriesCount(int count);
    const QString& ErrorText() const { return m_strError; }

    // Asks for a repaint.
    void Redraw();
    // Draws the kind 2 chart, whatever the current kind, into an image of
    // the client size, repaints the control and saves the image at the path
    // as a BMP file, whatever the extension. A file that cannot be written
    // is left as it was, without a message; an existing file is replaced
    // only by a complete new one.
    void RenderBuffered(const QString& path);
    // The client area drawn into an image, white first.
    QImage RenderImage();

    QString m_strTitle;
    int m_nFirstRow = 0;
    int m_nRowCount = 0;
    int m_nMoveSpeed = 0;       // kept for the show_report5 action; no drawing reads it
    int m_nLabelColumn = 0;     // 1-based grid column of the category labels
    QString m_strMax;           // value-axis maximum
    QString m_strYCaption;      // caption at the top of the value axis
    QString m_strText3;         // kinds 3 and 5: distance of m_strText4 from the right edge
    QString m_strText4;         // kinds 3 and 5: caption near the top right
    quint32 m_clrAxis = 0xFF000000;
    int m_nSpacing = 0;         // pixels between two categories
    int m_nLabelShift = 0;      // added, halved, to every category label's x
    int m_nCurvePoints = -1;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage RenderKind(int kind);
    void Paint(QPainter& painter, const QSize& client, int kind);
    void DrawPicture(QPainter& painter, const QSize& client);
    void DrawReportChart(CChartPainter& g, int w, int h);
    void DrawPanelChart(CChartPainter& g, int w, int h);
    void DrawLegend(CChartPainter& g, int right);
    void DrawTrendLine(CChartPainter& g, QPointF a, QPointF b, quint32 argb, int w, int h);
    void DrawTrendChannel(CChartPainter& g, const QVector<QPointF>& points, quint32 argb, int w, int h);
    int GridRows() const;
    QString GridText(int row, int column) const;
    QString ColumnTitle(int column) const;

    int m_nKind = KindPicture;
    QPointer<CListCtrlEx> m_pGrid;
    int m_nSeries = 1;
    std::array<QvChartSeries, MaxSeries> m_series;
    QImage m_image;
    QString m_strError;
};
