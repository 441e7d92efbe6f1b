#include "ShellPictures.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>

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
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(size * 3 / 4);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("T"));
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

QIcon LeafIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

QIcon FolderIcon()
{
    return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
}

} // namespace ShellPictures
