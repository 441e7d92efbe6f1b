// A template and values from arbitrary bytes (NUL-separated: the template,
// then the values). Expanding must neither crash nor hang, and an expanded
// SQL template must end in the same place (code, literal or comment) as the
// template, so no value can close a literal or open a comment.
#include "PlaceholderExpander.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

enum class Place { Code, Literal, LineComment, BlockComment };

Place EndPlace(const QString& text)
{
    Place place = Place::Code;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        switch (place) {
        case Place::Code:
            if (c == u'\'')
                place = Place::Literal;
            else if (c == u'-' && next == u'-')
                place = Place::LineComment, ++i;
            else if (c == u'/' && next == u'*')
                place = Place::BlockComment, ++i;
            break;
        case Place::Literal:
            if (c == u'\'')
                place = Place::Code;
            break;
        case Place::LineComment:
            if (c == u'\n')
                place = Place::Code;
            break;
        case Place::BlockComment:
            if (c == u'*' && next == u'/')
                place = Place::Code, ++i;
            break;
        }
    }
    return place;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList parts =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QChar(u'\0'));
    const auto part = [&](int i) { return i < parts.size() ? parts[i] : QString(); };
    PlaceholderValues values;
    if (parts.size() > 1)
        values.index2 = part(1);
    values.type = part(2);
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
    for (int slot = 0; slot < 10; ++slot)
        values.globals[slot] = part(12 + slot);

    const CPlaceholderExpander expander(values);
    const QString sql = part(0);
    expander.ExpandText(sql);
    QString expanded;
    QString error;
    if (expander.ExpandSql(sql, expanded, error) && EndPlace(expanded) != EndPlace(sql))
        std::abort();
    return 0;
}
