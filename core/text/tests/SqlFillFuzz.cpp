// Random templates and values through the SQL filling: whenever a fill
// succeeds, the filled statement, read again, has the template's pieces in
// the same order, each value standing in one literal (reading back as the
// value) or as numbers in plain SQL, and no value in a comment or a name.
#include "text/SqlFill.h"

#include <QStringList>

#include <algorithm>

#include <cstddef>
#include <cstdint>

namespace {

const QString P1 = QStringLiteral("{{p1}}");
const QString P2 = QStringLiteral("{{p2}}");
// Stand-ins for the tokens that no literal's quoting touches.
const QString Mark1 = QString(QChar(2));
const QString Mark2 = QString(QChar(3));

// The text a literal stands for: quotes undoubled, and in E'...' the
// character after each backslash taken as it is.
QString Unquote(QStringView piece, SqlPieceKind kind, const QString& dollarMark)
{
    if (kind == SqlPieceKind::DollarLiteral)
        return piece.sliced(dollarMark.size(), piece.size() - 2 * dollarMark.size()).toString();
    const QStringView body = piece.sliced(1, piece.size() - 2);
    QString text;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (kind == SqlPieceKind::EscapeLiteral && body[i] == u'\\' && i + 1 < body.size())
            ++i;
        else if (body[i] == u'\'')
            ++i;
        text += body[i];
    }
    return text;
}

QString Numbers(const QStringList& values)
{
    QStringList numbers;
    for (const QString& value : values)
        numbers << SqlNumberText(value);
    return numbers.join(u',');
}

// Code as the filling should leave it, blanks it may add aside.
QString PutNumbers(QStringView code, const QString& value1, const QStringList& values2)
{
    return code.toString()
        .replace(P1, Mark1)
        .replace(P2, Mark2)
        .replace(Mark1, Numbers({value1}))
        .replace(Mark2, Numbers(values2));
}

QString WithoutBlanks(QString text)
{
    text.removeIf([](QChar c) { return c.isSpace(); });
    return text;
}

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const SqlDialect dialect = SqlDialect(1 + data[0] % 3);
    const QStringList parts =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)).split(QChar(0x1f));
    const QString sql = parts.value(0);
    const QString value1 = parts.value(1);
    const QStringList values2 = parts.value(2).split(u',');
    // Templates come from XML, which cannot hold control characters; the
    // stand-ins, or a brace in a value (which could make a token with the
    // template's text), would confuse the expectation below, not the filling.
    const auto confusing = [](const QString& text, QStringView chars) {
        return std::any_of(chars.begin(), chars.end(), [&](QChar c) { return text.contains(c); });
    };
    if (confusing(sql, u"\x01\x02\x03") || confusing(parts.value(1) + parts.value(2), u"{}\x02\x03"))
        return 0;

    QString filled = sql;
    if (!PutSqlValue(filled, P1, value1) || !PutSqlValues(filled, P2, values2))
        return 0;
    QString error;
    if (!FillSqlValues(filled, dialect, error))
        return 0;
    if (!sql.contains(P1) && !sql.contains(P2)) {
        Require(filled == sql);
        return 0;
    }

    QList<SqlPiece> before;
    QList<SqlPiece> after;
    Require(LexSql(sql, dialect, before, error));
    Require(LexSql(filled, dialect, after, error));
    // A stretch of code that was only tokens with empty values is gone.
    before.removeIf([&](const SqlPiece& piece) {
        return piece.kind == SqlPieceKind::Code
            && PutNumbers(QStringView(sql).sliced(piece.begin, piece.end - piece.begin), value1, values2).isEmpty();
    });
    Require(before.size() == after.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const SqlPiece& b = before[i];
        const SqlPiece& a = after[i];
        Require(a.kind == b.kind && a.dollarMark == b.dollarMark);
        const QStringView original = QStringView(sql).sliced(b.begin, b.end - b.begin);
        const QStringView result = QStringView(filled).sliced(a.begin, a.end - a.begin);
        switch (b.kind) {
        case SqlPieceKind::Code:
            Require(WithoutBlanks(PutNumbers(original, value1, values2)) == WithoutBlanks(result.toString()));
            break;
        case SqlPieceKind::Literal:
        case SqlPieceKind::EscapeLiteral:
        case SqlPieceKind::DollarLiteral:
            // Tokens are found in the template's text as written, not in
            // the text its literal stands for.
            Require(Unquote(original.toString().replace(P1, Mark1).replace(P2, Mark2), b.kind, b.dollarMark)
                        .replace(Mark1, value1)
                        .replace(Mark2, values2.join(u','))
                    == Unquote(result, a.kind, a.dollarMark));
            break;
        default:
            Require(!original.contains(P1) && !original.contains(P2) && original == result);
            break;
        }
    }
    return 0;
}
