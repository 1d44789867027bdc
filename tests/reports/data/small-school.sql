-- Five students, two staff and two stock items whose values sit on the edges
-- the query form must get right: a quote, a percent sign, an underscore, a
-- missing address and payable, neighbouring dates.
INSERT INTO Student (Number, Surname, Other_Names, Sex, Birthday, Address, Remarks, Class_Level, Class_Arm, Amount_Payable) VALUES
 ('S001', 'Adams', 'Ada Grace', 'Female', '2012-03-04', '100% Lane', 'r', 'Primary1', 'Blue', 5000),
 ('S002', 'Adeyemi', 'Tunde', 'Male', '2011-07-01', '1000 Lane', 'r', 'Primary1', 'Red', 12000),
 ('S003', 'O''Brien', 'Kate', 'Female', '2013-01-15', '3 Ring Road', 'r', 'Primary2', 'Blue', 3000),
 ('S004', 'Bello', 'Ann_Marie', 'Male', '2010-12-31', '4 Ring Road', 'r', 'Secondary1', 'A', 4999.5),
 ('S005', 'Okafor', 'AnnXMarie', 'Female', '2012-03-05', NULL, 'r', 'Primary1', 'Blue', NULL);
INSERT INTO Staff (Number, Surname, Monthly_Salary, Speciality) VALUES
 ('T01', 'Musa', 50000, 'Mathematics'), ('T02', 'Eze', 42000, 'English');
INSERT INTO Stock (Number, Material, Last_Purchase_Price) VALUES
 ('K1', 'Chalk', 50), ('K2', 'Paper', 1200);
