#include "ShellPictures.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

#include <functional>

namespace ShellPictures {

namespace {
const QColor kBlue(0, 120, 200);
const QColor kSky(0, 204, 255);
} // namespace

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, 0, 0, size);
        fill.setColorAt(0, kSky);
        fill.setColorAt(1, kBlue);
        painter.setBrush(fill);
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(0, 0, size, size), size / 5.0, size / 5.0);
        // The letter as two bars: no font is needed for the icon.
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(size * 0.2, size * 0.2, size * 0.6, size * 0.14));
        painter.drawRect(QRectF(size * 0.43, size * 0.2, size * 0.14, size * 0.62));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap LoginBanner(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, width, 0);
    fill.setColorAt(0, kBlue);
    fill.setColorAt(1, kSky);
    painter.fillRect(0, 0, width, height, fill);
    painter.drawPixmap(16, (height - 48) / 2, AppIcon().pixmap(48, 48));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(height / 3);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(76, 0, width - 76, height), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("Tembra 管理软件"));
    return pixmap;
}

namespace {

// A 24 x 24 picture drawn by draw with an antialiased pen of the colour.
QIcon DrawnIcon(const QColor& colour, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    draw(painter);
    return QIcon(pixmap);
}

} // namespace

QIcon SettingsIcon()
{
    return DrawnIcon(kBlue, [](QPainter& p) {
        p.drawEllipse(QPointF(12, 12), 4.5, 4.5);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(12, 12);
            p.rotate(i * 45);
            p.drawLine(QPointF(0, 7), QPointF(0, 10));
            p.restore();
        }
    });
}

QIcon HelpIcon()
{
    return DrawnIcon(kBlue, [](QPainter& p) {
        p.drawEllipse(QPointF(12, 12), 10, 10);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(15);
        p.setFont(font);
        p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("?"));
    });
}

QIcon LoginIcon()
{
    return DrawnIcon(QColor(0, 150, 60), [](QPainter& p) {
        p.drawPolyline(QPolygonF({QPointF(4, 13), QPointF(10, 19), QPointF(20, 5)}));
    });
}

QIcon CloseIcon()
{
    return DrawnIcon(QColor(90, 90, 90), [](QPainter& p) {
        p.drawLine(QPointF(7, 7), QPointF(17, 17));
        p.drawLine(QPointF(17, 7), QPointF(7, 17));
    });
}

QIcon LeafIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

QIcon FolderIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
}

} // namespace ShellPictures
