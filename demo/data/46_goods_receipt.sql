CREATE TABLE rcv_supplier (uid_0 {{KEY}}, code_0 varchar(10) NOT NULL UNIQUE, name_0 varchar(50) NOT NULL,
  contact_0 varchar(20), phone_0 varchar(20));
CREATE TABLE rcv_goods (uid_0 {{KEY}}, code_0 varchar(10) NOT NULL UNIQUE, name_0 varchar(50) NOT NULL UNIQUE, unit_0 varchar(10));
CREATE TABLE rcv_head (uid_0 {{KEY}}, no_0 varchar(20) NOT NULL UNIQUE, supplier_0 varchar(50) NOT NULL,
  date_0 varchar(10) NOT NULL, store_0 varchar(30) NOT NULL, saved_0 {{DATETIME}} DEFAULT CURRENT_TIMESTAMP);
CREATE TABLE rcv_line (uid_0 {{KEY}}, head_uid_0 integer NOT NULL, goods_uid_0 integer NOT NULL,
  qty_0 numeric(12,2) NOT NULL CHECK (qty_0 > 0), arrive_0 varchar(10) NOT NULL);

INSERT INTO rcv_supplier (code_0, name_0, contact_0, phone_0) VALUES ('S01', '华东五金商行', '王经理', '021-6688-1001');
INSERT INTO rcv_supplier (code_0, name_0, contact_0, phone_0) VALUES ('S02', '宏达建材', '刘小姐', '010-8899-2002');
INSERT INTO rcv_supplier (code_0, name_0, contact_0, phone_0) VALUES ('S03', '顺风机电', '陈师傅', '020-3344-3003');

INSERT INTO rcv_goods (code_0, name_0, unit_0) VALUES ('A01', '六角螺栓 M8', '盒');
INSERT INTO rcv_goods (code_0, name_0, unit_0) VALUES ('A02', '螺母 M8', '盒');
INSERT INTO rcv_goods (code_0, name_0, unit_0) VALUES ('B01', '平垫圈 8mm', '盒');
INSERT INTO rcv_goods (code_0, name_0, unit_0) VALUES ('C01', '电钻 500W', '台');

INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (46, 1, 1, 6, 4, '入库单');
