#include "text/Cp936.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Converts with glibc's iconv. An invalid or incomplete sequence in the input
// is replaced by `replacement` (already in the target encoding) and skipped
// one input unit at a time, so any input converts and nothing is lost beyond it.
QByteArray Convert(const char* to, const char* from, const char* data, size_t size,
                   const QByteArray& replacement, size_t unit)
{
    QByteArray out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return out;
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    char buffer[4096];
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: replace one unit of input and go on.
        out.append(replacement);
        const size_t skip = inLeft < unit ? inLeft : unit;
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    iconv_close(cd);
    return out;
}

} // namespace

QString FromCp936(const QByteArray& bytes)
{
    static const QByteArray replacement = QByteArray("\xFD\xFF", 2); // U+FFFD in UTF-16LE
    const QByteArray utf16 = Convert("UTF-16LE", "GB18030", bytes.constData(),
                                     static_cast<size_t>(bytes.size()), replacement, 1);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

QByteArray ToCp936(const QString& text)
{
    return Convert("CP936", "UTF-16LE", reinterpret_cast<const char*>(text.utf16()),
                   static_cast<size_t>(text.size()) * 2, QByteArray("?"), 2);
}
