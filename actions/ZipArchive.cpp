#include "ZipArchive.h"

#include <zip.h>

#include <cstdlib>
#include <cstring>

CZipArchive::CZipArchive() = default;

CZipArchive::~CZipArchive()
{
    Close();
}

void CZipArchive::Close()
{
    if (m_zip)
        zip_discard(m_zip);
    m_zip = nullptr;
    if (m_source)
        zip_source_free(m_source);
    m_source = nullptr;
    m_put.clear();
}

bool CZipArchive::Fail(const QString& what)
{
    m_strError = what;
    return false;
}

bool CZipArchive::Create()
{
    return OpenWith(QByteArray(), ZIP_CREATE | ZIP_TRUNCATE);
}

bool CZipArchive::Open(const QByteArray& bytes)
{
    return OpenWith(bytes, ZIP_CHECKCONS);
}

bool CZipArchive::OpenWith(const QByteArray& bytes, int flags)
{
    Close();
    zip_error_t error;
    zip_error_init(&error);
    // The source gets a copy of its own to free: after zip_close has written
    // the archive into it, libzip frees the buffer it was made from, so a
    // buffer it does not own (the QByteArray's) was freed twice.
    void* data = nullptr;
    if (!bytes.isEmpty()) {
        data = std::malloc(size_t(bytes.size()));
        if (!data)
            return Fail(QStringLiteral("out of memory"));
        std::memcpy(data, bytes.constData(), size_t(bytes.size()));
    }
    m_source = zip_source_buffer_create(data, zip_uint64_t(bytes.size()), data ? 1 : 0, &error);
    if (!m_source) {
        std::free(data);
        const QString text = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        return Fail(text);
    }
    // The source outlives the archive: Save reads the written archive from it.
    zip_source_keep(m_source);
    m_zip = zip_open_from_source(m_source, flags, &error);
    if (!m_zip) {
        const QString text = QString::fromUtf8(zip_error_strerror(&error));
        zip_error_fini(&error);
        // The archive never took its reference.
        zip_source_free(m_source);
        Close();
        return Fail(text);
    }
    zip_error_fini(&error);
    return true;
}

bool CZipArchive::Contains(const QString& name) const
{
    return m_zip && zip_name_locate(m_zip, name.toUtf8().constData(), 0) >= 0;
}

bool CZipArchive::Read(const QString& name, QByteArray& bytes, qint64 maxBytes)
{
    if (!m_zip)
        return Fail(QStringLiteral("no archive"));
    const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), 0);
    if (index < 0)
        return Fail(name + QStringLiteral(": missing"));
    return ReadIndex(index, name, bytes, maxBytes);
}

bool CZipArchive::CheckEntries(qint64 maxBytes)
{
    if (!m_zip)
        return Fail(QStringLiteral("no archive"));
    const zip_int64_t count = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        QByteArray bytes;
        const char* name = zip_get_name(m_zip, zip_uint64_t(index), 0);
        if (!ReadIndex(index, QString::fromUtf8(name ? name : "?"), bytes, maxBytes))
            return false;
    }
    return true;
}

bool CZipArchive::ReadIndex(qint64 index, const QString& name, QByteArray& bytes, qint64 maxBytes)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip, zip_uint64_t(index), 0, &stat) != 0)
        return Fail(name + QStringLiteral(": missing"));
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > zip_uint64_t(maxBytes))
        return Fail(name + QStringLiteral(": too large"));
    zip_file_t* file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file)
        return Fail(name + QStringLiteral(": ") + QString::fromUtf8(zip_strerror(m_zip)));
    QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
    zip_int64_t total = 0;
    while (total < zip_int64_t(stat.size)) {
        const zip_int64_t count = zip_fread(file, data.data() + total, stat.size - zip_uint64_t(total));
        if (count <= 0)
            break;
        total += count;
    }
    // One more read checks the end of the entry (its checksum among others).
    char extra;
    const bool ok = total == zip_int64_t(stat.size) && zip_fread(file, &extra, 1) == 0;
    const QString failure = QString::fromUtf8(zip_file_strerror(file));
    zip_fclose(file);
    if (!ok)
        return Fail(name + QStringLiteral(": ") + failure);
    bytes = data;
    return true;
}

void CZipArchive::Put(const QString& name, const QByteArray& bytes)
{
    m_put.insert(name, bytes);
}

bool CZipArchive::Save(QByteArray& bytes)
{
    if (!m_zip)
        return Fail(QStringLiteral("no archive"));
    for (auto it = m_put.constBegin(); it != m_put.constEnd(); ++it) {
        zip_source_t* data = zip_source_buffer(m_zip, it.value().constData(), zip_uint64_t(it.value().size()), 0);
        if (!data || zip_file_add(m_zip, it.key().toUtf8().constData(), data, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (data)
                zip_source_free(data);
            return Fail(QString::fromUtf8(zip_strerror(m_zip)));
        }
    }
    if (zip_close(m_zip) != 0)
        return Fail(QString::fromUtf8(zip_strerror(m_zip)));
    m_zip = nullptr;
    zip_stat_t stat;
    zip_stat_init(&stat);
    bool ok = zip_source_stat(m_source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && zip_source_open(m_source) == 0;
    if (ok) {
        QByteArray written(qsizetype(stat.size), Qt::Uninitialized);
        ok = zip_source_read(m_source, written.data(), stat.size) == zip_int64_t(stat.size);
        zip_source_close(m_source);
        if (ok)
            bytes = written;
    }
    Close();
    return ok || Fail(QStringLiteral("the written archive cannot be read back"));
}
