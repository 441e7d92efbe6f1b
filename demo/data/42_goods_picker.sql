CREATE TABLE pick_category (uid_0 {{KEY}}, parent_0 integer NOT NULL, name_0 varchar(30) NOT NULL);
CREATE TABLE pick_goods (uid_0 {{KEY}}, category_uid_0 integer NOT NULL, code_0 varchar(10) NOT NULL UNIQUE,
  name_0 varchar(50) NOT NULL, spec_0 varchar(30), unit_0 varchar(10), price_0 numeric(12,2) NOT NULL);

INSERT INTO pick_category (uid_0, parent_0, name_0) VALUES (1, 0, '紧固件');
INSERT INTO pick_category (uid_0, parent_0, name_0) VALUES (2, 1, '螺栓螺母');
INSERT INTO pick_category (uid_0, parent_0, name_0) VALUES (3, 1, '垫圈');
INSERT INTO pick_category (uid_0, parent_0, name_0) VALUES (4, 0, '电动工具');

INSERT INTO pick_goods (uid_0, category_uid_0, code_0, name_0, spec_0, unit_0, price_0) VALUES (1, 2, 'A01', '六角螺栓', 'M8×40', '盒', 12.5);
INSERT INTO pick_goods (uid_0, category_uid_0, code_0, name_0, spec_0, unit_0, price_0) VALUES (2, 2, 'A02', '六角螺母', 'M8', '盒', 6.8);
INSERT INTO pick_goods (uid_0, category_uid_0, code_0, name_0, spec_0, unit_0, price_0) VALUES (3, 2, 'A03', '膨胀螺丝', 'M10×80', '包', 18);
INSERT INTO pick_goods (uid_0, category_uid_0, code_0, name_0, spec_0, unit_0, price_0) VALUES (4, 3, 'B01', '平垫圈', '8mm', '盒', 3.2);
INSERT INTO pick_goods (uid_0, category_uid_0, code_0, name_0, spec_0, unit_0, price_0) VALUES (5, 3, 'B02', '弹簧垫圈', '8mm', '盒', 4.5);
INSERT INTO pick_goods (uid_0, category_uid_0, code_0, name_0, spec_0, unit_0, price_0) VALUES (6, 4, 'C01', '电钻', '500W', '台', 268);
INSERT INTO pick_goods (uid_0, category_uid_0, code_0, name_0, spec_0, unit_0, price_0) VALUES (7, 4, 'C02', '角磨机', '100mm', '台', 199);

INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (42, 1, 1, 2, 4, '选货单');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (43, 1, 1, 3, 4, '明细录入(带出品名单价)');
