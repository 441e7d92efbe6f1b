INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (63, 1, 1, 3, 6, '动画窗体');
