#include "ShellHelpers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The leading decimal digits of a part; 0 when there are none.
long long LeadingNumber(const QString& part)
{
    long long value = 0;
    for (const QChar c : part) {
        if (!c.isDigit() || c.unicode() > u'9')
            break;
        value = std::min<long long>(value * 10 + (c.unicode() - u'0'), 1LL << 40);
    }
    return value;
}

} // namespace

int CompareVersions(const QString& a, const QString& b)
{
    const QStringList partsA = a.split(u'.');
    const QStringList partsB = b.split(u'.');
    const qsizetype count = std::max(partsA.size(), partsB.size());
    for (qsizetype i = 0; i < count; ++i) {
        const long long difference = LeadingNumber(partsA.value(i)) - LeadingNumber(partsB.value(i));
        if (difference != 0)
            return difference < 0 ? -1 : 1;
    }
    return 0;
}

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
