CREATE TABLE d_month_sales (
  -- The monthly sales that entry 61 charts: a grid filled from this table,
  -- drawn as bars and a line, as panels, and as a window of months.
  uid_0 {{KEY}},
  month_0 varchar(10),
  sales_0 integer,
  cost_0 integer,
  profit_0 integer,
  note_0 varchar(20)
);
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (1, '1月', 120, 80, 40, '');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (2, '2月', 135, 90, 45, '');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (3, '3月', 180, 120, 60, '春季促销');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (4, '4月', 160, 110, 50, '');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (5, '5月', 210, 140, 70, '');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (6, '6月', 260, 170, 90, '新品上市');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (7, '7月', 240, 160, 80, '');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (8, '8月', 280, 190, 90, '');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (9, '9月', 300, 200, 100, '开学季');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (10, '10月', 270, 180, 90, '');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (11, '11月', 330, 220, 110, '双十一');
INSERT INTO d_month_sales (uid_0, month_0, sales_0, cost_0, profit_0, note_0) VALUES (12, '12月', 410, 260, 150, '年终');

INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (61, 1, 1, 1, 6, '销售图表');
