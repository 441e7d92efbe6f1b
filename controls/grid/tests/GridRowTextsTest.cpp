#include "grid/GridRowTexts.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QString>

#include <memory>
#include <vector>

namespace
{
using Texts = std::vector<QString>;

Texts Read(const CGridRowTexts& row, size_t columns)
{
    Texts texts;
    for (size_t column = 0; column < columns; ++column)
        texts.push_back(row.Text(column, columns));
    return texts;
}

// A random text of 0 to 12 characters, some of them outside Latin-1.
QString RandomText(QRandomGenerator& random)
{
    QString text;
    const int length = random.bounded(13);
    for (int i = 0; i < length; ++i)
        text.append(random.bounded(4) == 0 ? QChar(u'张' + random.bounded(50)) : QChar(u'a' + random.bounded(26)));
    return text;
}

// Every way the texts of a row change, in random order against a plain list
// of strings: texts grow, shrink, keep their length and become empty, in the
// first, middle and last column, and columns come and go, down to none.
// Texts handed out meanwhile keep what they held, stay terminated, and
// change nothing in the row when their holder changes them.
TEST(GridRowTextsTest, FollowsAPlainListOfStringsThroughEveryChange)
{
    QRandomGenerator random(20261211);
    for (int run = 0; run < 50; ++run) {
        auto row = std::make_unique<CGridRowTexts>();
        Texts expected(size_t(random.bounded(1, 6)));
        std::vector<std::pair<QString, QString>> handedOut; // the text, a deep copy of it
        for (int step = 0; step < 200; ++step) {
            const size_t columns = expected.size();
            const int action = random.bounded(12);
            const size_t column = size_t(random.bounded(int(columns) + 1));
            if (action == 0) {
                row->InsertColumn(column, columns);
                expected.insert(expected.begin() + ptrdiff_t(column), QString());
            } else if (action == 1 && column < columns) {
                row->RemoveColumn(column, columns);
                expected.erase(expected.begin() + ptrdiff_t(column));
            } else if (action == 2 && column < columns) {
                const QString text = row->Text(column, columns);
                handedOut.emplace_back(text, QString(text.constData(), text.size()));
            } else if (action == 3 && !handedOut.empty()) {
                handedOut.back().first.append(u'+');
                handedOut.back().second.append(u'+');
            } else if (column < columns) {
                const QString text = action == 4 ? QString() : RandomText(random);
                row->SetText(column, columns, text);
                expected[column] = text;
            }
            ASSERT_EQ(Read(*row, expected.size()), expected) << "run " << run << ", step " << step;
            for (const auto& [text, copy] : handedOut) {
                ASSERT_EQ(text, copy) << "run " << run << ", step " << step;
                ASSERT_EQ(text.utf16()[text.size()], 0) << "run " << run << ", step " << step;
            }
        }
        // The texts outlive their row.
        row.reset();
        for (auto& [text, copy] : handedOut) {
            text.append(u"end");
            EXPECT_EQ(text, copy + u"end"_qs);
        }
    }
}

// Past 65,535 characters the row's offsets take four bytes each, and two
// again below.
TEST(GridRowTextsTest, KeepsEveryTextAcrossTheWidthOfItsOffsets)
{
    const QString longText(70000, u'长');
    const QString almost(65535 - 3, u'x');
    CGridRowTexts row;
    Texts expected{u"ab"_qs, QString(), u"c"_qs};
    row.SetText(0, 3, expected[0]);
    row.SetText(2, 3, expected[2]);
    const std::pair<size_t, QString> steps[] = {
        {1, longText}, {0, u"abcd"_qs}, {1, almost}, {0, u"a"_qs}, {2, u"cd"_qs}, {1, longText}, {1, QString()},
    };
    for (const auto& [column, text] : steps) {
        row.SetText(column, 3, text);
        expected[column] = text;
        ASSERT_EQ(Read(row, 3), expected) << column << " " << text.size();
    }
    row.SetText(1, 3, longText);
    row.InsertColumn(0, 3);
    EXPECT_EQ(Read(row, 4), (Texts{QString(), u"a"_qs, longText, u"cd"_qs}));
    row.RemoveColumn(2, 4);
    EXPECT_EQ(Read(row, 3), (Texts{QString(), u"a"_qs, u"cd"_qs}));
}

TEST(GridRowTextsTest, TakesATextFromItsOwnColumns)
{
    CGridRowTexts row;
    row.SetText(0, 3, u"first");
    row.SetText(1, 3, u"second text");
    row.SetText(2, 3, u"x");
    row.SetText(2, 3, row.View(1, 3)); // longer: the buffer grows under the view
    row.SetText(0, 3, row.View(0, 3).mid(1, 3));
    row.SetText(1, 3, row.View(0, 3));
    EXPECT_EQ(Read(row, 3), (Texts{u"irs"_qs, u"irs"_qs, u"second text"_qs}));
}

TEST(GridRowTextsTest, ColumnsOutsideTheRowAreEmptyAndLeftAlone)
{
    CGridRowTexts row;
    row.SetText(0, 2, u"a");
    row.SetText(2, 2, u"outside");
    row.RemoveColumn(5, 2);
    EXPECT_TRUE(row.View(2, 2).isEmpty());
    EXPECT_EQ(Read(row, 2), (Texts{u"a"_qs, QString()}));
    // Moved away, a row is empty and can be filled again.
    CGridRowTexts other(std::move(row));
    EXPECT_EQ(Read(other, 2), (Texts{u"a"_qs, QString()}));
    EXPECT_EQ(Read(row, 2), (Texts{QString(), QString()}));
    row.SetText(1, 2, u"b");
    EXPECT_EQ(Read(row, 2), (Texts{QString(), u"b"_qs}));
}
} // namespace
