#include "QvPicture.h"

#include "ChartPainter.h"
#include "ChartTexts.h"
#include "grid/ListCtrlEx.h"
#include "grid/ListHelpers.h"

#include <QPainter>
#include <QSaveFile>

QvPicture::QvPicture(QWidget* parent)
    : QWidget(parent)
    , m_strTitle(ChartTexts::DefaultTitle)
{
}

QvPicture::~QvPicture() = default;

void QvPicture::SetKind(int kind)
{
    m_nKind = kind;
}

bool QvPicture::LoadPicture(const QString& path)
{
    m_image = QImage();
    return m_image.load(path);
}

bool QvPicture::LoadPictureData(const QByteArray& bytes)
{
    m_image = QImage();
    return m_image.loadFromData(bytes);
}

void QvPicture::SetGrid(CListCtrlEx* grid)
{
    m_pGrid = grid;
}

CListCtrlEx* QvPicture::Grid() const
{
    return m_pGrid.data();
}

QvChartSeries* QvPicture::Series(int index)
{
    return index >= 0 && index < MaxSeries ? &m_series[static_cast<size_t>(index)] : nullptr;
}

bool QvPicture::SetSeriesCount(int count)
{
    if (count < 0 || count > MaxSeries) {
        m_strError = ChartTexts::TooManySeries.arg(MaxSeries);
        return false;
    }
    m_strError.clear();
    m_nSeries = count;
    return true;
}

void QvPicture::Redraw()
{
    update();
}

QImage QvPicture::RenderImage()
{
    return RenderKind(m_nKind);
}

QImage QvPicture::RenderKind(int kind)
{
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    Paint(painter, image.size(), kind);
    return image;
}

void QvPicture::RenderBuffered(const QString& path)
{
    const QImage image = RenderKind(KindReport);
    update();
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, qPrintable(ChartTexts::SaveFormat)))
        file.commit();
}

void QvPicture::paintEvent(QPaintEvent*)
{
    if (m_nKind != KindPicture && m_nKind != KindReport && m_nKind != KindPanel && m_nKind != KindPanelRows)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    Paint(painter, size(), m_nKind);
}

void QvPicture::Paint(QPainter& painter, const QSize& client, int kind)
{
    if (kind == KindPicture) {
        DrawPicture(painter, client);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    CChartPainter g(painter);
    if (kind == KindReport)
        DrawReportChart(g, client.width(), client.height());
    else if (kind == KindPanel || kind == KindPanelRows)
        DrawPanelChart(g, client.width(), client.height());
}

void QvPicture::DrawPicture(QPainter& painter, const QSize& client)
{
    const int w = client.width();
    const int h = client.height();
    const int pw = m_image.width();
    const int ph = m_image.height();
    if (m_image.isNull() || w <= 0 || h <= 0 || pw <= 0 || ph <= 0)
        return;
    QRect target;
    if (static_cast<qint64>(w) * ph < static_cast<qint64>(h) * pw) {
        const int height = static_cast<int>(static_cast<qint64>(w) * ph / pw);
        target = QRect(0, (h - height) / 2, w, height);
    } else {
        const int width = static_cast<int>(static_cast<qint64>(h) * pw / ph);
        target = QRect((w - width) / 2, 0, width, h);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, m_image);
}

int QvPicture::GridRows() const
{
    return m_pGrid ? m_pGrid->GetItemCount() : 0;
}

QString QvPicture::GridText(int row, int column) const
{
    return m_pGrid ? m_pGrid->GetItemText(row, column) : QString();
}

QString QvPicture::ColumnTitle(int column) const
{
    return m_pGrid ? GetListColumnTitle(m_pGrid.data(), column) : QString();
}
