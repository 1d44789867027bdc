-- fields: Number
-- title:    
INSERT INTO Student (Number) VALUES ('S01');
