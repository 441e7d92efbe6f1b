#pragma once

#include <QString>

// The favourites of a user (c_user.auth1_0): menu uids joined by ",", without
// a leading or trailing comma.

// The list with uid at its end; an entry already present moves there.
QString AddFavourite(const QString& list, const QString& uid);

// The list without uid.
QString RemoveFavourite(const QString& list, const QString& uid);
