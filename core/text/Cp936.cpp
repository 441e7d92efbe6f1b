#include "text/Cp936.h"

#include <cerrno>
#include <cstring>
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
    // Written straight into the result, which grows when a conversion needs
    // more room than the input's size suggests.
    out.resize(static_cast<qsizetype>(2 * size + 16));
    size_t written = 0;
    const auto room = [&](char** dst, size_t* dstLeft) {
        *dst = out.data() + written;
        *dstLeft = static_cast<size_t>(out.size()) - written;
    };
    char* in = const_cast<char*>(data);
    size_t inLeft = size;
    while (inLeft > 0) {
        char* dst;
        size_t dstLeft;
        room(&dst, &dstLeft);
        const size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
        written = static_cast<size_t>(dst - out.data());
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ or EINVAL: replace one unit of input and go on.
        if (written + static_cast<size_t>(replacement.size()) + 16 > static_cast<size_t>(out.size()))
            out.resize(out.size() * 2 + replacement.size());
        memcpy(out.data() + written, replacement.constData(), static_cast<size_t>(replacement.size()));
        written += static_cast<size_t>(replacement.size());
        const size_t skip = inLeft < unit ? inLeft : unit;
        in += skip;
        inLeft -= skip;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst;
    size_t dstLeft;
    room(&dst, &dstLeft);
    iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
    out.truncate(static_cast<qsizetype>(dst - out.data()));
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
