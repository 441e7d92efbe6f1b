#include "D_T1.h"
#include "FormActions.h"
#include "grid/ListCtrlEx.h"
#include "widgets/FileEditCtrl.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

TEST(FormActions, SetControlValuePutsTheValueByKind)
{
    QComboBox combo;
    combo.addItems({QStringLiteral("甲"), QStringLiteral("Beta")});
    struct ComboCase
    {
        const char* value;
        int index;
        int count;
        const char* first;
    };
    const ComboCase comboCases[] = {
        {"beta", 1, 2, "甲"},   // found without regard to case
        {"丙", 0, 3, "丙"},     // missing: inserted at the top and selected
        {"", -1, 3, "丙"},      // empty: nothing inserted, nothing selected
        {"丙", 0, 3, "丙"},     // found the second time
    };
    for (const ComboCase& c : comboCases) {
        SCOPED_TRACE(c.value);
        EXPECT_TRUE(CFormActions::SetControlValue(&combo, QString::fromUtf8(c.value)));
        EXPECT_EQ(combo.currentIndex(), c.index);
        EXPECT_EQ(combo.count(), c.count);
        EXPECT_EQ(combo.itemText(0), QString::fromUtf8(c.first));
    }

    QDateTimeEdit date(QDate(2000, 1, 1));
    CFormActions::SetControlValue(&date, QStringLiteral("2024-03-09"));
    EXPECT_EQ(date.date(), QDate(2024, 3, 9));
    CFormActions::SetControlValue(&date, QStringLiteral("2024/3/10 08:30:00"));
    EXPECT_EQ(date.dateTime(), QDateTime(QDate(2024, 3, 10), QTime(8, 30)));
    CFormActions::SetControlValue(&date, QStringLiteral("下周"));
    EXPECT_EQ(date.date(), QDate(2024, 3, 10));

    QLineEdit edit;
    CFormActions::SetControlValue(&edit, QStringLiteral("入库单"));
    EXPECT_EQ(edit.text(), QStringLiteral("入库单"));
    EXPECT_EQ(edit.selectedText(), QStringLiteral("入库单"));
    EXPECT_EQ(edit.cursorPosition(), 0);

    CFileEditCtrl box;
    CFormActions::SetControlValue(&box, QStringLiteral("浏览"));
    EXPECT_EQ(box.text(), QStringLiteral("浏览"));
    EXPECT_FALSE(box.hasSelectedText());

    QLabel label;
    CFormActions::SetControlValue(&label, QStringLiteral("合计"));
    EXPECT_EQ(label.text(), QStringLiteral("合计"));
    EXPECT_TRUE(CFormActions::SetControlValue(nullptr, QStringLiteral("x")));
}

