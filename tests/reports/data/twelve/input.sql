-- fields: Number
-- title: Twelve
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12)
INSERT INTO Student (Number) SELECT printf('S%02d', i) FROM n;
