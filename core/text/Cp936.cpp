#include "text/Cp936.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One direction of conversion, open for as long as its thread lives: opening
// a converter loads and unloads the character-set module, which costs far
// more than converting a line. A converter may not be shared between threads.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (IsOpen())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // An invalid or incomplete sequence in the input is replaced by
    // `replacement` (already in the target encoding) and skipped one input
    // unit at a time, so any input converts and nothing is lost beyond it.
    QByteArray Convert(const char* data, size_t size, const QByteArray& replacement, size_t unit);

private:
    iconv_t m_cd;
};

QByteArray Converter::Convert(const char* data, size_t size, const QByteArray& replacement, size_t unit)
{
    QByteArray out;
    if (!IsOpen())
        return out;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    char buffer[4096];
    while (inLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
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
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    return out;
}

} // namespace

QString FromCp936(const QByteArray& bytes)
{
    static const QByteArray replacement = QByteArray("\xFD\xFF", 2); // U+FFFD in UTF-16LE
    thread_local Converter converter("UTF-16LE", "GB18030");
    const QByteArray utf16 =
        converter.Convert(bytes.constData(), static_cast<size_t>(bytes.size()), replacement, 1);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

QByteArray ToCp936(const QString& text)
{
    thread_local Converter converter("CP936", "UTF-16LE");
    return converter.Convert(reinterpret_cast<const char*>(text.utf16()),
                             static_cast<size_t>(text.size()) * 2, QByteArray("?"), 2);
}
