CREATE TABLE d_customer (uid_0 {{KEY}}, name_0 varchar(50) NOT NULL UNIQUE, phone_0 varchar(30), kind_0 varchar(10), note_0 varchar(200));

INSERT INTO d_customer (name_0, phone_0, kind_0, note_0) VALUES ('华东五金有限公司', '021-5555-0100', '批发', '月结 30 天');
INSERT INTO d_customer (name_0, phone_0, kind_0, note_0) VALUES ('华北贸易', '010-5555-0200', '代理', '');
INSERT INTO d_customer (name_0, phone_0, kind_0, note_0) VALUES ('城东便利店', '0571-5555-0300', '零售', '周三送货');
