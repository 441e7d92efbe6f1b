#pragma once

#include <QByteArray>
#include <QString>

// Binds the calling thread by file modes as they bind an ordinary user, for as
// long as the object lives. Tests run as root, whose capabilities override
// file modes, so a read-only folder would not refuse writes; the capabilities
// that do so are dropped from the thread's effective set (capabilities are per
// thread) and given back afterwards.
class BoundByFileModes
{
public:
    BoundByFileModes();
    ~BoundByFileModes();
    BoundByFileModes(const BoundByFileModes&) = delete;
    BoundByFileModes& operator=(const BoundByFileModes&) = delete;

private:
    unsigned m_savedEffective = 0;
    bool m_changed = false;
};

// Makes a folder read-only (0555) for the object's lifetime and writable
// again (0755) afterwards.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QByteArray m_path;
};
