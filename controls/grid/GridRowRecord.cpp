#include "grid/GridRowRecord.h"

CGridRowRecord::~CGridRowRecord()
{
    delete Made();
}

ItemData& CGridRowRecord::Own()
{
    if (m_bits & kShared) {
        const ItemData& shared = Read();
        auto* own = new ItemData;
        own->clrBack = shared.clrBack;
        own->clrText = shared.clrText;
        m_bits = reinterpret_cast<std::uintptr_t>(own);
    }
    return *Pointer();
}
