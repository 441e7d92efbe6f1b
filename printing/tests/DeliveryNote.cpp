#include "DeliveryNote.h"

#include "MapPrintSource.h"

QString DeliveryNoteXml()
{
    return QString::fromUtf8(R"(<print><print_para font_default="36,宋体" left="100" top="100" uid_id="1" print_btn="9" name_id="2">
  <title pos="0,0,1900,100" value="送货单" font="60,宋体" format="37"/>
  <no pos="0,120,900,180" wnd="2" value_ahead="单号:" format="36"/>
  <customer pos="1000,120,1900,180" wnd="3" value_ahead="客户:" format="36"/>
  <code pos="1500,200,1800,500" wnd="2" wnd_type="qr"/>
  <bars pos="0,220,1200,420" wnd="4" wnd_type="128c"/>
  <table_print font="30" value="5" pos="0,560,1900,960" format="0">
    <head_info_print row_height="80">
      <c row_id="1" row_height="80" title="品名"/>
      <c row_id="1" row_height="80" id="2"/>
      <c row_id="1" row_height="80" title="金额"/>
    </head_info_print>
    <col_info_print count_in_page="10" row_height="80">
      <c width="900" col_id="1" align="36"/>
      <c width="400" col_id="2"/>
      <c width="600" col_id="3" align="38"/>
    </col_info_print>
  </table_print>
  <total pos="0,1540,900,1620" wnd="6" wnd_type="thousandth" value_ahead="合计:" format="36"/>
  <money pos="1000,1540,1500,1620" wnd="6" wnd_type="CNY" value_ahead="¥" split_size="60"/>
  <rule pos="0,1640,1900,1640" wnd_type="line" value="3"/>
  <accepted pos="0,1660,900,1740" wnd="7" wnd_type="checked" value="已验收" format="36"/>
  <refused pos="1000,1660,1900,1740" wnd="8" wnd_type="checked" value="未验收" format="36"/>
</print_para></print>)");
}

void FillDeliveryNote(MapPrintSource& source)
{
    source.texts = {{2, QStringLiteral("DN-0042")}, {3, QStringLiteral("华东五金")},
                    {4, QStringLiteral("20260042")}, {6, QStringLiteral("12345.5")}};
    source.checked = {7};
    MapPrintSource::Table table;
    table.headers = {QStringLiteral("名称"), QStringLiteral("数量"), QStringLiteral("金额")};
    for (int i = 1; i <= 23; ++i)
        table.rows << QStringList{QStringLiteral("螺栓%1").arg(i), QString::number(i * 10),
                                  QString::number(i * 2.5, 'f', 2)};
    source.tables[5] = table;
}
