// Arbitrary bytes as a form description: parsing, the head and the lookups
// of the form window must neither crash nor hang.
#include "FormDescription.h"
#include "FormHead.h"
#include "text/MessageSink.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const MessageSink quiet = [] {
        SetMessageSink([](const QString&) {});
        return MessageSink();
    }();
    (void)quiet;

    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CFormDescription doc;
    QString error;
    if (!doc.LoadForm(text, error))
        return 0;

    const CFormHead head = CFormHead::Read(doc.GetHead());
    RectLTRB pos;
    if (head.ReadPos(pos))
        CentredFormRect(pos, QSize(1920, 1040));
    head.ScrollSizes();
    for (int key = 1; key <= 24; ++key)
        doc.FindHotKeyValue(key);

    const CXmlNode root = doc.GetRoot();
    const QString rootId = root.GetAttribute(QStringLiteral("id"));
    doc.FindEventAction(rootId, QStringLiteral("button"), 1, QStringLiteral("CLICK"));
    CFormDescription::FindPopupForm(root.GetChild(QStringLiteral("body")), rootId);
    const CXmlNodes init = CXmlNode(doc.GetInitAction()).GetChildren();
    for (int i = 0; i < init.GetCount(); ++i)
        CXmlNode(init[i]).GetXml();
    CXmlNode inId = CXmlNode(doc.GetHead()).GetChild(QStringLiteral("in_id"));
    inId.GetTextInt(0);
    root.GetXml();
    return 0;
}
