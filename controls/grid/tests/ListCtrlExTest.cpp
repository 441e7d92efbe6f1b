#include "grid/EditorText.h"
#include "grid/GridModel.h"
#include "grid/ListCtrlEx.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace
{
// A form with a grid of three columns (0 and 2 edited by line edits, 1 by a
// combo box), four rows with keys, and a button to click elsewhere.
class GridForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(form.get());
        grid = new CListCtrlEx(form.get());
        other = new QLineEdit(form.get());
        layout->addWidget(grid);
        layout->addWidget(other);
        edit0 = new QLineEdit(form.get());
        edit2 = new QLineEdit(form.get());
        combo = new QComboBox(form.get());
        combo->addItems({u"甲"_qs, u"乙"_qs, u"丙"_qs});
        for (QWidget* editor : {static_cast<QWidget*>(edit0), static_cast<QWidget*>(edit2), static_cast<QWidget*>(combo)})
            editor->hide();
        grid->InsertColumn(0, u"名称"_qs, 0, 120);
        grid->InsertColumn(1, u"类别"_qs, 0, 80);
        grid->InsertColumn(2, u"金额"_qs, 1, 90);
        grid->SetColumnEditor(0, nullptr, nullptr, edit0);
        grid->SetColumnEditor(1, nullptr, nullptr, combo);
        grid->SetColumnEditor(2, nullptr, nullptr, edit2);
        const char16_t* rows[][3] = {{u"a", u"甲", u"30"}, {u"b", u"乙", u"1,200.50"}, {u"c", u"丙", u"999"},
                                     {u"d", u"甲", u"5"}};
        for (int r = 0; r < 4; ++r) {
            grid->InsertRow(r, QString::fromUtf16(rows[r][0]));
            grid->SetItemText(r, 1, QString::fromUtf16(rows[r][1]));
            grid->SetItemText(r, 2, QString::fromUtf16(rows[r][2]));
            grid->SetRowData(r, nullptr, QString::number(17 + r), kRowUnchanged);
        }
        form->resize(400, 300);
        form->show();
        QApplication::setActiveWindow(form.get());
        QCoreApplication::processEvents();
    }

    QPoint CellCenter(int row, int column) const
    {
        return grid->visualRect(grid->GetModel()->index(row, column)).center();
    }

    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, CellCenter(row, column));
        QCoreApplication::processEvents();
    }

    void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(target, Qt::Key(key), modifiers);
        QCoreApplication::processEvents();
    }

    QWidget* Focused() const { return QApplication::focusWidget(); }

    std::unique_ptr<QWidget> form;
    CListCtrlEx* grid = nullptr;
    QLineEdit* other = nullptr;
    QLineEdit* edit0 = nullptr;
    QLineEdit* edit2 = nullptr;
    QComboBox* combo = nullptr;
};

QColor Background(CListCtrlEx* grid, int row, int column)
{
    return grid->GetModel()->index(row, column).data(Qt::BackgroundRole).value<QColor>();
}

QColor Foreground(CListCtrlEx* grid, int row, int column)
{
    return grid->GetModel()->index(row, column).data(Qt::ForegroundRole).value<QColor>();
}

