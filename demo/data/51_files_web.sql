CREATE TABLE demo_doc (uid_0 {{KEY}}, name_0 VARCHAR(50), file_name_0 VARCHAR(260), file_0 {{BLOB}},
  pic_0 {{BLOB}}, date_up_0 {{DATETIME}}, up_user_uid_0 INTEGER);
INSERT INTO demo_doc (uid_0, name_0, file_name_0, file_0, pic_0) VALUES (1, '操作说明', '操作说明.txt',
'选中一行后：“上传附件”把选择的文件存进这条记录，“打开附件”把它取到程序目录的 temp 文件夹并打开，“显示图片”显示记录里的图片。',
'/* XPM */
static char *sun[] = {
"12 12 3 1",
". c #DDEEFF",
"o c #F5B700",
"r c #D04020",
"............",
"....oooo....",
"..oooooooo..",
"..oooooooo..",
".oooroorooo.",
".oooooooooo.",
".oooooooooo.",
".ooroooorooo",
"..oorrrroo..",
"..oooooooo..",
"....oooo....",
"............"};');
INSERT INTO demo_doc (uid_0, name_0, file_name_0, file_0, pic_0) VALUES (2, '价目表', '价目表.csv',
'产品,单价
钢笔,12.50
笔记本,6.00
',
'/* XPM */
static char *flag[] = {
"8 6 3 1",
"r c #C8102E",
"y c #FFCD00",
"w c #FFFFFF",
"rryrrrrr",
"ryyyrrrr",
"rryrrrrr",
"rrrrrrrr",
"wwwwwwww",
"wwwwwwww"};');
INSERT INTO demo_doc (uid_0, name_0) VALUES (3, '空白记录');

CREATE TABLE demo_xltx (uid_0 {{KEY}}, name_0 VARCHAR(50), file_name_0 VARCHAR(260), file_0 {{BLOB}});
INSERT INTO demo_xltx (uid_0, name_0, file_name_0) VALUES (1, '销售报表', '销售报表.xltx');

CREATE TABLE demo_sales (uid_0 {{KEY}}, product_0 VARCHAR(50), qty_0 INTEGER, price_0 VARCHAR(20), amount_0 VARCHAR(20));
INSERT INTO demo_sales (uid_0, product_0, qty_0, price_0, amount_0) VALUES (1, '钢笔', 12, '12.5', '150');
INSERT INTO demo_sales (uid_0, product_0, qty_0, price_0, amount_0) VALUES (2, '笔记本', 30, '6', '180');
INSERT INTO demo_sales (uid_0, product_0, qty_0, price_0, amount_0) VALUES (3, '文件夹（蓝）', 5, '3.2', '16');
INSERT INTO demo_sales (uid_0, product_0, qty_0, price_0, amount_0) VALUES (4, '赠品', 1, '', '0');

INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (51, 1, 1, 1, 5, '文档附件');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (52, 1, 1, 2, 5, '导出Excel');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (53, 1, 1, 3, 5, '网页与命令');
