-- fields: Number,Class_Level
-- title: Fees
-- generations: 2
INSERT INTO Student (Number, Class_Level) VALUES ('S01', 'Primary1'), ('S02', 'Primary2');
