#pragma once

#include "FormBuilder.h"
#include "db/DbConnection.h"

#include <QFont>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

class CListCtrlEx;
class CXmlNode;
class CXmlNodes;
class QvChart;
class QvTree;
class QWidget;

// The form builder: turns the control elements of a form's body/dialog into
// child widgets of the form, each with window id = "id" + 1024, registered
// with the form in creation order under its element's tag and hooked to the
// form's notifications. It stays with its form: the default font of the
// controls and a database object of the form are its own.
class QvControls : public IFormBuilder
{
public:
    QvControls();

    void Build(D_T1& form) override;
    std::unique_ptr<IFormBuilder> NewForForm() const override;

    // One creator per element of the list, by tag; other tags are skipped.
    void CreateControls(const CXmlNodes& elements, D_T1& form);

    // "size" or "size,face": a font of pixel height size × 4 / 3, the
    // default face when none is given; nothing for an empty text.
    std::optional<QFont> CreateFontFromSpec(const QString& spec) const;
    QFont CreateSizedFont(int size, const QString& face) const;
    const QFont& DefaultFont() const override { return m_defaultFont; }
    const QString& DefaultFace() const { return m_strDefaultFace; }
    CDbConnection& Database() override { return m_db; }

    void CreateStatic(D_T1& form, const CXmlNode& element);
    void CreateQvButton(D_T1& form, const CXmlNode& element);
    void CreatePicture(D_T1& form, const CXmlNode& element);
    void CreateGuiView(D_T1& form, const CXmlNode& element);
    void CreateButton(D_T1& form, const CXmlNode& element);
    void CreateTextBox(D_T1& form, const CXmlNode& element);
    void CreateDropList(D_T1& form, const CXmlNode& element);
    void CreateDateCtrl(D_T1& form, const CXmlNode& element);
    void CreateEditButton(D_T1& form, const CXmlNode& element);
    void CreateTable(D_T1& form, const CXmlNode& element);
    void CreateTreeList(D_T1& form, const CXmlNode& element);
    void CreatePanel(D_T1& form, const CXmlNode& element);
    void CreateTree(D_T1& form, const CXmlNode& element);

    // The grids' column editors: the cell's text into the editor window, and
    // the editor's changed text back into the cell, raising the form's
    // end-of-edit handling.
    static int ShowCellInEditor(QWidget** editor, int row, int column, const QString& text, void* rowData,
                                CListCtrlEx* grid, int flag);
    static int StoreEditorInCell(QWidget** editor, int row, int column, QString& text, void* rowData,
                                 CListCtrlEx* grid, int commit);

    // One header node of a tree list and, depth first, its children.
    static void BuildHeaderNode(const CXmlNode& element, QvTree& parent);

private:
    // Geometry from "pos" (reported once when malformed), then registered.
    void Place(D_T1& form, QWidget* control, const CXmlNode& element) const;
    // The element's "font", or the default font.
    void ApplyFont(QWidget* control, const CXmlNode& element) const;

    // A grid column and the description id of its editor ("hidden_wnd"),
    // set once the controls of the list are all made.
    struct ColumnEditor
    {
        QPointer<CListCtrlEx> grid;
        int column;
        int editorId;
    };

    QFont m_defaultFont;
    QString m_strDefaultFace;
    CDbConnection m_db;
    std::vector<ColumnEditor> m_columnEditors;
};
