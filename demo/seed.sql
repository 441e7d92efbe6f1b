INSERT INTO c_app (uid_0, app_0, appName_0, company_0, ver_0, ver_1)
VALUES (1, '3f2a9c1e-5b7d-4e8a-9c6f-1d2b3a4c5e6f', 'Tembra 演示系统', '演示公司', '1.0.0.1', '1.0.0.0');

INSERT INTO c_user (uid_0, id_0, name_0, pass_0, state_0, auth_0, auth1_0)
VALUES (1, 'admin', '系统管理员', '0', '正常', '1,11,12,2,21,22,23,24', '11,21');
INSERT INTO c_user (uid_0, id_0, name_0, pass_0, state_0, auth_0, auth1_0)
VALUES (2, 'zhang', '张三', '0', '正常', '2,21,22', '21');
INSERT INTO c_user (uid_0, id_0, name_0, pass_0, state_0, auth_0, auth1_0)
VALUES (3, 'li', '李四', '0', '停用', '2,21', '');

INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (1, 0, 0, 1, 0, '系统管理');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (11, 1, 1, 1, 1, '用户列表');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (12, 1, 1, 2, 1, '登录日志');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (2, 0, 0, 2, 0, '业务示例');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (21, 1, 1, 1, 2, '客户资料');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (22, 1, 1, 2, 2, '订单录入');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (23, 1, 1, 3, 2, '客户资料(只读)');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (24, 1, 1, 4, 2, '事件示例');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (3, 0, 0, 3, 0, '查询与语句');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (4, 0, 0, 4, 0, '单据与表格');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (5, 0, 0, 5, 0, '文件与网页');
INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (6, 0, 0, 6, 0, '图表与打印');