TEST_F(GridForm, RowsCarryKeysStatesAndZebraColours)
{
    ASSERT_EQ(grid->GetItemCount(), 4);
    EXPECT_EQ(grid->GetRowKey(3)->strKey, u"20"_qs);
    EXPECT_EQ(Background(grid, 0, 0), QColor(255, 255, 255));
    EXPECT_EQ(Background(grid, 1, 0), QColor(220, 230, 240));
    grid->SetRowColors(1, 0x0000FF, 0xFF0000);
    EXPECT_EQ(Background(grid, 1, 2), QColor(255, 0, 0));
    EXPECT_EQ(Foreground(grid, 1, 2), QColor(0, 0, 255));
    // A level that sets only a text colour shows it on the grid's default background.
    grid->SetRowColors(2, CLR_UNSET, CLR_UNSET);
    grid->SetCellColors(2, 1, CLR_UNSET, 0x00FF00);
    grid->SetColumnColors(1, 0x123456, 0);
    grid->SetColumnColors(2, 0x123456, 0);
    EXPECT_EQ(Background(grid, 2, 1), ColorFromRef(grid->GetModel()->DefaultBack()));
    EXPECT_EQ(Foreground(grid, 2, 1), QColor(0, 255, 0));
    EXPECT_EQ(Background(grid, 2, 2), QColor(0x56, 0x34, 0x12)); // no cell or row colours: the column's
    EXPECT_EQ(Background(grid, 3, 2), QColor(220, 230, 240));   // row colours come before the column's
    // Slots outside the table are ignored.
    grid->SetCellColors(-1, 0, 1, 1);
    grid->SetCellColors(0, 3, 1, 1);
    grid->SetRowColors(4, 1, 1);
    EXPECT_FALSE(grid->SetCellData(0, -1, this));
    EXPECT_EQ(grid->GetRowKey(4), nullptr);

    grid->DeleteRow(1);
    EXPECT_EQ(grid->GetItemCount(), 3);
    EXPECT_EQ(grid->GetRowKey(1)->strKey, u"19"_qs);
    EXPECT_TRUE(grid->Reset());
    EXPECT_EQ(grid->GetItemCount(), 0);
    EXPECT_EQ(grid->GetColumnCount(), 0);
}

TEST_F(GridForm, ClickEditsTheCellAndAClickElsewhereCommits)
{
    ClickCell(1, 0);
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_TRUE(edit0->isVisible());
    EXPECT_EQ(edit0->text(), u"b"_qs);
    EXPECT_TRUE(grid->visualRect(grid->GetModel()->index(1, 0)).contains(edit0->geometry().center()));
    edit0->setText(u"bee"_qs);
    QTest::mouseClick(other, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_FALSE(edit0->isVisible());
    EXPECT_TRUE(grid->isAncestorOf(edit0));
    EXPECT_EQ(grid->GetItemText(1, 0), u"bee"_qs);
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowChanged);
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowUnchanged);
}

TEST_F(GridForm, CtrlClickSelectsWithoutEditingAndDoubleClickEdits)
{
    ClickCell(0, 0, Qt::ControlModifier);
    ClickCell(2, 0, Qt::ControlModifier);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetSelectedRows(), (QList<int>{0, 2}));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, CellCenter(3, 2));
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(edit2->text(), u"5"_qs);
}

TEST_F(GridForm, StatesAfterEditsFollowTheRowsState)
{
    grid->SetRowData(0, nullptr, u"0"_qs, kRowNew);
    grid->SetRowData(1, nullptr, u"18"_qs, kRowMarked);
    for (int row : {0, 1, 2}) {
        ASSERT_TRUE(grid->BeginEdit(row, 0));
        edit0->setText(u"x"_qs);
        grid->EndEdit(true);
    }
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowNew);
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowChanged);
    EXPECT_EQ(grid->GetRowKey(2)->nState, kRowChanged);
    // A cancelled edit changes nothing.
    ASSERT_TRUE(grid->BeginEdit(3, 0));
    edit0->setText(u"y"_qs);
    grid->EndEdit(false);
    EXPECT_EQ(grid->GetItemText(3, 0), u"d"_qs);
    EXPECT_EQ(grid->GetRowKey(3)->nState, kRowUnchanged);
}

TEST_F(GridForm, EnterCommitsEscCancelsAndAltCommits)
{
    ASSERT_TRUE(grid->BeginEdit(0, 2));
    edit2->setText(u"31"_qs);
    Key(edit2, Qt::Key_Escape);
    EXPECT_EQ(grid->GetItemText(0, 2), u"30"_qs);
    EXPECT_FALSE(edit2->isVisible());

    ASSERT_TRUE(grid->BeginEdit(0, 2));
    edit2->setText(u"32"_qs);
    Key(edit2, Qt::Key_Return);
    EXPECT_EQ(grid->GetItemText(0, 2), u"32"_qs);
    // Enter moves on to the next cell, as Tab does.
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    EXPECT_EQ(grid->GetCurrentColumn(), 0);

    edit0->setText(u"alt"_qs);
    ASSERT_TRUE(grid->IsEditing());
    ASSERT_EQ(Focused(), edit0);
    Key(edit0, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(1, 0), u"alt"_qs);
}

