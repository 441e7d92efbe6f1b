CREATE TABLE d_delivery_item (
  uid_0 {{KEY}},
  note_no_0 varchar(20),
  name_0 varchar(50),
  spec_0 varchar(50),
  qty_0 integer,
  price_0 numeric(12,2),
  amount_0 numeric(12,2)
);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (1, 'DN-20260042', '六角螺栓', 'M8×40', 200, 0.35, 70.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (2, 'DN-20260042', '六角螺母', 'M8', 200, 0.12, 24.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (3, 'DN-20260042', '平垫圈', 'Φ8', 400, 0.05, 20.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (4, 'DN-20260042', '弹簧垫圈', 'Φ8', 200, 0.06, 12.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (5, 'DN-20260042', '膨胀螺栓', 'M10×100', 50, 2.80, 140.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (6, 'DN-20260042', '自攻螺钉', 'ST4.2×25', 1000, 0.04, 40.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (7, 'DN-20260042', '角码', '40×40', 120, 1.50, 180.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (8, 'DN-20260042', '合页', '4寸', 60, 6.50, 390.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (9, 'DN-20260042', '门吸', '不锈钢', 30, 8.00, 240.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (10, 'DN-20260042', '拉手', '128mm', 80, 4.20, 336.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (11, 'DN-20260042', '滑轨', '400mm', 40, 18.50, 740.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (12, 'DN-20260042', '密封条', '10m/卷', 25, 15.00, 375.00);
INSERT INTO d_delivery_item (uid_0, note_no_0, name_0, spec_0, qty_0, price_0, amount_0) VALUES (13, 'DN-20260042', '硅酮胶', '300ml', 48, 12.80, 614.40);

CREATE TABLE d_customer_contact (
  uid_0 {{KEY}},
  customer_0 varchar(50),
  name_0 varchar(20),
  role_0 varchar(20),
  phone_0 varchar(20)
);
INSERT INTO d_customer_contact (uid_0, customer_0, name_0, role_0, phone_0) VALUES (1, '华东五金有限公司', '王建国', '采购经理', '021-5555-0101');
INSERT INTO d_customer_contact (uid_0, customer_0, name_0, role_0, phone_0) VALUES (2, '华东五金有限公司', '陈丽', '仓库主管', '021-5555-0102');
INSERT INTO d_customer_contact (uid_0, customer_0, name_0, role_0, phone_0) VALUES (3, '华北贸易', '赵强', '经理', '010-5555-0201');

INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (64, 1, 1, 4, 6, '送货单打印');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (65, 1, 1, 5, 6, '客户联系人');
