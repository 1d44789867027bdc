-- fields: Number,Surname,Amount_Payable
-- title: Class List
INSERT INTO Student (Number, Surname, Amount_Payable) VALUES
 ('S01', 'Adams', 5000), ('S02', 'Bello', 12000.5), ('S03', 'Chukwu', NULL), ('S04', 'Dada', 0),
 ('S05', 'Eze', 4999.75), ('S06', 'Fashola', 1500), ('S07', 'Garba', 300);
