// Grid sorting over hostile texts: every kind, both directions, must keep
// every row exactly once; the kinds that order consistently must leave
// their rows in order.
#include "grid/GridSort.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>
#include <numeric>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList texts =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
    const auto textOf = [&](int row) -> const QString& { return texts[row]; };
    const int rows = int(texts.size());
    for (int kind = 0; kind <= 8; ++kind) {
        for (bool ascending : {true, false}) {
            std::vector<int> order = SortedRowOrder(rows, textOf, kind, ascending);
            if (kind != 4 && kind != 6) {
                for (size_t i = 1; i < order.size(); ++i) {
                    const int answer = CompareGridTexts(kind, texts[order[i - 1]], texts[order[i]]);
                    if ((ascending ? answer : -answer) > 0)
                        std::abort();
                }
            }
            std::sort(order.begin(), order.end());
            for (int row = 0; row < rows; ++row)
                if (order[size_t(row)] != row)
                    std::abort();
        }
    }
    return 0;
}