TEST_F(GridForm, TabWalksTheEditableCellsAndLeavesAtTheEnd)
{
    grid->SetColumnReadOnly(1, 1);
    ASSERT_TRUE(grid->BeginEdit(0, 0));
    Key(edit0, Qt::Key_Tab);
    EXPECT_EQ(grid->GetCurrentColumn(), 2); // the read-only column is skipped
    EXPECT_EQ(Focused(), edit2);
    Key(edit2, Qt::Key_Tab);
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    EXPECT_EQ(grid->GetCurrentColumn(), 0);
    Key(edit0, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetCurrentRow(), 0);
    EXPECT_EQ(grid->GetCurrentColumn(), 2);

    // On the last cell Tab ends the edit and moves the focus on.
    ASSERT_TRUE(grid->BeginEdit(3, 2));
    edit2->setText(u"6"_qs);
    Key(edit2, Qt::Key_Tab);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(3, 2), u"6"_qs);
    EXPECT_NE(Focused(), edit2);
    EXPECT_FALSE(grid->isAncestorOf(Focused()));
}

TEST_F(GridForm, ArrowsMoveTheEditorInItsColumn)
{
    ASSERT_TRUE(grid->BeginEdit(1, 1));
    EXPECT_EQ(combo->currentText(), u"乙"_qs);
    combo->setCurrentIndex(2);
    Key(combo, Qt::Key_Down);
    EXPECT_EQ(grid->GetItemText(1, 1), u"丙"_qs);
    EXPECT_EQ(grid->GetCurrentRow(), 2);
    EXPECT_EQ(combo->currentText(), u"丙"_qs); // the combo box did not see the key
    Key(combo, Qt::Key_Up);
    Key(combo, Qt::Key_Up);
    EXPECT_EQ(grid->GetCurrentRow(), 0);
    Key(combo, Qt::Key_Up); // nothing above: the combo box has the key
    EXPECT_EQ(grid->GetCurrentRow(), 0);
    grid->EndEdit(true);
    // After the edit, arrows in the grid open the editor next to the last cell.
    grid->setFocus();
    Key(grid, Qt::Key_Down);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetCurrentRow(), 1);
}

TEST_F(GridForm, AnEditEndsInItsOwnRowAfterSortsInsertsAndDeletes)
{
    grid->SetColumnSort(2, kSortToggles, 2);
    ASSERT_TRUE(grid->BeginEdit(0, 0)); // row "a", amount 30
    edit0->setText(u"A"_qs);
    grid->InsertRow(0, u"new"_qs);
    ASSERT_TRUE(grid->SortByColumn(2, true));
    grid->EndEdit(true);
    int row = 0;
    while (row < grid->GetItemCount() && grid->GetItemText(row, 2) != u"30"_qs)
        ++row;
    EXPECT_EQ(grid->GetItemText(row, 0), u"A"_qs);
    EXPECT_EQ(grid->GetRowKey(row)->strKey, u"17"_qs);
    EXPECT_EQ(grid->GetItemText(0, 0), u"new"_qs); // empty amount sorts first

    // The row goes while its edit is open: the end writes nothing.
    ASSERT_TRUE(grid->BeginEdit(2, 0));
    edit0->setText(u"lost"_qs);
    const QString key = grid->GetRowKey(2)->strKey;
    grid->DeleteRow(2);
    grid->InsertRow(2, u"fresh"_qs);
    grid->EndEdit(true);
    for (int r = 0; r < grid->GetItemCount(); ++r)
        EXPECT_NE(grid->GetItemText(r, 0), u"lost"_qs);
}

