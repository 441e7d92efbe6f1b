#include "ServiceScript.h"

namespace {

bool IsComment(SqlPieceKind kind)
{
    return kind == SqlPieceKind::LineComment || kind == SqlPieceKind::BlockComment;
}

} // namespace

bool SplitServiceScript(const QString& script, SqlDialect dialect, QStringList& statements, QString& error)
{
    QList<SqlPiece> pieces;
    if (!LexSql(script, dialect, pieces, error))
        return false;
    statements.clear();
    qsizetype start = 0;
    bool runnable = false; // the statement so far holds more than blanks and comments
    const auto end = [&](qsizetype at) {
        if (runnable)
            statements.append(script.sliced(start, at - start).trimmed());
        start = at + 1;
        runnable = false;
    };
    for (const SqlPiece& piece : pieces) {
        if (piece.kind != SqlPieceKind::Code) {
            runnable = runnable || !IsComment(piece.kind);
            continue;
        }
        for (qsizetype i = piece.begin; i < piece.end; ++i) {
            if (script[i] == u';')
                end(i);
            else if (!script[i].isSpace())
                runnable = true;
        }
    }
    end(script.size());
    return true;
}
