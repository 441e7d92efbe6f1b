CREATE TABLE ord_customer (uid_0 {{KEY}}, name_0 varchar(50) NOT NULL);
CREATE TABLE ord_goods (uid_0 {{KEY}}, name_0 varchar(50) NOT NULL, unit_0 varchar(10), price_0 numeric(12,2) NOT NULL);
CREATE TABLE ord_head (uid_0 {{KEY}}, no_0 varchar(20) NOT NULL UNIQUE, customer_0 varchar(50) NOT NULL, date_0 varchar(10) NOT NULL, note_0 varchar(200));
CREATE TABLE ord_line (uid_0 {{KEY}}, head_uid_0 integer NOT NULL, goods_uid_0 integer NOT NULL,
  qty_0 numeric(12,2) NOT NULL CHECK (qty_0 > 0), price_0 numeric(12,2) NOT NULL CHECK (price_0 >= 0),
  amount_0 numeric(14,2));

INSERT INTO ord_customer (name_0) VALUES ('华东五金商行');
INSERT INTO ord_customer (name_0) VALUES ('宏达建材');
INSERT INTO ord_customer (name_0) VALUES ('顺风机电');

INSERT INTO ord_goods (name_0, unit_0, price_0) VALUES ('六角螺栓 M8', '盒', 12.5);
INSERT INTO ord_goods (name_0, unit_0, price_0) VALUES ('螺母 M8', '盒', 6.8);
INSERT INTO ord_goods (name_0, unit_0, price_0) VALUES ('平垫圈 8mm', '盒', 3.2);
INSERT INTO ord_goods (name_0, unit_0, price_0) VALUES ('膨胀螺丝 10mm', '包', 18);
INSERT INTO ord_goods (name_0, unit_0, price_0) VALUES ('电钻 500W', '台', 268);
