#include "web/UrlCoding.h"

#include "text/Cp936.h"

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

QString UrlEncode(const QString& text)
{
    static const char kDigits[] = "0123456789abcdef";
    const QByteArray bytes = text.toUtf8();
    if (bytes.isEmpty())
        return text;
    QString result;
    result.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        result += QLatin1Char('%');
        result += QLatin1Char(kDigits[byte >> 4]);
        result += QLatin1Char(kDigits[byte & 0x0f]);
    }
    return result;
}

QString HexDecodeUtf8(const QString& text)
{
    // Works on the UTF-8 bytes of the text, so characters that are not
    // percent-coded pass through whole.
    const QByteArray bytes = text.toUtf8();
    QByteArray decoded;
    decoded.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const int high = (bytes[i] == '%' && i + 2 < bytes.size()) ? HexDigitValue(bytes[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(bytes[i + 2]) : -1;
        if (low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += bytes[i];
        }
    }
    return QString::fromUtf8(decoded);
}

QByteArray WideToUtf8(const QString& text)
{
    return text.toUtf8();
}

QString Utf8ToString(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

void Gb2312ToString(const QByteArray& bytes, QString& text)
{
    text = FromCp936(bytes);
}
