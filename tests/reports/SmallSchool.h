#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

// Five students, two staff and two stock items whose values sit on the edges
// the query form must get right: a quote, a percent sign, an underscore, a
// missing address and payable, neighbouring dates.
inline void fillSmallSchool(const QSqlDatabase &db)
{
    auto insert = [&db](const QString &sql, const QList<QVariantList> &rows) {
        for (const QVariantList &row : rows) {
            QSqlQuery q(db);
            q.prepare(sql);
            for (const QVariant &v : row)
                q.addBindValue(v);
            if (!q.exec())
                qFatal("small school: %s", qPrintable(q.lastError().text()));
        }
    };
    const QVariant none(QMetaType::fromType<double>());
    insert(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Sex, State_Of_Origin, "
                          "Birthday, Address, Remarks, Class_Level, Class_Arm, Amount_Payable) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, 'kind', ?, ?, ?)"),
           {{"S001", "Adams", "Ada Grace", "Female", "Lagos", "2012-03-04", "100% Lane", "Primary1",
             "Blue", 5000.0},
            {"S002", "Adeyemi", "Tunde", "Male", "Oyo", "2011-07-01", "1000 Lane", "Primary1", "Red",
             12000.0},
            {"S003", "O'Brien", "Kate", "Female", "Lagos", "2013-01-15", "3 Ring Road", "Primary2",
             "Blue", 3000.0},
            {"S004", "Bello", "Ann_Marie", "Male", "Kano", "2010-12-31", "4 Ring Road", "Secondary1",
             "A", 4999.5},
            {"S005", "Okafor", "AnnXMarie", "Female", "Imo", "2012-03-05", QVariant(QMetaType::fromType<QString>()),
             "Primary1", "Blue", none}});
    insert(QStringLiteral("INSERT INTO Staff (Number, Surname, Marital_Status, Service_Status, "
                          "Monthly_Salary, Speciality) VALUES (?, ?, ?, ?, ?, ?)"),
           {{"T01", "Musa", "Married", "Working", 50000.0, "Mathematics"},
            {"T02", "Eze", "Single", "Leave", 42000.0, "English"}});
    insert(QStringLiteral("INSERT INTO Stock (Number, Material, Last_Purchase_Price, Volume_At_Hand, "
                          "Supplier_Name, Expiry_Date) VALUES (?, ?, ?, ?, ?, ?)"),
           {{"K1", "Chalk", 50.0, 200.0, "Bello and Sons Ltd", "2027-01-01"},
            {"K2", "Paper", 1200.0, 40.0, "Okafor Enterprises", "2026-06-30"}});
}
