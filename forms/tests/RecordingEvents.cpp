#include "RecordingEvents.h"

#include "D_T1.h"

void RecordingEvents::OnFormOpen(D_T1&)
{
    ++m_record.opens;
}

void RecordingEvents::FireEvent(D_T1& form, int windowId, const QString& event)
{
    m_record.fired.append({event, windowId});
    if (m_record.onFire)
        m_record.onFire(form, windowId, event);
}

bool RecordingEvents::RunEventActions(D_T1&, int windowId, const QString& event)
{
    m_record.fired.append({event, windowId});
    return true;
}

bool RecordingEvents::HasEventAction(D_T1&, int windowId, const QString& event)
{
    return event == FormEvent::Enter && m_record.enterIds.contains(windowId);
}

int RecordingEvents::GetChangeTriggerLength(D_T1&, int windowId, const QString&)
{
    return m_record.changeLength.value(windowId, -1);
}

bool RecordingEvents::FireEndEdit(D_T1&, int listWindowId, int row, int column)
{
    m_record.endEdits.append({listWindowId, row, column});
    return true;
}

std::unique_ptr<IFormEvents> RecordingEvents::NewForForm() const
{
    return std::make_unique<RecordingEvents>(m_record);
}
