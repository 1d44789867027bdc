-- fields: Number,Picture
-- title:    
INSERT INTO Student (Number, Picture) VALUES ('S01', 'ann.gif'), ('S02', 'ann.GIF'), ('S03', NULL), ('S04', 'missing.gif');
