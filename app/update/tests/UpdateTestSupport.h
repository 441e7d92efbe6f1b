#pragma once

#include "TempFolder.h"
#include "UpdateInstallation.h"
#include "UpdateSeams.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStringList>

// Records what the update stages ask of the program around them.
class RecordingSeams : public UpdateSeams
{
public:
    explicit RecordingSeams(const QString& programFolder = QString());

    int StartUpdater(const QString& programFolder, const QString& updaterSwitch) override;
    void ShowMessage(const QString& text) override { messages.append(text); }
    bool AskYesNo(const QString& text, const QString& caption) override;
    // Removes the folder for real, as the program does.
    void RemoveUpdateFolder() override;
    void NoteServiceHost(const QString& host) override { notedHosts.append(host); }
    void NoteUpdating() override { ++updatingNotes; }

    QList<QPair<QString, QString>> started;
    QStringList messages;
    QStringList questions;
    bool answer = true;
    int updateFolderRemovals = 0;
    QStringList notedHosts;
    int updatingNotes = 0;

private:
    QString m_strProgramFolder;
};

// Programs as the stages check them: ELF files, told apart by a mark at the end.
QByteArray ProgramBytes(const QByteArray& mark);

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// A program folder with a running program "tembra" of version 3.7.7.1 and `up`.
struct ProgramFolder
{
    ProgramFolder();

    TempFolder temp;
    UpdateInstallation installation;
    QByteArray runningBytes = ProgramBytes("running");
    QByteArray updaterBytes = ProgramBytes("old up");
};
