#include "text/SqlLexer.h"

#include "text/SqlTexts.h"

namespace {

// PostgreSQL's own classes of characters, read on the statement as the
// server holds it (UTF-8, or another encoding whose multibyte characters are
// all bytes of 0x80 and above): every character beyond ASCII is a letter to
// it, whatever Unicode says of it ("。" starts a name and a dollar tag).
bool IsPgLetter(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x80 || u == u'_' || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A name goes on with letters, digits and "$" ("a$b$" is one name).
bool IsPgNameChar(QChar c)
{
    return IsPgLetter(c) || IsDigit(c) || c == u'$';
}

// A dollar tag goes on with letters and digits, not "$".
bool IsPgTagChar(QChar c)
{
    return IsPgLetter(c) || IsDigit(c);
}

// The reader of one text: each Read... call starts at the piece's first
// character and returns one past its last, or -1 when the text ends first.
class CSqlReader
{
public:
    // Where a piece ends is read differently by the database than it could
    // be here.
    static constexpr qsizetype AmbiguousEnd = -2;

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
                i = CodeTokenEnd(i);
                continue;
            }
            if (i > codeBegin)
                pieces.append({SqlPieceKind::Code, codeBegin, i, {}});
            piece.begin = i;
            piece.end = ReadPiece(piece);
            if (piece.end == AmbiguousEnd) {
                error = SqlTexts::LoneReturnInComment.arg(i + 1);
                return false;
            }
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

    // One past the token of code that starts at i. PostgreSQL's names,
    // numbers and parameters are read whole, as its scanner reads them, for
    // a "$" inside one of them ("a$$", "x1$", "$1") opens no dollar quote,
    // while one right after a number or parameter does ("1$$", "$1$$"). The
    // other kinds have no quote that such a token could hide.
    qsizetype CodeTokenEnd(qsizetype i)
    {
        if (m_dialect != SqlDialect::PostgreSql)
            return i + 1;
        const QChar c = m_sql[i];
        qsizetype end = i + 1;
        if (IsPgLetter(c)) {
            end = NameEnd(i);
            m_lastName = QStringView(m_sql).sliced(i, end - i);
            m_lastNameEnd = end;
            return end;
        }
        if (IsDigit(c) || (c == u'$' && IsDigit(At(i + 1)))) {
            end = i + 1;
            while (IsDigit(At(end)) || At(end) == u'_')
                ++end;
            if (c != u'$')
                end = NumberTail(i, end);
            // Letters right after a number or parameter are one token with
            // it (a syntax error), and take any "$" that follows them.
            if (IsPgLetter(At(end)))
                end = NameEnd(end);
        }
        return end;
    }

    qsizetype NameEnd(qsizetype i) const
    {
        while (i < m_sql.size() && IsPgNameChar(m_sql[i]))
            ++i;
        return i;
    }

    // The rest of a number that starts at begin, after its first digits at
    // i: hexadecimal, octal and binary digits after "0x", "0o", "0b", a
    // decimal part, an exponent.
    qsizetype NumberTail(qsizetype begin, qsizetype i) const
    {
        const QChar radix = At(i).toLower();
        if (i == begin + 1 && m_sql[begin] == u'0' && (radix == u'x' || radix == u'o' || radix == u'b')
            && (IsHexDigit(At(i + 1)) || At(i + 1) == u'_')) {
            i += 2;
            while (IsHexDigit(At(i)) || At(i) == u'_')
                ++i;
            return i;
        }
        if (At(i) == u'.' && At(i + 1) != u'.') {
            ++i;
            while (IsDigit(At(i)) || At(i) == u'_')
                ++i;
        }
        const QChar e = At(i);
        if (e == u'e' || e == u'E') {
            const qsizetype digits = At(i + 1) == u'+' || At(i + 1) == u'-' ? i + 2 : i + 1;
            if (IsDigit(At(digits))) {
                i = digits;
                while (IsDigit(At(i)) || At(i) == u'_')
                    ++i;
            }
        }
        return i;
    }

    static bool IsHexDigit(QChar c)
    {
        return IsDigit(c) || (c.toLower() >= u'a' && c.toLower() <= u'f');
    }

    // Whether a piece other than code starts at i, and which.
    bool StartsPiece(qsizetype i, SqlPiece& piece) const
    {
        const QChar c = m_sql[i];
        const bool postgres = m_dialect == SqlDialect::PostgreSql;
        if (c == u'\'') {
            // E'...' only where the E is a name of its own, right before it.
            const bool escape = postgres && m_lastNameEnd == i
                && (m_lastName == QStringView(u"E") || m_lastName == QStringView(u"e"));
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
        // Only at the start of a token: names, numbers and parameters are
        // read whole, so a "$" inside one never comes here.
        if (c == u'$' && postgres) {
            piece.dollarMark = DollarMarkAt(i);
            piece.kind = SqlPieceKind::DollarLiteral;
            return !piece.dollarMark.isEmpty();
        }
        return false;
    }

    // "$$" or "$tag$" at i, else empty: a tag is letters (any character
    // beyond ASCII among them), digits and "_", and starts with no digit.
    QString DollarMarkAt(qsizetype i) const
    {
        qsizetype j = i + 1;
        if (At(j) != u'$') {
            if (!IsPgLetter(At(j)))
                return {};
            while (j < m_sql.size() && IsPgTagChar(m_sql[j]))
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
        case SqlPieceKind::LineComment:
            return LineCommentEnd(i);
        case SqlPieceKind::BlockComment:
            return ReadBlockComment(i);
        case SqlPieceKind::Code:
            break;
        }
        return -1;
    }

    // PostgreSQL ends a line comment at a carriage return or a line feed,
    // SQLite at a line feed only. What SQL Server does with a lone carriage
    // return could not be settled, and a comment that one reader ends where
    // the other goes on would let the text after it be read two ways: on
    // SQL Server a line comment holding one is refused.
    qsizetype LineCommentEnd(qsizetype i) const
    {
        const qsizetype lineFeed = m_sql.indexOf(u'\n', i);
        const qsizetype end = lineFeed < 0 ? m_sql.size() : lineFeed;
        const qsizetype carriageReturn = m_sql.sliced(i, end - i).indexOf(u'\r');
        const bool loneReturn = carriageReturn >= 0 && i + carriageReturn + 1 < end;
        switch (m_dialect) {
        case SqlDialect::PostgreSql:
            return carriageReturn >= 0 ? i + carriageReturn : end;
        case SqlDialect::SqlServer:
            return loneReturn ? AmbiguousEnd : end;
        case SqlDialect::Access:
            break;
        }
        return end;
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
    // The last name read in code, and one past its end.
    QStringView m_lastName;
    qsizetype m_lastNameEnd = -1;
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
