#include "grid/ListCtrlEx.h"

#include "TempFolder.h"
#include "text/AppState.h"
#include "text/IniFile.h"
#include "text/ModuleFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyleOption>
#include <QTest>

#include <memory>

namespace
{
// A grid of menu 5, table 3, for user 17, with three columns; cfg.ini in a
// folder of its own.
class GridColumns : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetModuleFolderOverride(folder.path());
        theApp().m_strUserUid = u"17"_qs;
        grid = MakeGrid();
    }

    void TearDown() override
    {
        grid.reset();
        SetModuleFolderOverride(QString());
        theApp().m_strUserUid.clear();
    }

    std::unique_ptr<CListCtrlEx> MakeGrid()
    {
        auto made = std::make_unique<CListCtrlEx>();
        made->SetSaveIds(5, 3);
        for (int column = 0; column < 3; ++column) {
            const int saved = made->ReadColumnWidth(column);
            made->InsertColumn(column, QStringLiteral("列%1").arg(column + 1), 0, saved > 0 ? saved : 80);
        }
        const char16_t* amounts[] = {u"30", u"1,200.50", u"999", u"5"};
        for (int row = 0; row < 4; ++row) {
            made->InsertRow(row, QString::number(row));
            made->SetItemText(row, 1, QString::fromUtf16(amounts[row]));
            made->SetItemText(row, 2, QStringLiteral("2024-01-%1").arg(10 - row));
        }
        made->resize(400, 200);
        made->show();
        QCoreApplication::processEvents();
        return made;
    }

    void ClickHeader(int column)
    {
        QHeaderView* header = grid->horizontalHeader();
        const QPoint point(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
        QCoreApplication::processEvents();
    }

    // Drags the right border of a column by dx pixels.
    void DragBorder(int column, int dx)
    {
        QHeaderView* header = grid->horizontalHeader();
        QWidget* viewport = header->viewport();
        const QPoint start(header->sectionViewportPosition(column) + header->sectionSize(column) - 1, header->height() / 2);
        QTest::mousePress(viewport, Qt::LeftButton, {}, start);
        for (int step = 1; step <= 4; ++step) {
            const QPointF point(start.x() + dx * step / 4, start.y());
            QMouseEvent move(QEvent::MouseMove, point, viewport->mapToGlobal(point), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(viewport, &move);
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, start + QPoint(dx, 0));
        QCoreApplication::processEvents();
    }

    // The arrow the header draws, as its paint code chooses it from the order.
    QStyleOptionHeader::SortIndicator Arrow() const
    {
        return grid->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                                                    : QStyleOptionHeader::SortUp;
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            texts.append(grid->GetItemText(row, column));
        return texts;
    }

    QString SavedWidth(int columnNumber) const
    {
        return ReadIniString(u"cfg.ini"_qs, u"TABLECOLS"_qs, CListCtrlEx::ColumnWidthKey(5, 3, columnNumber, u"17"_qs));
    }

    TempFolder folder;
    std::unique_ptr<CListCtrlEx> grid;
};

TEST_F(GridColumns, HeaderClicksSortAndMoveTheArrow)
{
    grid->SetColumnSort(1, kSortToggles, 2);
    grid->SetColumnSort(2, kSortToggles, 7);
    QHeaderView* header = grid->horizontalHeader();

    ClickHeader(1);
    EXPECT_EQ(Column(1), (QStringList{u"5"_qs, u"30"_qs, u"999"_qs, u"1,200.50"_qs}));
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(Arrow(), QStyleOptionHeader::SortUp);
    ClickHeader(1);
    EXPECT_EQ(Column(1), (QStringList{u"1,200.50"_qs, u"999"_qs, u"30"_qs, u"5"_qs}));
    EXPECT_EQ(Arrow(), QStyleOptionHeader::SortDown);

    // A column without sort settings sorts nothing and leaves the arrow.
    ClickHeader(0);
    EXPECT_EQ(Column(1), (QStringList{u"1,200.50"_qs, u"999"_qs, u"30"_qs, u"5"_qs}));
    EXPECT_EQ(header->sortIndicatorSection(), 1);
    EXPECT_EQ(Arrow(), QStyleOptionHeader::SortDown);

    ClickHeader(2);
    EXPECT_EQ(Column(2).first(), u"2024-01-7"_qs);
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(grid->GetSortColumn(), 2);
}

TEST_F(GridColumns, SortSettingsNeedAColumnAndADirectionBit)
{
    grid->SetColumnSort(7, kSortToggles, 2);
    grid->SetColumnSort(1, 8, 2);
    EXPECT_EQ(grid->GetColumnInfo(7), nullptr);
    EXPECT_FALSE(grid->SortByColumn(1, true));
    // A fixed direction does not toggle.
    grid->SetColumnSort(1, kSortDescending, 2);
    ASSERT_TRUE(grid->SortByColumn(1, true));
    ASSERT_TRUE(grid->SortByColumn(1, true));
    EXPECT_EQ(Column(1).first(), u"1,200.50"_qs);
}

TEST_F(GridColumns, ADraggedWidthIsSavedUnderTheGridsKeyAndReadBack)
{
    const int before = grid->GetColumnWidth(1);
    DragBorder(1, 40);
    const int after = grid->GetColumnWidth(1);
    EXPECT_EQ(after, before + 40);
    EXPECT_EQ(ReadIniString(u"cfg.ini"_qs, u"TABLECOLS"_qs, u"T5_3_2_17"_qs), QString::number(after));
    EXPECT_TRUE(SavedWidth(1).isEmpty());

    grid = MakeGrid();
    EXPECT_EQ(grid->GetColumnWidth(1), after);
    EXPECT_EQ(grid->GetColumnWidth(0), 80);
}

TEST_F(GridColumns, LockedColumnsNeitherResizeNorSortAndWriteNothing)
{
    grid->SetColumnSort(1, kSortToggles, 2);
    grid->SetColumnSort(2, kSortToggles, 7);
    grid->SetLockedColumns(u",2,"_qs);
    EXPECT_TRUE(grid->IsColumnLocked(1));
    EXPECT_FALSE(grid->IsColumnLocked(0));
    const QStringList amounts = Column(1);
    ClickHeader(1);
    EXPECT_EQ(Column(1), amounts);
    EXPECT_EQ(grid->GetSortColumn(), -1);
    DragBorder(1, 40);
    EXPECT_EQ(grid->GetColumnWidth(1), 80);

    // Locking as the form action does it: hidden at width 0, nothing saved.
    grid->SetLockedColumns(u",2,,3,"_qs);
    grid->SetColumnWidth(2, 0);
    EXPECT_EQ(grid->GetColumnWidth(2), 0);
    EXPECT_TRUE(SavedWidth(3).isEmpty());
    EXPECT_FALSE(QFile::exists(folder.file(u"cfg.ini"_qs)));
}

TEST_F(GridColumns, WidthsOfAGridWithoutMenuUidAreNotSaved)
{
    grid->SetSaveIds(0, 3);
    DragBorder(0, 30);
    EXPECT_EQ(grid->GetColumnWidth(0), 110);
    EXPECT_FALSE(QFile::exists(folder.file(u"cfg.ini"_qs)));
}
} // namespace
