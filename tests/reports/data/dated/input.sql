-- fields: Number,Birthday
-- title:   Birthdays  
-- date: 2026-03-14
INSERT INTO Student (Number, Birthday) VALUES ('S01', '2012-03-04');
