#include "text/IniFile.h"

#include "text/Cp936.h"
#include "text/ModuleFolder.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStringList>

namespace {

// The read buffer of the private-profile functions held 512 characters.
constexpr qsizetype maxValueLength = 511;

const QByteArray byteOrderMark("\xFF\xFE", 2);
const QString lineBreak = QStringLiteral("\r\n");

// Serialises the read-modify-write of WriteIniString within the process.
QMutex fileMutex;

// The lines of a file and whether it is UTF-16LE (with its byte-order mark).
// Lines of a code page 936 file keep their bytes, so lines that are not
// written go back unchanged even where they hold bytes the code page lacks.
struct IniLines
{
    QStringList lines;
    QList<QByteArray> rawLines; // code page 936 files only; null for changed lines
    bool unicode = true;
};

QString DecodeUtf16(const QByteArray& bytes)
{
    // Code units are taken one by one, so nothing is altered on rewrite; an
    // odd last byte is half a unit and is dropped.
    const qsizetype units = (bytes.size() - 2) / 2;
    QString text(units, Qt::Uninitialized);
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData()) + 2;
    for (qsizetype i = 0; i < units; ++i)
        text[i] = QChar(static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8));
    return text;
}

template <typename Text>
QList<Text> SplitLines(const Text& text)
{
    QList<Text> lines = text.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (Text& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// The lines of a file as text, and whether it is UTF-16LE (an empty file
// becomes one when written).
QStringList TextLines(const QByteArray& bytes, bool& unicode)
{
    unicode = bytes.isEmpty() || bytes.startsWith(byteOrderMark);
    if (bytes.isEmpty())
        return QStringList();
    const QString text = unicode ? DecodeUtf16(bytes) : FromCp936(bytes);
    return text.isEmpty() ? QStringList() : SplitLines(text);
}

IniLines DecodeLines(const QByteArray& bytes)
{
    IniLines ini;
    ini.lines = TextLines(bytes, ini.unicode);
    if (ini.unicode)
        return ini;
    // A code page 936 file is converted in one piece: no byte of a line
    // break is part of a multi-byte character, and a broken one is replaced
    // before the break, so the lines match the raw ones. Should they not,
    // the lists are evened out so that no raw line is dropped.
    ini.rawLines = SplitLines(bytes);
    const qsizetype count = qMax(ini.lines.size(), ini.rawLines.size());
    ini.lines.resize(count);
    ini.rawLines.resize(count);
    return ini;
}

QByteArray EncodeLines(const IniLines& ini)
{
    if (!ini.unicode) {
        QByteArray bytes;
        for (qsizetype i = 0; i < ini.lines.size(); ++i) {
            const QByteArray& raw = ini.rawLines[i];
            bytes += (raw.isNull() ? ToCp936(ini.lines[i]) : raw) + "\r\n";
        }
        return bytes;
    }
    QString text;
    for (const QString& line : ini.lines)
        text += line + lineBreak;
    QByteArray bytes = byteOrderMark;
    bytes.reserve(2 + 2 * text.size());
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

// Changes or adds a line, keeping the raw bytes of the others in step.
void SetLine(IniLines& ini, qsizetype index, const QString& text)
{
    ini.lines[index] = text;
    if (!ini.unicode)
        ini.rawLines[index] = QByteArray();
}

void InsertLine(IniLines& ini, qsizetype index, const QString& text)
{
    ini.lines.insert(index, text);
    if (!ini.unicode)
        ini.rawLines.insert(index, QByteArray());
}

bool SameName(QStringView a, QStringView b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The name of a "[name]" line; false for any other line.
bool SectionOf(QStringView line, QStringView* name)
{
    const QStringView trimmed = line.trimmed();
    if (!trimmed.startsWith(u'['))
        return false;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return false;
    *name = trimmed.mid(1, close - 1).trimmed();
    return true;
}

// The key and value of a "key=value" line; false for comments and lines
// without "=".
bool EntryOf(QStringView line, QStringView* key, QStringView* value)
{
    const QStringView trimmed = line.trimmed();
    if (trimmed.startsWith(u';'))
        return false;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals < 0)
        return false;
    *key = trimmed.left(equals).trimmed();
    *value = trimmed.mid(equals + 1).trimmed();
    return true;
}

// Where a key is, or would go, among the lines of a file.
struct KeyPlace
{
    qsizetype entryLine = -1;  // the key's line (the first one, as a read finds it)
    qsizetype sectionEnd = -1; // last non-blank line of the first matching section
};

KeyPlace FindKey(const QStringList& lines, const QString& section, const QString& key)
{
    KeyPlace place;
    bool inSection = false;
    bool inFirstSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        QStringView name, entryKey, value;
        if (SectionOf(line, &name)) {
            inSection = SameName(name, section);
            inFirstSection = inSection && place.sectionEnd < 0;
            if (inFirstSection)
                place.sectionEnd = i;
            continue;
        }
        if (inFirstSection && !line.trimmed().isEmpty())
            place.sectionEnd = i;
        if (inSection && EntryOf(line, &entryKey, &value) && SameName(entryKey, key)) {
            place.entryLine = i;
            return place;
        }
    }
    return place;
}

QString ProfilePath(const QString& file)
{
    return GetModuleFolder() + file;
}

} // namespace

QString ReadIniValue(const QByteArray& fileBytes, const QString& section, const QString& key)
{
    bool unicode;
    const QStringList lines = TextLines(fileBytes, unicode);
    const KeyPlace place = FindKey(lines, section, key);
    if (place.entryLine < 0)
        return QString();
    QStringView entryKey, value;
    EntryOf(lines[place.entryLine], &entryKey, &value);
    // The value was read as a C string.
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    if (nul >= 0)
        value = value.left(nul);
    return value.left(maxValueLength).toString();
}

QByteArray WriteIniValue(const QByteArray& fileBytes, const QString& section, const QString& key,
                         const QString& value)
{
    IniLines ini = DecodeLines(fileBytes);
    const KeyPlace place = FindKey(ini.lines, section, key);
    if (place.entryLine >= 0) {
        // Keep the key as spelt in the file.
        const QString& line = ini.lines[place.entryLine];
        SetLine(ini, place.entryLine, line.left(line.indexOf(u'=')) + u'=' + value);
    } else if (place.sectionEnd >= 0) {
        InsertLine(ini, place.sectionEnd + 1, key + u'=' + value);
    } else {
        InsertLine(ini, ini.lines.size(), u'[' + section + u']');
        InsertLine(ini, ini.lines.size(), key + u'=' + value);
    }
    return EncodeLines(ini);
}

QString ReadIniString(const QString& file, const QString& section, const QString& key)
{
    QFile profile(ProfilePath(file));
    if (!profile.open(QIODevice::ReadOnly))
        return QString();
    return ReadIniValue(profile.readAll(), section, key);
}

bool WriteIniString(const QString& file, const QString& section, const QString& key,
                    const QString& value)
{
    QMutexLocker lock(&fileMutex);
    const QString path = ProfilePath(file);
    QByteArray bytes;
    if (QFile::exists(path)) {
        QFile profile(path);
        // A file that cannot be read is not replaced: its keys would be lost.
        if (!profile.open(QIODevice::ReadOnly))
            return false;
        bytes = profile.readAll();
        if (bytes.isEmpty() && profile.error() != QFileDevice::NoError)
            return false;
    }
    QSaveFile out(path);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(WriteIniValue(bytes, section, key, value));
    return out.commit();
}
