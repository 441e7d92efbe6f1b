INSERT INTO log_client_login (user_uid_0, name_0, ip_0, ip_1, time_0, cpt_name_0, mac_0) VALUES (1, 'admin', '192.168.1.20', '192.168.1.20', '2026-01-05 08:55:12', '财务室-01', '00-1A-2B-3C-4D-5E');
INSERT INTO log_client_login (user_uid_0, name_0, ip_0, ip_1, time_0, cpt_name_0, mac_0) VALUES (2, 'zhang', '192.168.1.31', '192.168.1.31', '2026-01-05 09:12:40', '销售部-03', '00-1A-2B-3C-4D-6F');
INSERT INTO log_client_login (user_uid_0, name_0, ip_0, ip_1, time_0, cpt_name_0, mac_0) VALUES (1, 'admin', '192.168.1.20', '192.168.1.20', '2026-01-06 08:47:03', '财务室-01', '00-1A-2B-3C-4D-5E');
INSERT INTO log_client_login (user_uid_0, name_0, ip_0, ip_1, time_0, cpt_name_0, mac_0) VALUES (2, 'zhang', '192.168.1.31', '192.168.1.31', '2026-01-07 13:30:25', '销售部-03', '00-1A-2B-3C-4D-6F');
