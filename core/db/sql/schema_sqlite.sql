CREATE TABLE c_app (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  app_0 text,
  appName_0 text,
  company_0 text,
  ver_0 text,
  ver_1 text,
  exe_0 blob,
  date_exe_0 text,
  date_up_0 datetime
);
CREATE TABLE c_user (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  id_0 text NOT NULL,
  name_0 text,
  pass_0 text,
  state_0 text DEFAULT '正常',
  auth_0 text DEFAULT '',
  auth1_0 text DEFAULT '',
  user_group_uid_0 integer DEFAULT 0,
  loginTime_0 datetime
);
CREATE VIEW view_c_user AS
  SELECT uid_0, id_0, name_0, pass_0, state_0, auth_0, auth1_0, user_group_uid_0, loginTime_0
  FROM c_user;
CREATE TABLE c_menu_dh (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  level_0 integer DEFAULT 0,
  leaf_0 integer DEFAULT 0,
  order_0 integer DEFAULT 0,
  pUid_0 integer DEFAULT 0,
  name_0 text,
  form_0 blob,
  update_user_uid_0 integer DEFAULT 0,
  update_time_0 datetime
);
CREATE TABLE c_menu_dh_down (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  level_0 integer DEFAULT 0,
  leaf_0 integer DEFAULT 0,
  order_0 integer DEFAULT 0,
  pUid_0 integer DEFAULT 0,
  name_0 text,
  form_0 blob,
  update_user_uid_0 integer DEFAULT 0,
  update_time_0 datetime
);
CREATE TABLE c_menu_button (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  menu_uid_0 integer DEFAULT 0,
  button_id_0 integer DEFAULT 0,
  value_0 text,
  sta_0 integer DEFAULT 0
);
CREATE TABLE c_menu_button_down (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  menu_uid_0 integer DEFAULT 0,
  button_id_0 integer DEFAULT 0,
  value_0 text,
  sta_0 integer DEFAULT 0
);
CREATE TABLE c_menu_button_group (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  menu_button_uid_0 integer DEFAULT 0,
  group_uid_0 integer DEFAULT 0,
  sta_0 integer DEFAULT 0
);
CREATE TABLE log_dh_open (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  menu_uid_0 integer DEFAULT 0,
  open_user_uid_0 integer DEFAULT 0,
  menu_name_0 text,
  open_user_id_0 text,
  control_id_0 integer DEFAULT 0,
  time_0 datetime DEFAULT CURRENT_TIMESTAMP
);
CREATE TABLE log_client_login (
  uid_0 integer PRIMARY KEY AUTOINCREMENT,
  user_uid_0 integer DEFAULT 0,
  name_0 text,
  ip_0 text,
  ip_1 text,
  time_0 datetime,
  cpt_name_0 text,
  mac_0 text
);
