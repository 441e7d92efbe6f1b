#include "text/SqlLexer.h"

#include "text/SqlTexts.h"

namespace {

bool IsWordChar(QChar c)
{
    return c == u'_' || c == u'$' || c.isLetterOrNumber();
}

bool IsTagStart(QChar c)
{
    return c == u'_' || (c.isLetter() && c != u'$');
}

// The reader of one text: each Read... call starts at the piece's first
// character and returns one past its last, or -1 when the text ends first.
class CSqlReader
{
public:
    CSqlReader(QStringView sql, SqlDialect dialect)
        : m_sql(sql)
        , m_dialect(dialect)
    {
    }

    bool Lex(QList<SqlPiece>& pieces, QString& error)
    {
        qsizetype codeBegin = 0;
        qsizetype i = 0;
        while (i < m_sql.size()) {
            SqlPiece piece;
            if (!StartsPiece(i, piece)) {
                ++i;
                continue;
            }
            if (i > codeBegin)
                pieces.append({SqlPieceKind::Code, codeBegin, i, {}});
            piece.begin = i;
            piece.end = ReadPiece(piece);
            if (piece.end < 0) {
                error = UnterminatedText(piece.kind).arg(i + 1);
                return false;
            }
            pieces.append(piece);
            i = codeBegin = piece.end;
        }
        if (codeBegin < m_sql.size())
            pieces.append({SqlPieceKind::Code, codeBegin, m_sql.size(), {}});
        return true;
    }

private:
    QChar At(qsizetype i) const { return i >= 0 && i < m_sql.size() ? m_sql[i] : QChar(); }

    bool Starts(qsizetype i, QStringView mark) const { return m_sql.sliced(i).startsWith(mark); }

    // Whether a piece other than code starts at i, and which.
    bool StartsPiece(qsizetype i, SqlPiece& piece) const
    {
        const QChar c = m_sql[i];
        const bool postgres = m_dialect == SqlDialect::PostgreSql;
        if (c == u'\'') {
            // E'...' only where the E is a word of its own, not the end of one.
            const bool escape = postgres && (At(i - 1) == u'E' || At(i - 1) == u'e') && !IsWordChar(At(i - 2));
            piece.kind = escape ? SqlPieceKind::EscapeLiteral : SqlPieceKind::Literal;
            return true;
        }
        if (c == u'"' || (c == u'[' && !postgres) || (c == u'`' && m_dialect == SqlDialect::Access)) {
            piece.kind = SqlPieceKind::QuotedName;
            return true;
        }
        if (c == u'-' && At(i + 1) == u'-') {
            piece.kind = SqlPieceKind::LineComment;
            return true;
        }
        if (c == u'/' && At(i + 1) == u'*') {
            piece.kind = SqlPieceKind::BlockComment;
            return true;
        }
        if (c == u'$' && postgres && !IsWordChar(At(i - 1))) {
            piece.dollarMark = DollarMarkAt(i);
            piece.kind = SqlPieceKind::DollarLiteral;
            return !piece.dollarMark.isEmpty();
        }
        return false;
    }

    // "$$" or "$tag$" at i, else empty ($1 is a parameter, not a mark).
    QString DollarMarkAt(qsizetype i) const
    {
        qsizetype j = i + 1;
        if (At(j) != u'$') {
            if (!IsTagStart(At(j)))
                return {};
            while (j < m_sql.size() && IsWordChar(m_sql[j]) && m_sql[j] != u'$')
                ++j;
            if (At(j) != u'$')
                return {};
        }
        return m_sql.sliced(i, j + 1 - i).toString();
    }

    qsizetype ReadPiece(const SqlPiece& piece) const
    {
        const qsizetype i = piece.begin;
        switch (piece.kind) {
        case SqlPieceKind::Literal:
            return ReadQuoted(i + 1, u'\'', false);
        case SqlPieceKind::EscapeLiteral:
            return ReadQuoted(i + 1, u'\'', true);
        case SqlPieceKind::QuotedName:
            return ReadQuoted(i + 1, m_sql[i] == u'[' ? u']' : m_sql[i], false);
        case SqlPieceKind::DollarLiteral: {
            const qsizetype close = m_sql.indexOf(piece.dollarMark, i + piece.dollarMark.size());
            return close < 0 ? -1 : close + piece.dollarMark.size();
        }
        case SqlPieceKind::LineComment: {
            const qsizetype lineEnd = m_sql.indexOf(u'\n', i);
            return lineEnd < 0 ? m_sql.size() : lineEnd;
        }
        case SqlPieceKind::BlockComment:
            return ReadBlockComment(i);
        case SqlPieceKind::Code:
            break;
        }
        return -1;
    }

    // The closing quote is doubled to stand for itself; with backslashes on,
    // a backslash takes the character after it too.
    qsizetype ReadQuoted(qsizetype i, QChar close, bool backslashes) const
    {
        while (i < m_sql.size()) {
            const QChar c = m_sql[i];
            if (backslashes && c == u'\\') {
                i += 2;
                continue;
            }
            if (c == close) {
                if (At(i + 1) != close)
                    return i + 1;
                ++i;
            }
            ++i;
        }
        return -1;
    }

    // SQL Server and PostgreSQL count the comment marks inside a comment;
    // SQLite ends it at the first "*/".
    qsizetype ReadBlockComment(qsizetype i) const
    {
        const bool nested = m_dialect != SqlDialect::Access;
        int depth = 0;
        while (i < m_sql.size()) {
            if (Starts(i, u"/*") && (nested || depth == 0)) {
                ++depth;
                i += 2;
            } else if (Starts(i, u"*/")) {
                i += 2;
                if (--depth == 0)
                    return i;
            } else {
                ++i;
            }
        }
        return -1;
    }

    static const QString& UnterminatedText(SqlPieceKind kind)
    {
        switch (kind) {
        case SqlPieceKind::QuotedName:
            return SqlTexts::UnterminatedName;
        case SqlPieceKind::BlockComment:
            return SqlTexts::UnterminatedComment;
        default:
            return SqlTexts::UnterminatedLiteral;
        }
    }

    QStringView m_sql;
    SqlDialect m_dialect;
};

} // namespace

SqlDialect SqlDialectOf(const QString& dbType)
{
    if (dbType == u"2")
        return SqlDialect::Access;
    if (dbType == u"3")
        return SqlDialect::PostgreSql;
    return SqlDialect::SqlServer;
}

bool LexSql(QStringView sql, SqlDialect dialect, QList<SqlPiece>& pieces, QString& error)
{
    pieces.clear();
    return CSqlReader(sql, dialect).Lex(pieces, error);
}
