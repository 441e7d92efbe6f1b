#include "db/DbScript.h"

QStringList SplitSqlScript(const QString& script)
{
    QStringList pieces;
    QChar quote;            // the quote that opened the literal we are in
    bool inComment = false; // inside "--" up to the end of its line
    qsizetype start = 0;
    const qsizetype length = script.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar(); // a doubled quote closes and reopens at once
            continue;
        }
        if (c == u';') {
            pieces.append(script.mid(start, i - start));
            start = i + 1;
        } else if (inComment) {
            inComment = c != u'\n';
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'-' && i + 1 < length && script.at(i + 1) == u'-') {
            inComment = true;
        }
    }
    pieces.append(script.mid(start));
    return pieces;
}