// Many rows deleted at once: the rows kept keep their texts beside their
// own records, in order, whatever the deleted rows' order and spread.
TEST_F(GridForm, ManyRowsGoAtOnceWithTheirRecords)
{
    const auto keys = [this] {
        QStringList all;
        for (int row = 0; row < grid->GetItemCount(); ++row)
            all << grid->GetItemText(row, 0) + u':' + grid->GetRowKey(row)->strKey;
        return all.join(u' ');
    };
    const struct {
        QList<int> rows;
        QString kept;
    } cases[] = {
        {{3, 0}, u"b:18 c:19"_qs},            // spread, in any order
        {{1, 2}, u"a:17 d:20"_qs},            // one run
        {{2, 2, -1, 4, 9}, u"a:17 b:18 d:20"_qs}, // twice, or no row at all
        {{}, u"a:17 b:18 c:19 d:20"_qs},
        {{0, 1, 2, 3}, QString()},
    };
    for (const auto& c : cases) {
        while (grid->GetItemCount() > 0)
            grid->DeleteRow(0);
        for (int r = 0; r < 4; ++r) {
            grid->InsertRow(r, QString(QChar(u'a' + r)));
            grid->SetRowData(r, nullptr, QString::number(17 + r), kRowUnchanged);
        }
        QCoreApplication::processEvents();
        grid->DeleteRows(c.rows);
        EXPECT_EQ(keys(), c.kept);
        EXPECT_EQ(grid->GetModel()->rowCount(), grid->GetItemCount()) << "the view knows every row left";
    }

    // Rows not yet shown go too; an edit open on a deleted row ends without
    // writing anywhere; the first row shown that is kept stays at the top.
    for (int r = 0; r < 200; ++r) {
        grid->InsertRow(r, u"r%1"_qs.arg(r));
        grid->SetRowData(r, nullptr, QString::number(r), kRowUnchanged);
    }
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->BeginEdit(150, 0));
    edit0->setText(u"lost"_qs);
    grid->scrollTo(grid->GetModel()->index(100, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(grid->rowAt(0), 100);
    grid->InsertRow(200, u"late"_qs);
    grid->DeleteRows({10, 20, 150, 200});
    grid->EndEdit(true);
    EXPECT_EQ(grid->GetItemCount(), 197);
    EXPECT_EQ(grid->GetItemText(196, 0), u"r199"_qs);
    for (int r = 0; r < grid->GetItemCount(); ++r)
        EXPECT_NE(grid->GetItemText(r, 0), u"lost"_qs);
    EXPECT_EQ(grid->GetItemText(grid->rowAt(0), 0), u"r100"_qs);
}

TEST_F(GridForm, CallbacksSeeTheCellAndCanResort)
{
    int begins = 0;
    grid->SetColumnSort(2, kSortToggles, 2);
    grid->SetColumnEditor(
        2,
        [&](QWidget** editor, int row, int column, const QString& text, void*, CListCtrlEx* g, int) {
            ++begins;
            EXPECT_EQ(g, grid);
            EXPECT_EQ(column, 2);
            EXPECT_EQ(text, grid->GetItemText(row, 2));
            static_cast<QLineEdit*>(*editor)->setText(u"<"_qs + text + u">"_qs);
            return 1;
        },
        [&](QWidget** editor, int, int, QString& text, void*, CListCtrlEx*, int commit) {
            text = static_cast<QLineEdit*>(*editor)->text();
            return commit ? kResortAfterEdit : 0;
        },
        edit2);
    ASSERT_TRUE(grid->SortByColumn(2, true)); // ascending: 5, 30, 999, 1,200.50
    EXPECT_EQ(grid->GetItemText(0, 0), u"d"_qs);
    ASSERT_TRUE(grid->BeginEdit(0, 2));
    EXPECT_EQ(edit2->text(), u"<5>"_qs);
    edit2->setText(u"5000"_qs);
    grid->EndEdit(true);
    EXPECT_EQ(begins, 1);
    // Sorted again in the same direction: the edited row goes last.
    EXPECT_EQ(grid->GetItemText(3, 0), u"d"_qs);
    EXPECT_EQ(grid->GetItemText(0, 0), u"a"_qs);
}

TEST_F(GridForm, AnEndCallbackMayOpenTheNextEditOrDeleteItsRow)
{
    grid->SetColumnEditor(0, nullptr,
                          [&](QWidget** editor, int row, int column, QString& text, void*, CListCtrlEx* g, int) {
                              text = static_cast<QLineEdit*>(*editor)->text();
                              if (text == u"gone"_qs)
                                  g->DeleteRow(row);
                              else
                                  g->BeginEdit(row + 1, column);
                              return 1;
                          },
                          edit0);
    ASSERT_TRUE(grid->BeginEdit(0, 0));
    edit0->setText(u"first"_qs);
    grid->EndEdit(true);
    EXPECT_EQ(grid->GetItemText(0, 0), u"first"_qs);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetCurrentRow(), 1);
    EXPECT_TRUE(edit0->isVisible());
    EXPECT_EQ(edit0->text(), u"b"_qs);

    edit0->setText(u"gone"_qs);
    grid->EndEdit(true);
    EXPECT_EQ(grid->GetItemCount(), 3);
    EXPECT_EQ(grid->GetItemText(1, 0), u"c"_qs);
    EXPECT_FALSE(grid->IsEditing());
}

