#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A zip archive held in memory (libzip): entries are read by name, replaced
// or added, and the whole archive is written out again; entries left alone
// keep their compressed bytes. Bad archives are reported, never trusted:
// every failure gives false with Error().
class CZipArchive
{
public:
    CZipArchive();
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    bool Open(const QByteArray& bytes);
    // A new archive without entries.
    bool Create();
    bool Contains(const QString& name) const;
    // Reads every entry through, so that a damaged one (its checksum, its
    // compressed data) is found before anything is made of the archive.
    bool CheckEntries(qint64 maxBytes = 64 * 1024 * 1024);
    // An entry's bytes; an entry larger than maxBytes is refused.
    bool Read(const QString& name, QByteArray& bytes, qint64 maxBytes = 64 * 1024 * 1024);
    // Replaces the entry of that name, or adds it; written by Save.
    void Put(const QString& name, const QByteArray& bytes);
    // The archive with the entries put; the object is closed afterwards.
    bool Save(QByteArray& bytes);

    const QString& Error() const { return m_strError; }

private:
    bool OpenWith(const QByteArray& bytes, int flags);
    bool ReadIndex(qint64 index, const QString& name, QByteArray& bytes, qint64 maxBytes);
    bool Fail(const QString& what);
    void Close();

    struct zip_source* m_source = nullptr;
    struct zip* m_zip = nullptr;
    QHash<QString, QByteArray> m_put;  // kept alive until the archive is written
    QString m_strError;
};
