#pragma once

#include "FormEvents.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QString>

#include <functional>

// Stands in for the event machinery: records every (event, window id) the
// form hands over and answers the form's questions from its settings.
struct RecordedEvents
{
    QList<QPair<QString, int>> fired;
    int opens = 0;
    QSet<int> enterIds;          // controls that have an ENTER action
    QMap<int, int> changeLength; // ACTION/@id of EN_CHANGE per control
    QList<QList<int>> endEdits;  // (window id, row, column) of every cell edit
    std::function<void(D_T1&, int, const QString&)> onFire;
};

class RecordingEvents : public IFormEvents
{
public:
    explicit RecordingEvents(RecordedEvents& record) : m_record(record) {}

    void OnFormOpen(D_T1& form) override;
    void FireEvent(D_T1& form, int windowId, const QString& event) override;
    bool RunEventActions(D_T1& form, int windowId, const QString& event) override;
    bool HasEventAction(D_T1& form, int windowId, const QString& event) override;
    int GetChangeTriggerLength(D_T1& form, int windowId, const QString& event) override;
    bool FireEndEdit(D_T1& form, int listWindowId, int row, int column) override;
    std::unique_ptr<IFormEvents> NewForForm() const override;

private:
    RecordedEvents& m_record;
};
