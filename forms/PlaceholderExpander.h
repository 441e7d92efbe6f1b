#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// The values of the form-level tokens: what the form, its action object and
// the application hold at the time of the expansion.
struct PlaceholderValues
{
    std::optional<QString> index2; // text of the browse box that opened a picker
    QString type;
    QString input;       // the form's input text
    QString selectedUid; // the action object's selected uid text
    QString listedUids;  // uids of the rows now listed, each followed by ","
    bool topRows = false;
    QString company;
    QString userUid;
    QString userId;
    QString userName;
    QString dbPath;
    QString version;
    QString exeName;
    QString globals[10];

    // The application's part (user, installation, global slots) filled in.
    static PlaceholderValues WithApplication();
};

// Replaces the form-level tokens ({{index}}, {{username}}, {{today:year}},
// {{A0}}.. and the others) in a template, one token after the other over the
// text the ones before produced, so a value holding a later token is
// expanded too. Other tokens stay as they are.
class CPlaceholderExpander
{
public:
    explicit CPlaceholderExpander(PlaceholderValues values);

    // A text to show: every value as it stands.
    QString ExpandText(const QString& text) const;

    // A SQL template. A value that users or the database gave (user names,
    // input texts, uids, global slots) is escaped when it lands inside a
    // '...' literal; outside one (uids, indexes) it must be integers joined
    // by ",", otherwise nothing comes back but false and the reason, so no
    // SQL runs with it.
    bool ExpandSql(const QString& sql, QString& expanded, QString& error) const;

    // The tokens the text holds, each with its value, for a caller that puts
    // them in its own way (a command line quotes each for the shell).
    QList<QPair<QString, QString>> TokenValues(const QString& text) const;

private:
    bool Expand(QString& text, bool sql, QString& error) const;

    PlaceholderValues m_values;
};
