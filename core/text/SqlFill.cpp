#include "text/SqlFill.h"

#include "text/SqlText.h"
#include "text/SqlTexts.h"

#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace {

// "{{" and a control character no form description can hold (XML forbids
// it), so a template never holds a waiting token of its own making.
const QString WaitingOpening = QStringLiteral("{{\x01");
const QString WaitingClosing = QStringLiteral("}}");

enum class WaitingKind : char16_t { Value = u'v', List = u'l', RowLimit = u'r' };

struct Waiting
{
    WaitingKind kind = WaitingKind::Value;
    QString token;
    QStringList values;
};

// Hex digits stand in for the characters: nothing in them is a quote, a
// comment mark or a token's brace.
QString Hex(const QString& text)
{
    QString hex;
    hex.reserve(text.size() * 4);
    for (QChar c : text)
        hex += QStringLiteral("%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    return hex;
}

std::optional<QString> FromHex(QStringView hex)
{
    if (hex.size() % 4 != 0)
        return std::nullopt;
    QString text;
    for (qsizetype i = 0; i < hex.size(); i += 4) {
        bool ok = false;
        const ushort code = hex.sliced(i, 4).toUShort(&ok, 16);
        if (!ok)
            return std::nullopt;
        text += QChar(code);
    }
    return text;
}

QString WaitingToken(WaitingKind kind, const QString& token, const QStringList& values)
{
    QStringList hexValues;
    for (const QString& value : values)
        hexValues.append(Hex(value));
    return WaitingOpening + QChar(char16_t(kind)) + Hex(token) + u':' + hexValues.join(u'.') + WaitingClosing;
}

// The waiting token whose body (between the opening and the closing) is
// given; nothing for a text that only looks like one.
std::optional<Waiting> ReadWaiting(QStringView body)
{
    const qsizetype colon = body.indexOf(u':');
    if (body.isEmpty() || colon < 1)
        return std::nullopt;
    Waiting waiting;
    waiting.kind = WaitingKind(body[0].unicode());
    if (waiting.kind != WaitingKind::Value && waiting.kind != WaitingKind::List
        && waiting.kind != WaitingKind::RowLimit)
        return std::nullopt;
    const std::optional<QString> token = FromHex(body.sliced(1, colon - 1));
    if (!token)
        return std::nullopt;
    waiting.token = *token;
    for (QStringView part : body.sliced(colon + 1).split(u'.')) {
        const std::optional<QString> value = FromHex(part);
        if (!value)
            return std::nullopt;
        waiting.values.append(*value);
    }
    return waiting;
}

bool PutWaiting(QString& sql, const QString& token, const QString& waiting, const QStringList& values)
{
    if (token.isEmpty() || !sql.contains(token))
        return true;
    if (std::any_of(values.cbegin(), values.cend(), [](const QString& v) { return v.contains(SqlTokenOpening); }))
        return false;
    sql.replace(token, waiting);
    return true;
}

// Two characters that would read as a comment mark if a number put them
// side by side ("5-{{p1}}" with -1 is 5- -1, not a comment).
bool WouldJoin(QChar first, QChar second)
{
    return (first == u'-' && second == u'-') || (first == u'/' && second == u'*') || (first == u'*' && second == u'/');
}

// The value as the literal it stands in reads it back; false when the
// literal cannot hold it.
bool EscapeForLiteral(const SqlPiece& piece, const QString& value, const QString& token, QString& escaped,
                      QString& error)
{
    escaped = value;
    switch (piece.kind) {
    case SqlPieceKind::EscapeLiteral:
        escaped.replace(u'\\', QStringLiteral("\\\\"));
        EscapeSqlText(escaped);
        return true;
    case SqlPieceKind::DollarLiteral:
        if (!value.contains(piece.dollarMark))
            return true;
        error = SqlTexts::DollarMarkInValue.arg(value, piece.dollarMark, token);
        return false;
    default:
        EscapeSqlText(escaped);
        return true;
    }
}

// Reads the statement and puts the waiting values in, piece by piece.
class CSqlFiller
{
public:
    CSqlFiller(const QString& sql, SqlDialect dialect)
        : m_sql(sql)
        , m_dialect(dialect)
    {
    }

    bool Fill(QString& filled, QString& error, int* rowLimit)
    {
        QList<SqlPiece> pieces;
        if (!LexSql(m_sql, m_dialect, pieces, error))
            return false;
        m_out.reserve(m_sql.size());
        // Where each piece of the template stands in the filled statement.
        QList<SqlPiece> placed;
        for (const SqlPiece& piece : std::as_const(pieces)) {
            const qsizetype begin = m_out.size();
            if (!FillPiece(piece, error))
                return false;
            if (m_out.size() > begin)
                placed.append({piece.kind, begin, m_out.size(), piece.dollarMark});
        }
        // The net under the judgements: read again, the filled statement
        // must have exactly those pieces, so no value (nor a value's absence)
        // has joined, ended or opened a literal, name or comment.
        QList<SqlPiece> after;
        QString unused;
        if (!LexSql(m_out, m_dialect, after, unused) || after != placed) {
            error = SqlTexts::StructureChanged;
            return false;
        }
        if (m_rowLimit && !rowLimit)
            m_out.insert(StatementEnd(after), SqlTexts::LimitRows.arg(*m_rowLimit));
        if (rowLimit)
            *rowLimit = m_rowLimit.value_or(0);
        filled = m_out;
        return true;
    }

private:
    bool FillPiece(const SqlPiece& piece, QString& error)
    {
        qsizetype i = piece.begin;
        while (i < piece.end) {
            const qsizetype open = m_sql.indexOf(WaitingOpening, i);
            const qsizetype close = open < 0 ? -1 : m_sql.indexOf(WaitingClosing, open + WaitingOpening.size());
            const std::optional<Waiting> waiting =
                close < 0 || close >= piece.end
                    ? std::nullopt
                    : ReadWaiting(QStringView(m_sql).sliced(open + WaitingOpening.size(),
                                                            close - open - WaitingOpening.size()));
            if (!waiting) {
                const qsizetype stop = open < 0 || open >= piece.end ? piece.end : open + 1;
                m_out += QStringView(m_sql).sliced(i, stop - i);
                i = stop;
                continue;
            }
            m_out += QStringView(m_sql).sliced(i, open - i);
            i = close + WaitingClosing.size();
            QString put;
            if (!Judge(piece, *waiting, put, error))
                return false;
            if (piece.kind == SqlPieceKind::EscapeLiteral && EndsInEscape()) {
                // A backslash of the template would escape the value's first
                // character, which could then end the literal.
                error = SqlTexts::StructureChanged;
                return false;
            }
            Append(piece, put, i);
        }
        return true;
    }

    // The text a waiting value becomes where it stands.
    bool Judge(const SqlPiece& piece, const Waiting& waiting, QString& put, QString& error)
    {
        if (waiting.kind == WaitingKind::RowLimit) {
            const int rows = waiting.values.value(0).toInt();
            if (rows <= 0)
                return true;
            if (piece.kind == SqlPieceKind::Code && m_dialect != SqlDialect::SqlServer)
                m_rowLimit = std::min(rows, m_rowLimit.value_or(rows));
            else
                put = SqlTexts::TopRows.arg(rows);
            return true;
        }
        const QString joined = waiting.values.join(u',');
        switch (piece.kind) {
        case SqlPieceKind::Code: {
            QStringList numbers;
            for (const QString& value : waiting.values) {
                const QString number = SqlNumberText(value);
                if (number.isEmpty() && !value.isEmpty()) {
                    error = SqlTexts::NotANumber.arg(joined, waiting.token);
                    return false;
                }
                numbers.append(number);
            }
            put = numbers.join(u',');
            return true;
        }
        case SqlPieceKind::QuotedName:
            error = SqlTexts::TokenInName.arg(waiting.token);
            return false;
        case SqlPieceKind::LineComment:
        case SqlPieceKind::BlockComment:
            error = SqlTexts::TokenInComment.arg(waiting.token);
            return false;
        default:
            return EscapeForLiteral(piece, joined, waiting.token, put, error);
        }
    }

    bool EndsInEscape() const
    {
        qsizetype backslashes = 0;
        for (qsizetype i = m_out.size() - 1; i >= 0 && m_out[i] == u'\\'; --i)
            ++backslashes;
        return backslashes % 2 == 1;
    }

    // Outside literals a blank keeps the value from making a comment mark
    // with its neighbours; inside them the value goes in as escaped.
    void Append(const SqlPiece& piece, QString put, qsizetype next)
    {
        if (piece.kind == SqlPieceKind::Code) {
            const QChar before = m_out.isEmpty() ? QChar() : m_out.back();
            const QChar after = next < m_sql.size() ? m_sql[next] : QChar();
            if (put.isEmpty()) {
                if (WouldJoin(before, after))
                    put = QStringLiteral(" ");
            } else {
                if (WouldJoin(before, put.front()))
                    put.prepend(u' ');
                if (WouldJoin(put.back(), after))
                    put.append(u' ');
            }
        }
        m_out += put;
    }

    // Where a LIMIT clause goes: behind the last literal, name or code that
    // is more than blanks and ";", so that trailing comments and the
    // statement's ";" stay behind it.
    qsizetype StatementEnd(const QList<SqlPiece>& pieces) const
    {
        for (qsizetype p = pieces.size() - 1; p >= 0; --p) {
            const SqlPiece& piece = pieces[p];
            if (piece.kind == SqlPieceKind::LineComment || piece.kind == SqlPieceKind::BlockComment)
                continue;
            if (piece.kind != SqlPieceKind::Code)
                return piece.end;
            for (qsizetype i = piece.end - 1; i >= piece.begin; --i) {
                if (!m_out[i].isSpace() && m_out[i] != u';')
                    return i + 1;
            }
        }
        return m_out.size();
    }

    const QString& m_sql;
    SqlDialect m_dialect;
    QString m_out;
    std::optional<int> m_rowLimit;
};

} // namespace

QString SqlNumberText(const QString& value)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    const QString trimmed = value.trimmed();
    return number.match(trimmed).hasMatch() ? trimmed : QString();
}

bool PutSqlValue(QString& sql, const QString& token, const QString& value)
{
    return PutWaiting(sql, token, WaitingToken(WaitingKind::Value, token, {value}), {value});
}

bool PutSqlValues(QString& sql, const QString& token, const QStringList& values)
{
    return PutWaiting(sql, token, WaitingToken(WaitingKind::List, token, values), values);
}

QString SqlRowLimitToken(int rows, const QString& token)
{
    return WaitingToken(WaitingKind::RowLimit, token, {QString::number(rows)});
}

bool FillSqlValues(QString& sql, SqlDialect dialect, QString& error, int* rowLimit)
{
    if (rowLimit)
        *rowLimit = 0;
    if (!sql.contains(WaitingOpening))
        return true;
    return CSqlFiller(sql, dialect).Fill(sql, error, rowLimit);
}
