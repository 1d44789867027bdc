-- Kolvane: the delivered database. The program never creates or alters a table;
-- the build makes Progs/Kolvane.db from this file.
-- Tables are STRICT so that a text which is not a number is refused by a number
-- column; text compares without regard to letter case, as the office expects.
-- Dates are ISO text YYYY-MM-DD; money, numbers and volumes are REAL.

CREATE TABLE Student (
  Number                TEXT COLLATE NOCASE PRIMARY KEY NOT NULL,
  Surname               TEXT COLLATE NOCASE,
  Other_Names           TEXT COLLATE NOCASE,
  Sex                   TEXT COLLATE NOCASE,
  State_Of_Origin       TEXT COLLATE NOCASE,
  Birthday              TEXT COLLATE NOCASE,
  Date_Enlisted         TEXT COLLATE NOCASE,
  Address               TEXT COLLATE NOCASE,
  Next_Of_Kin           TEXT COLLATE NOCASE,
  AddressNOK            TEXT COLLATE NOCASE,
  RelationshipNOK       TEXT COLLATE NOCASE,
  Picture               TEXT COLLATE NOCASE,
  Remarks               TEXT COLLATE NOCASE,
  Date_Last_Updated     TEXT COLLATE NOCASE,
  Class_Level           TEXT COLLATE NOCASE,
  Class_Arm             TEXT COLLATE NOCASE,
  Percentage_Last_Term  REAL,
  Academic_History      TEXT COLLATE NOCASE,
  Debt_From_Last_Term   REAL,
  Bill_This_Term        TEXT COLLATE NOCASE,
  Amount_Payable        REAL,
  Amount_Last_Paid      REAL,
  Cummulative_Paid      REAL,
  Financial_Balance     REAL,
  Payment_History       TEXT COLLATE NOCASE
) STRICT;

