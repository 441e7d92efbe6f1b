#pragma once

#include <QList>
#include <QString>

#include <utility>

// Qt texts that its Chinese translation leaves out: the kinds of entries
// its file dialog lists.
namespace LanguageText {

inline const char* const FileKindContext = "QAbstractFileIconProvider";
inline const QList<std::pair<QString, QString>> FileKinds = {
    {QStringLiteral("Drive"), QStringLiteral("驱动器")},
    {QStringLiteral("Folder"), QStringLiteral("文件夹")},
    {QStringLiteral("Shortcut"), QStringLiteral("快捷方式")},
    {QStringLiteral("Unknown"), QStringLiteral("未知")},
};

} // namespace LanguageText