TEST_F(GridForm, ReadOnlyRowsColumnsAndEditorlessCellsRefuse)
{
    grid->SetRowReadOnly(1, 1);
    grid->SetColumnReadOnly(0, 1);
    EXPECT_FALSE(grid->BeginEdit(1, 2));
    EXPECT_FALSE(grid->BeginEdit(0, 0));
    EXPECT_TRUE(grid->IsCellReadOnly(1, 2));
    EXPECT_TRUE(grid->BeginEdit(0, 2));
    grid->InsertColumn(3, u"备注"_qs);
    EXPECT_FALSE(grid->BeginEdit(0, 3));
    EXPECT_FALSE(grid->BeginEdit(4, 2));
    EXPECT_FALSE(grid->BeginEdit(-1, 2));
}

TEST_F(GridForm, AClickOnAnotherGridCommits)
{
    CListCtrlEx second(form.get());
    form->layout()->addWidget(&second);
    second.InsertColumn(0, u"x"_qs);
    second.InsertRow(0, u"1"_qs);
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid->BeginEdit(2, 0));
    edit0->setText(u"other grid"_qs);
    QTest::mouseClick(second.viewport(), Qt::LeftButton, {}, second.visualRect(second.GetModel()->index(0, 0)).center());
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(2, 0), u"other grid"_qs);
}

TEST_F(GridForm, ComboListOpenKeepsTheEdit)
{
    ASSERT_TRUE(grid->BeginEdit(0, 1));
    combo->showPopup();
    QCoreApplication::processEvents();
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(2, 2));
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid->IsEditing());
    combo->hidePopup();
    combo->setCurrentIndex(1);
    QTest::mouseClick(other, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(0, 1), u"乙"_qs);
}

TEST_F(GridForm, CalendarOpenKeepsTheEditAndAFocusMoveInsideDoesToo)
{
    auto* date = new QDateTimeEdit(form.get());
    date->setDisplayFormat(u"yyyy-MM-dd"_qs);
    date->setCalendarPopup(true);
    date->hide();
    grid->InsertColumn(3, u"日期"_qs);
    grid->SetItemText(0, 3, u"2024-03-09"_qs);
    grid->SetColumnEditor(3, nullptr, nullptr, date);
    ASSERT_TRUE(grid->BeginEdit(0, 3));
    EXPECT_EQ(date->date(), QDate(2024, 3, 9));
    QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(date->width() - 5, date->height() / 2));
    QCoreApplication::processEvents();
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(popup->width() / 2, popup->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid->IsEditing());
    if (QApplication::activePopupWidget())
        QApplication::activePopupWidget()->close();
    date->setDate(QDate(2024, 3, 21));
    grid->EndEdit(true);
    EXPECT_EQ(grid->GetItemText(0, 3), u"2024-03-21"_qs);

    // An editable combo box hands the focus to its own line edit.
    combo->setEditable(true);
    ASSERT_TRUE(grid->BeginEdit(0, 1));
    combo->lineEdit()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid->IsEditing());
    combo->setEditText(u"丁"_qs);
    other->setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(0, 1), u"丁"_qs);
}

// A grid that adds an editable row when Tab is pressed in it while empty.
class AppendingGrid : public CListCtrlEx
{
public:
    using CListCtrlEx::CListCtrlEx;
    bool OnAppendRow() override
    {
        ++appends;
        if (!allow)
            return false;
        InsertRow(0, QString());
        return BeginEdit(0, 0);
    }
    int appends = 0;
    bool allow = false;
};

TEST(GridAppend, TabInAnEmptyGridAsksForARowAndOtherwiseMovesOn)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* grid = new AppendingGrid(&form);
    auto* next = new QLineEdit(&form);
    auto* editor = new QLineEdit(&form);
    editor->hide();
    layout->addWidget(grid);
    layout->addWidget(next);
    grid->InsertColumn(0, u"名称"_qs);
    grid->SetColumnEditor(0, nullptr, nullptr, editor);
    form.show();
    QApplication::setActiveWindow(&form);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->appends, 1);
    EXPECT_EQ(QApplication::focusWidget(), next);

    grid->allow = true;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->appends, 2);
    EXPECT_EQ(grid->GetItemCount(), 1);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

