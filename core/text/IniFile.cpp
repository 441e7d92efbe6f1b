#include "text/IniFile.h"

#include "text/Cp936.h"
#include "text/ModuleFolder.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

// The read buffer of the private-profile functions held 512 characters.
constexpr qsizetype maxValueLength = 511;

const QByteArray byteOrderMark("\xFF\xFE", 2);

// Serialises the read-modify-write of WriteIniString within the process.
QMutex fileMutex;

// A file as text cut into lines, and whether it is UTF-16LE (with its
// byte-order mark). The lines view the text, so reading copies no line.
struct IniText
{
    QString text;
    std::vector<QStringView> lines;
    bool unicode = true;
};

// The lines of a file being written. Changed and added lines view texts of
// their own. Lines of a code page 936 file keep their bytes (views of the
// file's bytes), so lines that are not written go back unchanged even where
// they hold bytes the code page lacks.
struct IniLines : IniText
{
    std::deque<QString> ownTexts;   // stays in place as it grows
    std::vector<QByteArrayView> rawLines; // code page 936 files only; null for changed lines
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

// Lines end at LF, a CR before it is dropped; the last line needs no LF.
template <typename View>
std::vector<View> SplitLines(View text)
{
    std::vector<View> lines;
    lines.reserve(static_cast<size_t>(text.count('\n')) + 1);
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype end = text.indexOf('\n', begin);
        if (end < 0)
            end = text.size();
        View line = text.sliced(begin, end - begin);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.push_back(line);
        begin = end + 1;
    }
    return lines;
}

// An empty file becomes a UTF-16LE one when written.
void DecodeText(const QByteArray& bytes, IniText& ini)
{
    ini.unicode = bytes.isEmpty() || bytes.startsWith(byteOrderMark);
    if (bytes.isEmpty())
        return;
    ini.text = ini.unicode ? DecodeUtf16(bytes) : FromCp936(bytes);
    ini.lines = SplitLines(QStringView(ini.text));
}

// The raw lines view the bytes, which must outlive the result.
void DecodeLines(const QByteArray& bytes, IniLines& ini)
{
    DecodeText(bytes, ini);
    if (ini.unicode)
        return;
    // A code page 936 file is converted in one piece: no byte of a line
    // break is part of a multi-byte character, and a broken one is replaced
    // before the break, so the lines match the raw ones. Should they not,
    // the lists are evened out so that no raw line is dropped.
    ini.rawLines = SplitLines(QByteArrayView(bytes));
    const size_t count = std::max(ini.lines.size(), ini.rawLines.size());
    ini.lines.resize(count);
    ini.rawLines.resize(count);
}

QByteArray EncodeLines(const IniLines& ini)
{
    QByteArray bytes;
    if (!ini.unicode) {
        for (size_t i = 0; i < ini.lines.size(); ++i) {
            const QByteArrayView raw = ini.rawLines[i];
            bytes += raw.isNull() ? ToCp936(ini.lines[i].toString()) : raw.toByteArray();
            bytes += "\r\n";
        }
        return bytes;
    }
    qsizetype units = 0;
    for (const QStringView line : ini.lines)
        units += line.size() + 2;
    bytes.reserve(2 + 2 * units);
    bytes += byteOrderMark;
    const auto append = [&bytes](QChar c) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    };
    for (const QStringView line : ini.lines) {
        for (const QChar c : line)
            append(c);
        append(u'\r');
        append(u'\n');
    }
    return bytes;
}

// Changes or adds a line, keeping the raw bytes of the others in step.
void SetLine(IniLines& ini, qsizetype index, const QString& text)
{
    ini.ownTexts.push_back(text);
    ini.lines[index] = ini.ownTexts.back();
    if (!ini.unicode)
        ini.rawLines[index] = QByteArrayView();
}

void InsertLine(IniLines& ini, qsizetype index, const QString& text)
{
    ini.ownTexts.push_back(text);
    ini.lines.insert(ini.lines.begin() + index, ini.ownTexts.back());
    if (!ini.unicode)
        ini.rawLines.insert(ini.rawLines.begin() + index, QByteArrayView());
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

KeyPlace FindKey(const std::vector<QStringView>& lines, const QString& section, const QString& key)
{
    KeyPlace place;
    bool inSection = false;
    bool inFirstSection = false;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const QStringView line = lines[i];
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
    IniText ini;
    DecodeText(fileBytes, ini);
    const KeyPlace place = FindKey(ini.lines, section, key);
    if (place.entryLine < 0)
        return QString();
    QStringView entryKey, value;
    EntryOf(ini.lines[place.entryLine], &entryKey, &value);
    // The value was read as a C string.
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    if (nul >= 0)
        value = value.left(nul);
    return value.left(maxValueLength).toString();
}

QByteArray WriteIniValue(const QByteArray& fileBytes, const QString& section, const QString& key,
                         const QString& value)
{
    IniLines ini;
    DecodeLines(fileBytes, ini);
    const KeyPlace place = FindKey(ini.lines, section, key);
    if (place.entryLine >= 0) {
        // Keep the key as spelt in the file.
        const QStringView line = ini.lines[place.entryLine];
        SetLine(ini, place.entryLine, line.left(line.indexOf(u'=')).toString() + u'=' + value);
    } else if (place.sectionEnd >= 0) {
        InsertLine(ini, place.sectionEnd + 1, key + u'=' + value);
    } else {
        InsertLine(ini, qsizetype(ini.lines.size()), u'[' + section + u']');
        InsertLine(ini, qsizetype(ini.lines.size()), key + u'=' + value);
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
