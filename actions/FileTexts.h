#pragma once

#include <QString>

// The texts and SQL of the actions that move files in and out of records.
namespace FileTexts {

// The record of the selected row, its file name and its file (%1 table,
// %2 column; {{uid}} takes the row's key, which must be a number).
inline const QString SelectRecord = QStringLiteral("SELECT * FROM %1 WHERE uid_0={{uid}}");
inline const QString SelectName = QStringLiteral("SELECT %1 FROM %2 WHERE uid_0={{uid}}");
inline const QString SelectFile = QStringLiteral("SELECT %1 FROM %2 where uid_0={{uid}}");
// The upload log per database kind (%1 table, %2 name column); the name,
// the user's uid and the record's uid are bound.
inline const QString UploadLogSqlServer =
    QStringLiteral("UPDATE %1 SET %2=?,date_up_0=getdate(),up_user_uid_0=? where uid_0=?");
inline const QString UploadLogAccess =
    QStringLiteral("UPDATE %1 SET %2=?,date_up_0=datetime('now','localtime'),up_user_uid_0=? where uid_0=?");
inline const QString UploadLogPostgres =
    QStringLiteral("UPDATE %1 SET %2=?,date_up_0=LOCALTIMESTAMP,up_user_uid_0=? where uid_0=?");

// Upload: the dialog, the limits, the failures, the result.
inline const QString OpenFileTitle = QStringLiteral("打开文件");
inline const QString OpenFileFilter =
    QStringLiteral("All Files(*.*) (*);;PDF Files (*.pdf) (*.pdf);;JPG Files(*.jpg) (*.jpg)");
inline const QString TooLarge2M = QStringLiteral("文件太大，只能上传小于2M的文件");
inline const QString TooLarge = QStringLiteral("文件太大，只能上传小于%1M的文件");
inline const QString UploadFailed = QStringLiteral("上传失败");
inline const QString UploadLogFailed = QStringLiteral("更新上传日志失败");
inline const QString Uploaded = QStringLiteral("上传成功");
// A file that cannot be read (%1 the path, %2 the reason).
inline const QString ReadFailed = QStringLiteral("无法读取文件(%1)：%2");

// Download: the failures shown at once (caption Hint).
inline const QString Hint = QStringLiteral("提示");
inline const QString DownloadFailed = QStringLiteral("下载文件失败");
inline const QString DownloadPicFailed = QStringLiteral("下载图片失败");
inline const QString ShellFailed = QStringLiteral("ShellExecute failed to open this link!");
inline const QString UnknownError = QStringLiteral("未知错误");
// A stored file name that names no file of its own ("", ".", "..", a folder).
inline const QString BadFileName = QStringLiteral("记录中的文件名“%1”不能用作文件名。");
// The file could not be written (%1 the path, %2 the reason).
inline const QString WriteFailed = QStringLiteral("无法写入文件(%1)：%2");

// open_file and show_pic.
inline const QString EmptyFileName = QStringLiteral("文件名为空，不能打开! ");
inline const QString OpenFailed = QStringLiteral("打开文件(%1)出错！\n文件是否存在？\n err:%2 ");

// The folders under the program folder.
inline const QString TempFolder = QStringLiteral("temp");

} // namespace FileTexts
