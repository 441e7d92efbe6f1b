#include "FavouriteList.h"

namespace {

// ",list," without ",uid,", and without its outer commas again.
QString Without(const QString& list, const QString& uid)
{
    QString wrapped = u',' + list + u',';
    wrapped.replace(u',' + uid + u',', QStringLiteral(","));
    return wrapped.size() <= 2 ? QString() : wrapped.mid(1, wrapped.size() - 2);
}

} // namespace

QString AddFavourite(const QString& list, const QString& uid)
{
    // A list of one entry is a list too: it is kept, not replaced.
    const QString rest = list.isEmpty() ? QString() : Without(list, uid);
    return rest.isEmpty() ? uid : rest + u',' + uid;
}

QString RemoveFavourite(const QString& list, const QString& uid)
{
    return list.isEmpty() ? QString() : Without(list, uid);
}
