#include "UpdateInstallation.h"

#include "UpdateTexts.h"
#include "WorkerDatabase.h"

#include <QStringList>
#include <algorithm>

QString UpdateInstallation::UpdateFolder() const
{
    return programFolder + UpdateTexts::UpdateFolder;
}

bool UpdateInstallation::ConnectDatabase(CDbConnection& db) const
{
    return ConnectGivenText(db, connectText);
}

namespace {

// The leading decimal digits of a part ("2a" reads 2); 0 when there are none.
// Very long runs stop growing instead of overflowing.
qlonglong LeadingNumber(const QString& part)
{
    qlonglong value = 0;
    for (const QChar c : part.trimmed()) {
        if (c < u'0' || c > u'9')
            break;
        value = std::min<qlonglong>(value * 10 + (c.unicode() - u'0'), qlonglong(1) << 40);
    }
    return value;
}

} // namespace

int CompareVersions(const QString& a, const QString& b)
{
    const QStringList left = a.split(u'.');
    const QStringList right = b.split(u'.');
    const qsizetype count = std::max(left.size(), right.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qlonglong x = LeadingNumber(left.value(i));
        const qlonglong y = LeadingNumber(right.value(i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
