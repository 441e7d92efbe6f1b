#include "web/FileHelpers.h"

#include "text/Cp936.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

FileException::FileException(const QString& path, const QString& reason)
    : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString())
    , m_strPath(path)
    , m_strReason(reason)
{
}

QString FileException::Path() const
{
    return m_strPath;
}

QString FileException::Reason() const
{
    return m_strReason;
}

QByteArray ReadWholeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileException(path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileException(path, file.errorString());
    return bytes;
}

void WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true); // a file in a folder we may not create files in
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileException(path, file.errorString());
}

bool ReadGb2312File(const QString& path, QString& text)
{
    const QByteArray bytes = ReadWholeFile(path);
    if (bytes.size() < 2)
        return false;
    text = FromCp936(bytes);
    return true;
}

void WriteGb2312File(const QString& path, const QString& text)
{
    WriteWholeFile(path, ToCp936(text));
}

namespace {

QString WithCrlf(const QString& text)
{
    QString crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n' && (i == 0 || text.at(i - 1) != u'\r'))
            crlf += u'\r';
        crlf += text.at(i);
    }
    return crlf;
}

} // namespace

void WriteTextFileCrlf(const QString& path, const QString& text)
{
    WriteGb2312File(path, WithCrlf(text));
}

void AppendTextFileCrlf(const QString& path, const QString& text)
{
    QFile file(path);
    const QByteArray bytes = ToCp936(WithCrlf(text));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size())
        throw FileException(path, file.errorString());
}

void CreateFolder(const QString& path)
{
    QDir().mkdir(path);
}