TEST(FormActions, ReadsTheChosenEntryOrTheText)
{
    D_T1 form;
    auto* combo = new QComboBox(&form);
    combo->setEditable(true);
    combo->addItems({QStringLiteral("甲"), QStringLiteral("乙")});
    form.AddControl(3, QStringLiteral("droplist"), combo);
    combo->setCurrentIndex(1);
    EXPECT_EQ(CFormActions::GetDlgItemValue(form, 1027), QStringLiteral("乙"));
    combo->setCurrentIndex(-1);
    combo->setEditText(QStringLiteral("手写"));
    EXPECT_EQ(CFormActions::GetDlgItemValue(form, 1027), QStringLiteral("手写"));
    EXPECT_EQ(CFormActions::GetDlgItemValue(form, 1099), QString());
    CFormActions::SetDlgItemTextAndRefresh(form, 1027, QStringLiteral("丙"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("丙"));
}

TEST(FormActions, EnableControlKeepsRightsAndReadOnly)
{
    D_T1 form;
    auto* edit = new QLineEdit(&form);
    auto* allowed = new QPushButton(&form);
    auto* refused = new QPushButton(&form);
    auto* label = new QLabel(&form);
    form.AddControl(1, QStringLiteral("textbox"), edit);
    form.AddControl(5, QStringLiteral("button"), allowed);
    form.AddControl(9, QStringLiteral("button"), refused);
    form.AddControl(15, QStringLiteral("static"), label);
    form.m_strNoRightIds = QStringLiteral(";9;19;");

    CFormActions::EnableControl(edit, false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(edit->isReadOnly());
    CFormActions::EnableControl(edit, true);
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_FALSE(edit->isReadOnly());

    allowed->setEnabled(false);
    refused->setEnabled(false);
    CFormActions::EnableControl(allowed, true);
    CFormActions::EnableControl(refused, true);
    EXPECT_TRUE(allowed->isEnabled());
    EXPECT_FALSE(refused->isEnabled());
    CFormActions::EnableControl(label, false);
    EXPECT_FALSE(label->isEnabled());
    EXPECT_TRUE(CFormActions::EnableControl(nullptr, true));
}

TEST(FormActions, FillsTreesFromTriples)
{
    QTreeWidget tree;
    // Parent 0 at the start goes below the first root item when there is one.
    CFormActions::FillTreeFromValues({"0", "总部", "1", "1", "财务", "2", "1", "仓库", "3", "2", "出纳", "4",
                                      "77", "孤儿", "5", "2", "会计", "6"},
                                     &tree, QStringLiteral(",4,5,"));
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    QTreeWidgetItem* head = tree.topLevelItem(0);
    EXPECT_EQ(head->text(0), QStringLiteral("总部"));
    ASSERT_EQ(head->childCount(), 2);
    QTreeWidgetItem* finance = head->child(0);
    ASSERT_EQ(finance->childCount(), 2);
    EXPECT_EQ(finance->child(0)->text(0), QStringLiteral("出纳"));
    EXPECT_EQ(finance->child(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(finance->child(1)->data(0, Qt::UserRole).toLongLong(), 6);
    EXPECT_EQ(tree.topLevelItem(1)->text(0), QStringLiteral("孤儿")); // unknown parent: root level
    EXPECT_EQ(tree.topLevelItem(1)->checkState(0), Qt::Checked);

    QTreeWidget filled;
    filled.addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("根")}));
    CFormActions::FillTreeFromValues({"0", "子", "8", "8"}, &filled, QString()); // a short triple is left out
    ASSERT_EQ(filled.topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(filled.topLevelItem(0)->child(0)->text(0), QStringLiteral("子"));
}

TEST(FormActions, FillsAndRenumbersGrids)
{
    CFormActions actions;
    CListCtrlEx grid;
    for (int n = 0; n < 3; ++n)
        grid.InsertColumn(n, QStringLiteral("c%1").arg(n), 0, 50);
    grid.SetColumnSort(2, kSortToggles, 1); // a number column keeps its value as cell data
    grid.InsertRow(0, QStringLiteral("旧"));

    // With the key column on: uid first, then one value per column after the
    // row numbers.
    grid.m_bContainHead = true;
    ASSERT_TRUE(actions.FillListRows({"11", "甲", "5", "12", "乙", "7", "13"}, &grid, 3, true));
    ASSERT_EQ(grid.GetItemCount(), 2); // the incomplete last row is left out
    EXPECT_EQ(grid.GetItemText(0, 0), QStringLiteral("1"));
    EXPECT_EQ(grid.GetItemText(1, 1), QStringLiteral("乙"));
    EXPECT_EQ(reinterpret_cast<qintptr>(grid.GetCellData(1, 2)), 7);
    EXPECT_EQ(grid.GetRowKey(1)->strKey, QStringLiteral("12"));
    EXPECT_EQ(grid.GetRowKey(1)->nState, kRowUnchanged);
    EXPECT_EQ(reinterpret_cast<qintptr>(grid.GetRowDataPtr(0)), 11);
    EXPECT_EQ(actions.m_strListedUids, QStringLiteral("11,12"));

    // Without a uid: every value is a column's.
    grid.m_bContainHead = false;
    ASSERT_TRUE(actions.FillListRows({"a", "b", "x", "c", "d", "y"}, &grid, 3, false));
    ASSERT_EQ(grid.GetItemCount(), 2);
    EXPECT_EQ(grid.GetItemText(1, 0), QStringLiteral("c"));
    EXPECT_TRUE(actions.m_strListedUids.isEmpty());
    // One result column more than the grid has cells for is no key column.
    ASSERT_TRUE(actions.FillListRows({"11", "甲", "5"}, &grid, 3, true));
    EXPECT_EQ(grid.GetItemText(0, 1), QStringLiteral("11"));
    EXPECT_EQ(reinterpret_cast<qintptr>(grid.GetCellData(0, 2)), 0); // "甲" is no number
    EXPECT_TRUE(grid.GetRowKey(0)->strKey.isEmpty());
    EXPECT_TRUE(actions.m_strListedUids.isEmpty());

    ASSERT_TRUE(actions.FillListRows({"a", "b", "x", "c", "d", "y"}, &grid, 3, false));
    for (int row = 2; row < 5; ++row)
        grid.InsertRow(row, QStringLiteral("x"));
    grid.SetRowData(3, nullptr, QStringLiteral("0"), kRowNew);
    grid.SetRowData(4, nullptr, QStringLiteral("9"), kRowChanged);
    CFormActions::RenumberListRows(&grid, 3);
    EXPECT_EQ(grid.GetItemText(2, 0), QStringLiteral("x")); // before the first row: as it was
    EXPECT_EQ(grid.GetItemText(3, 0), QStringLiteral("4"));
    EXPECT_EQ(grid.GetItemText(4, 0), QStringLiteral("5"));
    EXPECT_EQ(grid.GetRowKey(3)->nState, kRowNew);
    EXPECT_EQ(grid.GetRowKey(4)->nState, kRowChanged);
    CFormActions::RenumberListRows(&grid, 0);
    EXPECT_EQ(grid.GetRowKey(0)->nState, kRowMarked);
}

TEST(FormActions, EventEndRestoresOrKeepsWhatTheEventChanged)
{
    D_T1 form;
    auto* grid = new CListCtrlEx(&form);
    auto* total = new QLineEdit(QStringLiteral("12"), &form);
    form.AddControl(3, QStringLiteral("table"), grid);
    form.AddControl(7, QStringLiteral("textbox"), total);
    grid->InsertColumn(0, QStringLiteral("a"), 0, 50);
    for (int row = 0; row < 3; ++row) {
        grid->InsertRow(row, QString());
        grid->SetRowData(row, nullptr, QString::number(row + 1), row == 2 ? kRowNew : kRowUnchanged);
    }
    const auto save = [&] {
        form.m_actions.SaveRowStates(grid, {0, 2});
        form.m_actions.m_resetIds = {7};
        form.m_actions.m_savedGrids = {grid};
        form.m_actions.m_deletedUids.Add(grid, QStringLiteral("4"));
        form.m_actions.m_deletedUids.Add(grid, QStringLiteral("5"));
        grid->GetRowKey(0)->nState = kRowMarked;
        grid->GetRowKey(2)->nState = kRowMarked;
    };
    save();
    form.m_actions.EndEvent(form, false);
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowUnchanged);
    EXPECT_EQ(grid->GetRowKey(2)->nState, kRowNew);
    EXPECT_EQ(total->text(), QStringLiteral("0"));
    EXPECT_EQ(form.m_actions.m_deletedUids.Joined(grid), QStringLiteral("4,5"));
    EXPECT_TRUE(form.m_actions.m_listStates.empty());
    EXPECT_TRUE(form.m_actions.m_resetIds.isEmpty());

    total->setText(QStringLiteral("12"));
    save();
    form.m_actions.EndEvent(form, true);
    EXPECT_EQ(grid->GetRowKey(0)->nState, kRowMarked);
    EXPECT_EQ(total->text(), QStringLiteral("12"));
    EXPECT_TRUE(form.m_actions.m_deletedUids.IsEmpty());
    EXPECT_TRUE(form.m_actions.m_savedGrids.isEmpty());
    EXPECT_TRUE(form.m_actions.m_listStates.empty());
}

TEST(FormActions, FindsControlsInPagesInPageOrder)
{
    D_T1 form;
    D_T1* first = form.NewSubForm(&form, true);
    D_T1* second = form.NewSubForm(&form, true);
    auto* a = new QLineEdit(first);
    auto* b = new QLineEdit(second);
    auto* c = new QLineEdit(second);
    first->AddControl(2, QStringLiteral("textbox"), a);
    second->AddControl(2, QStringLiteral("textbox"), b);
    second->AddControl(3, QStringLiteral("textbox"), c);
    form.AddPage(1030, first);
    form.AddPage(1030, second);
    EXPECT_EQ(CFormActions::FindControlInPages(form.GetPages(1030), 1026), a);
    EXPECT_EQ(CFormActions::FindControlInPages(form.GetPages(1030), 1027), c);
    EXPECT_EQ(CFormActions::FindControlInPages(form.GetPages(1030), 1028), nullptr);
    EXPECT_TRUE(form.m_actions.m_bDefaultConnection);
    EXPECT_EQ(form.m_actions.m_nPageSize, 10);
    EXPECT_EQ(form.m_actions.m_nPage, 1);
}

} // namespace
