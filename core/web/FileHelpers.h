#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

// Whole-file reading and writing in binary, code page 936 and CR LF forms.
// The readers and writers raise FileException when a file cannot be opened,
// read or written; their callers catch it.

class FileException : public std::runtime_error
{
public:
    FileException(const QString& path, const QString& reason);

    QString Path() const;
    QString Reason() const;

private:
    QString m_strPath;
    QString m_strReason;
};

QByteArray ReadWholeFile(const QString& path);

// Creates or replaces the file; the old contents stay when writing fails.
void WriteWholeFile(const QString& path, const QByteArray& bytes);

// Reads the whole file as code page 936 into text. A file shorter than
// 2 bytes leaves text unchanged and gives false.
bool ReadGb2312File(const QString& path, QString& text);

// Writes the text as code page 936 bytes, without terminator or byte-order mark.
void WriteGb2312File(const QString& path, const QString& text);

// As WriteGb2312File with every line feed not already preceded by a carriage
// return written as CR LF.
void WriteTextFileCrlf(const QString& path, const QString& text);
// The same text added at the end of the file, which is made when missing.
void AppendTextFileCrlf(const QString& path, const QString& text);

// Creates one folder; whether it worked is not reported.
void CreateFolder(const QString& path);
