CREATE TABLE d_shift_node (
  -- The shift board of entry 62: workshops, their teams and their people,
  -- each person with a planned and an actual shift on the 24-hour scale
  -- (start * 10000 + minutes short of midnight, minutes from midnight, or
  -- minutes back from midnight when negative), and the header texts.
  uid_0 integer PRIMARY KEY,
  parent_0 integer,
  name_0 varchar(20),
  post_0 varchar(20),
  plan_0 varchar(20),
  actual_0 varchar(20),
  colour_0 varchar(20)
);
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (1, 0, '一车间', '', '0', '0', '');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (2, 0, '二车间', '', '0', '0', '');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (11, 1, '装配班', '', '0', '0', '');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (12, 1, '检验班', '', '0', '0', '');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (21, 2, '机加班', '', '0', '0', '');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (111, 11, '王强', '组长', '4800480', '4650450', '255,52,120,246');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (112, 11, '刘敏', '装配工', '4800480', '4800420', '255,52,120,246');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (113, 11, '陈刚', '装配工', '9600000', '9600030', '255,230,120,30');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (121, 12, '赵丽', '检验员', '4800480', '4800480', '255,52,120,246');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (122, 12, '孙涛', '检验员', '480', '500', '255,120,60,180');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (211, 21, '周鹏', '车工', '4800480', '5100480', '255,52,120,246');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (212, 21, '吴静', '铣工', '9600000', '9600060', '255,230,120,30');
INSERT INTO d_shift_node (uid_0, parent_0, name_0, post_0, plan_0, actual_0, colour_0) VALUES (213, 21, '郑浩', '磨工', '480', '470', '255,120,60,180');

CREATE TABLE d_shift_head (
  order_0 integer,
  title_0 varchar(30)
);
INSERT INTO d_shift_head (order_0, title_0) VALUES (1, '计划班次 0—24时');
INSERT INTO d_shift_head (order_0, title_0) VALUES (2, '实际出勤 0—24时');

INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (62, 1, 1, 2, 6, '排班看板');
