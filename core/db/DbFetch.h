#pragma once

#include <QString>

#include <functional>

// The web fetch the database set-up uses for the connection-lookup service
// and for SQL Server hosts given as web addresses. It is HttpGetString unless
// replaced (tests put a fake in its place); an empty reply means the fetch
// failed.
using DbFetchFunction = std::function<QString(const QString& url)>;

QString DbFetchText(const QString& url);

// Replaces the fetch; an empty function restores HttpGetString.
void SetDbFetchFunction(DbFetchFunction fetch);
