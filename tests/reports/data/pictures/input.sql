-- fields: Number,Picture
-- title: Photos
-- photo: Pictures/FrontView/ann.gif
INSERT INTO Student (Number, Picture) VALUES ('S01', 'ann.gif'), ('S02', 'ann.GIF'), ('S03', NULL), ('S04', 'missing.gif');
