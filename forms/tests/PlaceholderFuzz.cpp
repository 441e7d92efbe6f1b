// A template and values from arbitrary bytes (NUL-separated: the template,
// then the values). Expanding must neither crash nor hang, and an expanded
// SQL template must hold the template's literals, names and comments in the
// same order, so no value can close a literal or open a comment. The menu
// entry's type is SQL its author writes, put in as it stands: it is fixed.
#include "PlaceholderExpander.h"
#include "text/SqlLexer.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The literals, names and comments of a statement, in order: what no value
// may add, end or remove (the plain SQL between them may grow, by values
// and by a row limit).
QList<SqlPieceKind> QuotedPieces(const QString& sql, SqlDialect dialect, bool& read)
{
    QList<SqlPiece> pieces;
    QString error;
    read = LexSql(sql, dialect, pieces, error);
    QList<SqlPieceKind> kinds;
    for (const SqlPiece& piece : std::as_const(pieces)) {
        if (piece.kind != SqlPieceKind::Code)
            kinds.append(piece.kind);
    }
    return kinds;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList parts =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QChar(u'\0'));
    const auto part = [&](int i) { return i < parts.size() ? parts[i] : QString(); };
    PlaceholderValues values;
    values.hasIndexBox = parts.size() > 1;
    values.index2 = part(1);
    values.type = QStringLiteral("kind_0=1");
    values.input = part(3);
    values.selectedUid = part(4);
    values.listedUids = part(5);
    values.company = part(6);
    values.userUid = part(7);
    values.userId = part(8);
    values.userName = part(9);
    values.dbPath = part(10);
    values.exeName = part(11);
    values.version = QStringLiteral("1.0.0.1");
    values.topRows = size % 2;
    values.dialect = SqlDialect(1 + size / 2 % 3);
    for (int slot = 0; slot < 10; ++slot)
        values.globals[slot] = part(12 + slot);

    const CPlaceholderExpander expander(values);
    const QString sql = part(0);
    expander.ExpandText(sql);
    QString expanded;
    QString error;
    if (expander.ExpandSql(sql, expanded, error)) {
        bool templateRead = false;
        bool expandedRead = false;
        const QList<SqlPieceKind> before = QuotedPieces(sql, values.dialect, templateRead);
        const QList<SqlPieceKind> after = QuotedPieces(expanded, values.dialect, expandedRead);
        if (templateRead && (!expandedRead || before != after))
            std::abort();
    }
    return 0;
}
