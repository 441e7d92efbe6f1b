#include "db/DbFetch.h"

#include "web/HttpClient.h"

namespace
{
DbFetchFunction& CurrentFetch()
{
    static DbFetchFunction fetch;
    return fetch;
}
} // namespace

QString DbFetchText(const QString& url)
{
    const DbFetchFunction& fetch = CurrentFetch();
    return fetch ? fetch(url) : HttpGetString(url);
}

void SetDbFetchFunction(DbFetchFunction fetch)
{
    CurrentFetch() = std::move(fetch);
}