TEST_F(GridForm, DragBelowTheLastRowSelectsOnlyTheRowsCrossed)
{
    const QPoint start = CellCenter(1, 0);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, start);
    const QPoint below(start.x(), grid->viewport()->height() - 2);
    for (const QPoint& point : {CellCenter(2, 0), CellCenter(3, 0), below}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(point), grid->viewport()->mapToGlobal(QPointF(point)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
    }
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, below);
    EXPECT_FALSE(grid->IsRowSelected(0));
    EXPECT_TRUE(grid->IsRowSelected(1));
    EXPECT_TRUE(grid->IsRowSelected(3));
    int row = 0, column = 0;
    EXPECT_FALSE(grid->SubItemHitTest(QPoint(grid->viewport()->width() - 2, CellCenter(0, 0).y()), row, column));
    EXPECT_EQ(row, 0);
    EXPECT_EQ(column, -1);
}

TEST(MsgHookTest, TheFilterLivesWhileAnyHookDoes)
{
    ASSERT_EQ(CMsgHook::InstanceCount(), 0);
    auto first = std::make_unique<CListCtrlEx>();
    auto second = std::make_unique<CListCtrlEx>();
    EXPECT_TRUE(CMsgHook::IsInstalled());
    first.reset();
    EXPECT_TRUE(CMsgHook::IsInstalled());
    second.reset();
    EXPECT_FALSE(CMsgHook::IsInstalled());
    EXPECT_EQ(CMsgHook::InstanceCount(), 0);
}

TEST(MsgHookTest, ADestroyedEditorWithdrawsItsRegistration)
{
    CMsgHook hook;
    QWidget notify;
    auto editor = std::make_unique<QLineEdit>();
    EXPECT_FALSE(hook.Attach(nullptr, &notify));
    ASSERT_TRUE(hook.Attach(editor.get(), &notify));
    editor.reset();
    EXPECT_FALSE(hook.IsAttached());
    EXPECT_FALSE(hook.Detach());
}
} // namespace

// Clicks and keys that go the way of a user's: into the window, which finds
// the widget under the pointer or with the focus.
class GridInput : public GridForm
{
protected:
    void ClickAt(QWidget* widget, QPoint point)
    {
        QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, widget->mapTo(form.get(), point));
        QCoreApplication::processEvents();
    }
    void ClickCellOf(CListCtrlEx* table, int row, int column)
    {
        ClickAt(table->viewport(), table->visualRect(table->GetModel()->index(row, column)).center());
    }
    void ClickElsewhere() { ClickAt(other, other->rect().center()); }
    void Type(const QString& text)
    {
        // To the widget with the focus; any character, as an input method gives it.
        for (const QChar c : text) {
            const Qt::Key key = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, static_cast<QWidget*>(nullptr), key, QString(c), Qt::NoModifier);
        }
        QCoreApplication::processEvents();
    }
};

TEST_F(GridInput, AnEditorThatCannotShowTheCellCommitsOnlyWhatTheUserChanged)
{
    auto* date = new QDateTimeEdit(form.get());
    date->setDisplayFormat(u"yyyy-MM-dd"_qs);
    date->hide();
    grid->InsertColumn(3, u"日期"_qs);
    grid->SetColumnEditor(3, nullptr, nullptr, date);
    grid->SetItemText(0, 3, u"2024-03-09"_qs);
    grid->SetItemText(1, 1, u"戊"_qs); // no entry of the list
    QCoreApplication::processEvents();

    // A date edited in one row stays in the box; an empty date cell opened
    // and left does not take it.
    ClickCellOf(grid, 0, 3);
    date->setDate(QDate(2024, 3, 21));
    ClickElsewhere();
    ASSERT_EQ(grid->GetItemText(0, 3), u"2024-03-21"_qs);
    struct Case
    {
        int row;
        int column;
        QString before;
    };
    for (const Case& c : {Case{1, 3, QString()}, Case{1, 1, u"戊"_qs}, Case{2, 3, QString()}}) {
        ClickCellOf(grid, c.row, c.column);
        ASSERT_TRUE(grid->IsEditing()) << c.row << c.column;
        ClickElsewhere();
        EXPECT_EQ(grid->GetItemText(c.row, c.column), c.before) << c.row << c.column;
        EXPECT_EQ(grid->GetRowKey(c.row)->nState, kRowUnchanged) << c.row << c.column;
    }

    // What the user does choose there is kept, even the date the box was
    // showing, typed again for the empty cell.
    ClickCellOf(grid, 1, 1);
    Type(u"丙"_qs);
    ClickElsewhere();
    EXPECT_EQ(grid->GetItemText(1, 1), u"丙"_qs);
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowChanged);
    ClickCellOf(grid, 2, 3);
    ASSERT_EQ(date->date(), QDate(2024, 3, 21));
    Type(u"20240321"_qs);
    ClickElsewhere();
    EXPECT_EQ(grid->GetItemText(2, 3), u"2024-03-21"_qs);
    EXPECT_EQ(grid->GetRowKey(2)->nState, kRowChanged);
}

