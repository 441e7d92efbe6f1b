#include "web/HtmlElementCollection.h"

#include <cstddef>
#include <cstdint>

// Any bytes read as a UTF-8 page: reading and taking every passing element's
// texts must neither crash nor read out of bounds. The first byte picks a
// filter so the filtering paths are fuzzed too.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const char* const kTags[] = {"", "div", "p", "script"};
    const QString page = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    CHtmlElementCollection elements;
    elements.SetFilter(QString::fromLatin1(kTags[data[0] % 4]),
                       data[0] & 4 ? QStringLiteral("class") : QString(),
                       data[0] & 8 ? QStringLiteral("main") : QString());
    elements.SetPageText(page);
    CLiteHTMLReader reader;
    reader.SetEventHandler(&elements);
    reader.Read(page);
    QString text;
    for (int i = 0; i < elements.GetPassingCount(); ++i) {
        elements.GetElementInner(i, text);
        elements.GetElementOuter(i, text);
    }
    return 0;
}
