CREATE TABLE jump_step (uid_0 {{KEY}}, batch_0 integer, step_0 varchar(40));
CREATE TABLE jump_piece (uid_0 {{KEY}}, no_0 integer);
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (36, 1, 1, 6, 3, '跳转示例');
