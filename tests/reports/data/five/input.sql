-- fields: Surname,Number
-- title: Five only
INSERT INTO Student (Number, Surname) VALUES
 ('S01', 'Adams'), ('S02', 'Bello'), ('S03', 'Chukwu'), ('S04', 'Dada'), ('S05', 'Eze');