TEST_F(GridInput, ARefillOrADeletedRowEndsTheOpenEdit)
{
    ClickCellOf(grid, 2, 0);
    ASSERT_EQ(QApplication::focusWidget(), edit0);
    Type(u"zz"_qs);
    grid->DeleteRow(2);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_FALSE(edit0->isVisible());
    EXPECT_EQ(grid->GetItemText(2, 0), u"d"_qs);

    // The typed text reaches its row before the rows go.
    QStringList ended;
    grid->SetColumnEditor(0, nullptr,
                          [&ended](QWidget** editor, int row, int, QString& text, void*, CListCtrlEx* table, int commit) {
                              ended << table->GetItemText(row, 1) + u':' + GetEditorText(*editor) + u':' + QString::number(commit);
                              text = GetEditorText(*editor);
                              return commit;
                          },
                          edit0);
    ClickCellOf(grid, 1, 0);
    Type(u"!"_qs);
    grid->DeleteAllRows();
    grid->InsertRow(0, u"new"_qs);
    EXPECT_EQ(ended, QStringList{u"乙:b!:1"_qs});
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_FALSE(edit0->isVisible());
    EXPECT_EQ(grid->GetItemText(0, 0), u"new"_qs);
}

TEST_F(GridInput, AnEditorSharedByTwoGridsEndsInOneBeforeTheOtherTakesIt)
{
    CListCtrlEx second(form.get());
    form->layout()->addWidget(&second);
    second.InsertColumn(0, u"x"_qs);
    second.InsertRow(0, u"1"_qs);
    second.SetColumnEditor(0, nullptr, nullptr, edit0);
    QCoreApplication::processEvents();

    ClickCellOf(grid, 1, 0);
    Type(u"ee"_qs);
    // An action opens the other grid's cell while the first edit is open.
    ASSERT_TRUE(second.BeginEdit(0, 0));
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->GetItemText(1, 0), u"bee"_qs);
    EXPECT_EQ(edit0->text(), u"1"_qs);
    EXPECT_TRUE(second.viewport()->isAncestorOf(edit0));
    Type(u"2"_qs);
    ClickElsewhere();
    EXPECT_EQ(second.GetItemText(0, 0), u"12"_qs);
    EXPECT_EQ(grid->GetItemText(1, 0), u"bee"_qs);

    // Either grid still edits with it afterwards.
    ClickCellOf(grid, 0, 0);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(edit0->text(), u"a"_qs);
    ClickElsewhere();
    ClickCellOf(&second, 0, 0);
    EXPECT_TRUE(second.IsEditing());
    EXPECT_EQ(edit0->text(), u"12"_qs);
}

TEST_F(GridInput, KeysInTheOpenListOfAComboEditorChooseInTheList)
{
    ClickCellOf(grid, 0, 1);
    ASSERT_EQ(combo->currentText(), u"甲"_qs);
    for (Qt::Key key : {Qt::Key_F4, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
        QTest::keyClick(static_cast<QWidget*>(nullptr), key);
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->GetCurrentRow(), 0);
    EXPECT_EQ(combo->currentText(), u"丙"_qs);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetItemText(0, 1), u"丙"_qs);
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowChanged);
    EXPECT_EQ(grid->GetRowKey(1)->nState, kRowUnchanged);
}
