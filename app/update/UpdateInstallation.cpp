#include "UpdateInstallation.h"

#include "UpdateTexts.h"

#include <QStringList>
#include <algorithm>

QString UpdateInstallation::UpdateFolder() const
{
    return programFolder + UpdateTexts::UpdateFolder;
}

int CompareVersions(const QString& a, const QString& b)
{
    const QStringList left = a.split(u'.');
    const QStringList right = b.split(u'.');
    const qsizetype count = std::max(left.size(), right.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qlonglong x = i < left.size() ? left[i].trimmed().toLongLong() : 0;
        const qlonglong y = i < right.size() ? right[i].trimmed().toLongLong() : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
