#include "ShellHelpers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdlib>

int64_t GetFileAgeSeconds(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return -1;
    return info.lastModified().secsTo(QDateTime::currentDateTime());
}

QString GetDateAfterDaysText(int days)
{
    return QDateTime::currentDateTime().addSecs(int64_t(days) * 86400).toString(QStringLiteral("yyyy-MM-dd"));
}

bool StartProgramFile(const QString& path)
{
    return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
}

void EmptyFolder(const QString& folder)
{
    QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        QFile file(entry.absoluteFilePath());
        if (!entry.isWritable())
            file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
        file.remove();
    }
}

void FillVerticalGradient(QPainter& painter, int left, int top, int right, int bottom,
                          const QColor& start, const QColor& end, int band)
{
    if (band < 1 || top == bottom)
        return;
    const double steps = std::abs(top - bottom) / double(band);
    const double red = (end.red() - start.red()) / steps;
    const double green = (end.green() - start.green()) / steps;
    const double blue = (end.blue() - start.blue()) / steps;
    for (int i = 0; i <= steps; ++i) {
        const int y1 = std::min(top + i * band, bottom);
        const int y2 = std::min(top + i * band + band, bottom);
        const QColor colour(int(start.red() + i * red), int(start.green() + i * green),
                            int(start.blue() + i * blue));
        painter.fillRect(left, y1, right + 1 - left, y2 - y1, colour);
    }
}

QString GetFileTimeText(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString();
    const QDateTime time = info.lastModified();
    return time.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + QString::number(time.time().hour())
        + u':' + QString::number(time.time().minute());
}
