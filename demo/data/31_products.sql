INSERT INTO c_menu_dh (uid_0, level_0, leaf_0, order_0, pUid_0, name_0) VALUES (31, 1, 1, 1, 3, '商品分页列表');
CREATE TABLE qry_products (uid_0 {{KEY}}, code_0 VARCHAR(20), name_0 VARCHAR(60), kind_0 VARCHAR(20), price_0 NUMERIC(10,2));
INSERT INTO qry_products (code_0, name_0, kind_0, price_0)
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 125)
SELECT 'P' || CASE WHEN i < 10 THEN '00' WHEN i < 100 THEN '0' ELSE '' END || i,
       CASE i % 5 WHEN 0 THEN '螺丝' WHEN 1 THEN '螺母' WHEN 2 THEN '垫片' WHEN 3 THEN '扳手' ELSE '电线' END || '-' || i,
       CASE i % 3 WHEN 0 THEN '五金' WHEN 1 THEN '电料' ELSE '工具' END,
       (i % 17) * 1.5 + 2
FROM n;
