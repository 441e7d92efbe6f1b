#include "ActionDispatcher.h"

#include "D_T1.h"
#include "EventTexts.h"
#include "xml/XmlNode.h"

namespace {

const QString SelectInfoTable = QStringLiteral("select_info_table");

} // namespace

CActionDispatcher& CActionDispatcher::Instance()
{
    static CActionDispatcher dispatcher;
    return dispatcher;
}

const QStringList& CActionDispatcher::Keywords()
{
    // Matched whole and case-sensitively: "Close" or " close" is no keyword.
    static const QStringList keywords = {
        QStringLiteral("sendmessage"),        QStringLiteral("send_click"),
        QStringLiteral("set_focus"),          QStringLiteral("copytable"),
        QStringLiteral("copycontent"),        QStringLiteral("export_excel"),
        QStringLiteral("run_dll_method"),     QStringLiteral("set_draw_method"),
        QStringLiteral("menu"),               QStringLiteral("able"),
        QStringLiteral("set_btn_state"),      QStringLiteral("get_btn_state"),
        QStringLiteral("show"),               QStringLiteral("lock_col"),
        QStringLiteral("set_table_readonly"), QStringLiteral("set_row_color"),
        QStringLiteral("set_cell_color"),     QStringLiteral("sum_cols"),
        QStringLiteral("del_cell_text"),      QStringLiteral("set_cell_text"),
        SelectInfoTable,                      QStringLiteral("select_info_tree"),
        QStringLiteral("select_item"),        QStringLiteral("get_id_from_tree"),
        QStringLiteral("get_ids_from_tree"),  QStringLiteral("get_ids_from_list"),
        QStringLiteral("get_name_from_tree"), QStringLiteral("sum_table_col"),
        QStringLiteral("click_page"),         QStringLiteral("addrow"),
        QStringLiteral("delrow"),             QStringLiteral("uprow"),
        QStringLiteral("downrow"),            QStringLiteral("run_sql"),
        QStringLiteral("query_to_wnd"),       QStringLiteral("query_to_wnds"),
        QStringLiteral("query_to_list"),      QStringLiteral("get_daxie"),
        QStringLiteral("UrlEncode"),          QStringLiteral("UrlDecode"),
        QStringLiteral("query_to_head"),      QStringLiteral("query_to_main"),
        QStringLiteral("return_selected"),    QStringLiteral("return_selected_node"),
        QStringLiteral("close"),              QStringLiteral("select_into"),
        QStringLiteral("query_to_table"),     QStringLiteral("insert_head"),
        QStringLiteral("update_head"),        QStringLiteral("insert_detail"),
        QStringLiteral("reset_detail"),       QStringLiteral("select_file"),
        QStringLiteral("upload"),             QStringLiteral("download"),
        QStringLiteral("check"),              QStringLiteral("checkthis"),
        QStringLiteral("open_url"),           QStringLiteral("get_html"),
        QStringLiteral("post_html"),          QStringLiteral("post2_html"),
        QStringLiteral("open_file"),          QStringLiteral("cmd"),
        QStringLiteral("show_pic"),           QStringLiteral("show_report"),
        QStringLiteral("show_report3"),       QStringLiteral("show_report5"),
        QStringLiteral("show_report6"),       QStringLiteral("get_html_node_text"),
        QStringLiteral("get_html_list"),      QStringLiteral("query_to_tree_head"),
        QStringLiteral("show_table"),         QStringLiteral("upload_pic"),
        QStringLiteral("download_pic"),       QStringLiteral("query_to_print"),
        QStringLiteral("print_pos_get"),      QStringLiteral("print_pos_setup"),
        QStringLiteral("print_setup"),        QStringLiteral("print"),
        QStringLiteral("print_pre"),          QStringLiteral("show_dialog"),
    };
    return keywords;
}

bool CActionDispatcher::Register(const QString& keyword, Work work)
{
    if (!Keywords().contains(keyword) || !work)
        return false;
    m_work.insert(keyword, std::move(work));
    return true;
}

void CActionDispatcher::Clear()
{
    m_work.clear();
    m_jump = nullptr;
    m_endEdit = nullptr;
}

bool CActionDispatcher::Run(D_T1& form, const CXmlNode& action, int windowId, const QString& event) const
{
    const QString keyword = action.GetName();
    form.m_strEvent = event;
    form.m_actions.m_strEvent = event;
    form.m_actions.m_strResult.clear();
    if (!Keywords().contains(keyword))
        return true;
    const auto work = m_work.constFind(keyword);
    if (work == m_work.cend())
        return Unavailable(form, keyword);
    Prepare(form, keyword);
    return (*work)(form, action, windowId, event);
}

bool CActionDispatcher::RunJump(D_T1& form, const CXmlNode& action, int& step) const
{
    if (!m_jump)
        return Unavailable(form, QStringLiteral("jump"));
    return m_jump(form, action, step);
}

bool CActionDispatcher::RunEndEdit(D_T1& form, const CXmlNode& action, CListCtrlEx* grid, int row,
                                   int column) const
{
    if (!m_endEdit)
        return Unavailable(form, QStringLiteral("ENDEDIT"));
    return m_endEdit(form, action, grid, row, column);
}

void CActionDispatcher::Prepare(D_T1& form, const QString& keyword)
{
    CFormActions& actions = form.m_actions;
    if (keyword == SelectInfoTable) {
        // A query started by paging keeps the page paging set; any other
        // starts at page 1 and forgets the rows of the last result.
        actions.m_listStates.clear();
        actions.m_deletedUids.Clear();
        if (actions.m_bResetPaging) {
            actions.m_nPage = 1;
            actions.m_nPageCount = 0;
        }
    }
}

bool CActionDispatcher::Unavailable(D_T1& form, const QString& keyword)
{
    form.m_actions.m_db.m_strError = EventTexts::ActionUnavailable.arg(keyword);
    return false;
}

bool D_T1::RunAction(const CXmlNode& action, int windowId, const QString& event)
{
    return CActionDispatcher::Instance().Run(*this, action, windowId, event);
}
