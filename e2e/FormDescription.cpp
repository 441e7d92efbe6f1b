#include "FormDescription.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

namespace {

QRect RectFromPos(const QString& pos)
{
    const QStringList parts = pos.split(u',');
    if (parts.size() != 4)
        return QRect();
    const int left = parts[0].trimmed().toInt();
    const int top = parts[1].trimmed().toInt();
    return QRect(left, top, parts[2].trimmed().toInt() - left, parts[3].trimmed().toInt() - top);
}

} // namespace

bool E2eFormDescription::Load(int entryUid)
{
    const QDir forms(QStringLiteral(TEMBRA_E2E_DEMO_DIR "/forms"));
    const QStringList files = forms.entryList({QString::number(entryUid) + QStringLiteral("_*.xml")}, QDir::Files);
    if (files.isEmpty()) {
        m_strProblem = QStringLiteral("no form description of entry %1").arg(entryUid);
        return false;
    }
    QFile file(forms.filePath(files.first()));
    if (!file.open(QIODevice::ReadOnly)) {
        m_strProblem = file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    int depthInPopup = 0;
    int table = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (xml.name() == u"popup")
                --depthInPopup;
            if (xml.name() == u"table")
                table = -1;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"popup") {
            ++depthInPopup;
            continue;
        }
        if (depthInPopup > 0)
            continue;
        if (xml.name() == u"head" && m_strTitle.isEmpty()) {
            m_strTitle = attributes.value(QStringLiteral("title")).toString();
            continue;
        }
        if (xml.name() == u"col" && table >= 0) {
            m_columns[table].append(attributes.value(QStringLiteral("width")).toInt());
            continue;
        }
        if (!attributes.hasAttribute(QStringLiteral("pos")) || !attributes.hasAttribute(QStringLiteral("id")))
            continue;
        const int id = attributes.value(QStringLiteral("id")).toInt();
        m_controls.insert(id, RectFromPos(attributes.value(QStringLiteral("pos")).toString()));
        if (xml.name() == u"table")
            table = id;
        if (xml.name() == u"droplist")
            m_choices.insert(id, attributes.value(QStringLiteral("value")).toString().split(u';'));
    }
    if (xml.hasError())
        m_strProblem = xml.errorString();
    return !xml.hasError();
}

QStringList E2eFormDescription::AllTitles()
{
    static const QStringList titles = [] {
        QStringList all;
        const QDir forms(QStringLiteral(TEMBRA_E2E_DEMO_DIR "/forms"));
        for (const QString& file : forms.entryList({QStringLiteral("*.xml")}, QDir::Files)) {
            E2eFormDescription description;
            if (description.Load(file.section(u'_', 0, 0).toInt()))
                all << description.Title();
        }
        return all;
    }();
    return titles;
}
