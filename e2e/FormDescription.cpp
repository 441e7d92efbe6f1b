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

bool E2eFormDescription::Load(int entryUid, int popupId)
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
    // The form read lies at this depth of popups: 0 for the form itself, or
    // that of the popup asked for once it is found (-1 before).
    int wantedDepth = popupId == 0 ? 0 : -1;
    int depthInPopup = 0;
    int table = -1;
    bool popupHead = false; // the next head is a popup form's
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (xml.name() == u"popup")
                --depthInPopup;
            if (xml.name() == u"html" && popupId != 0 && depthInPopup == wantedDepth)
                wantedDepth = -2; // the popup asked for is read
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
        if (xml.name() == u"html" && depthInPopup > 0) {
            popupHead = true;
            if (wantedDepth == -1 && attributes.value(QStringLiteral("id")).toInt() == popupId)
                wantedDepth = depthInPopup;
            continue;
        }
        if (xml.name() == u"head" && popupHead) {
            popupHead = false;
            m_popupTitles << attributes.value(QStringLiteral("title")).toString();
        }
        if (depthInPopup != wantedDepth)
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
    else if (popupId != 0 && wantedDepth != -2)
        m_strProblem = QStringLiteral("entry %1 holds no popup %2").arg(entryUid).arg(popupId);
    return m_strProblem.isEmpty();
}

QStringList E2eFormDescription::AllTitles()
{
    static const QStringList titles = [] {
        QStringList all;
        const QDir forms(QStringLiteral(TEMBRA_E2E_DEMO_DIR "/forms"));
        for (const QString& file : forms.entryList({QStringLiteral("*.xml")}, QDir::Files)) {
            E2eFormDescription description;
            if (description.Load(file.section(u'_', 0, 0).toInt()))
                all << description.Title() << description.m_popupTitles;
        }
        return all;
    }();
    return titles;
}