-- Leavers: the same columns in the same order (rows are copied positionally).
-- Number is indexed, not unique: every transferred row is kept.
CREATE TABLE FormerStudent (
  Number                TEXT COLLATE NOCASE NOT NULL,
  Surname               TEXT COLLATE NOCASE,
  Other_Names           TEXT COLLATE NOCASE,
  Sex                   TEXT COLLATE NOCASE,
  State_Of_Origin       TEXT COLLATE NOCASE,
  Birthday              TEXT COLLATE NOCASE,
  Date_Enlisted         TEXT COLLATE NOCASE,
  Address               TEXT COLLATE NOCASE,
  Next_Of_Kin           TEXT COLLATE NOCASE,
  AddressNOK            TEXT COLLATE NOCASE,
  RelationshipNOK       TEXT COLLATE NOCASE,
  Picture               TEXT COLLATE NOCASE,
  Remarks               TEXT COLLATE NOCASE,
  Date_Last_Updated     TEXT COLLATE NOCASE,
  Class_Level           TEXT COLLATE NOCASE,
  Class_Arm             TEXT COLLATE NOCASE,
  Percentage_Last_Term  REAL,
  Academic_History      TEXT COLLATE NOCASE,
  Debt_From_Last_Term   REAL,
  Bill_This_Term        TEXT COLLATE NOCASE,
  Amount_Payable        REAL,
  Amount_Last_Paid      REAL,
  Cummulative_Paid      REAL,
  Financial_Balance     REAL,
  Payment_History       TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX FormerStudent_Number ON FormerStudent (Number);

CREATE TABLE Staff (
  Number                TEXT COLLATE NOCASE PRIMARY KEY NOT NULL,
  Surname               TEXT COLLATE NOCASE,
  Other_Names           TEXT COLLATE NOCASE,
  Sex                   TEXT COLLATE NOCASE,
  State_Of_Origin       TEXT COLLATE NOCASE,
  Birthday              TEXT COLLATE NOCASE,
  Date_Enlisted         TEXT COLLATE NOCASE,
  Address               TEXT COLLATE NOCASE,
  Next_Of_Kin           TEXT COLLATE NOCASE,
  AddressNOK            TEXT COLLATE NOCASE,
  RelationshipNOK       TEXT COLLATE NOCASE,
  Picture               TEXT COLLATE NOCASE,
  Remarks               TEXT COLLATE NOCASE,
  Date_Last_Updated     TEXT COLLATE NOCASE,
  Marital_Status        TEXT COLLATE NOCASE,
  Service_Status        TEXT COLLATE NOCASE,
  Qualification         TEXT COLLATE NOCASE,
  Speciality            TEXT COLLATE NOCASE,
  Monthly_Salary        REAL,
  Deductions            TEXT COLLATE NOCASE
) STRICT;

CREATE TABLE FormerStaff (
  Number                TEXT COLLATE NOCASE NOT NULL,
  Surname               TEXT COLLATE NOCASE,
  Other_Names           TEXT COLLATE NOCASE,
  Sex                   TEXT COLLATE NOCASE,
  State_Of_Origin       TEXT COLLATE NOCASE,
  Birthday              TEXT COLLATE NOCASE,
  Date_Enlisted         TEXT COLLATE NOCASE,
  Address               TEXT COLLATE NOCASE,
  Next_Of_Kin           TEXT COLLATE NOCASE,
  AddressNOK            TEXT COLLATE NOCASE,
  RelationshipNOK       TEXT COLLATE NOCASE,
  Picture               TEXT COLLATE NOCASE,
  Remarks               TEXT COLLATE NOCASE,
  Date_Last_Updated     TEXT COLLATE NOCASE,
  Marital_Status        TEXT COLLATE NOCASE,
  Service_Status        TEXT COLLATE NOCASE,
  Qualification         TEXT COLLATE NOCASE,
  Speciality            TEXT COLLATE NOCASE,
  Monthly_Salary        REAL,
  Deductions            TEXT COLLATE NOCASE
) STRICT;
CREATE INDEX FormerStaff_Number ON FormerStaff (Number);

CREATE TABLE Stock (
  Number                      TEXT COLLATE NOCASE PRIMARY KEY NOT NULL,
  Material                    TEXT COLLATE NOCASE,
  Description                 TEXT COLLATE NOCASE,
  Supplier_Name               TEXT COLLATE NOCASE,
  Supplier_Address            TEXT COLLATE NOCASE,
  Alternate_Supplier_Name     TEXT COLLATE NOCASE,
  Alternate_Supplier_Address  TEXT COLLATE NOCASE,
  Last_Purchase_Date          TEXT COLLATE NOCASE,
  Last_Purchase_Price         REAL,
  Last_Purchase_Volume        REAL,
  Volume_At_Hand              REAL,
  Minimum_Volume_To_Stock     REAL,
  Estimated_Purchase_Date     TEXT COLLATE NOCASE,
  Expiry_Date                 TEXT COLLATE NOCASE,
  Date_Last_Updated           TEXT COLLATE NOCASE
) STRICT;

-- The fee schedule: one row per class level, one column per fee item. The
-- column names are what the office sees, so they read as item names.
CREATE TABLE Fees (
  Class_Level        TEXT COLLATE NOCASE PRIMARY KEY NOT NULL,
  Tuition            REAL NOT NULL DEFAULT 0,
  Development_Levy   REAL NOT NULL DEFAULT 0,
  Books              REAL NOT NULL DEFAULT 0,
  Uniform            REAL NOT NULL DEFAULT 0,
  Sports             REAL NOT NULL DEFAULT 0,
  Examination        REAL NOT NULL DEFAULT 0,
  Library            REAL NOT NULL DEFAULT 0,
  Laboratory         REAL NOT NULL DEFAULT 0,
  Computer           REAL NOT NULL DEFAULT 0,
  Lesson             REAL NOT NULL DEFAULT 0,
  Transport          REAL NOT NULL DEFAULT 0,
  Feeding            REAL NOT NULL DEFAULT 0,
  Medical            REAL NOT NULL DEFAULT 0,
  Excursion          REAL NOT NULL DEFAULT 0,
  Stationery         REAL NOT NULL DEFAULT 0,
  Parents_Association REAL NOT NULL DEFAULT 0,
  Report_Card        REAL NOT NULL DEFAULT 0,
  Badge_And_Tie      REAL NOT NULL DEFAULT 0,
  Boarding           REAL NOT NULL DEFAULT 0,
  Registration       REAL NOT NULL DEFAULT 0
) STRICT;

INSERT INTO Fees (Class_Level) VALUES
  ('KinderGarten1'), ('KinderGarten2'),
  ('Nursery1'), ('Nursery2'), ('Nursery3'),
  ('Primary1'), ('Primary2'), ('Primary3'), ('Primary4'), ('Primary5'), ('Primary6'),
  ('Secondary1'), ('Secondary2'), ('Secondary3'), ('Secondary4'),
  ('Secondary5'), ('Secondary6'), ('Secondary7'), ('Secondary8');

-- The ledger of income and purchases other than students' fees.
CREATE TABLE Accounts (
  ID                   INTEGER PRIMARY KEY,
  Date_Of_Transaction  TEXT COLLATE NOCASE,
  Good_Or_Service      TEXT COLLATE NOCASE,
  Amount               REAL
) STRICT;
CREATE INDEX Accounts_Date ON Accounts (Date_Of_Transaction);
