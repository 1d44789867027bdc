-- fields: Surname,Other_Names,Remarks,Address
-- title: Fees & <Dues>
INSERT INTO Student (Number, Surname, Other_Names, Remarks, Address) VALUES
 ('S01', 'Smith & Sons', 'Ann "Nan"', '<script>alert(1)</script>', 'Adébáyọ̀ Ọ̀gúnlẹ̀yẹ, Ìbàdàn');
