-- fields: Surname,Number
-- title: Five only
-- generations: 2
INSERT INTO Student (Number, Surname) VALUES
 ('S01', 'Adams'), ('S02', 'Bello'), ('S03', 'Chukwu'), ('S04', 'Dada'), ('S05', 'Eze');
