#pragma once

#include "Modal.h"
#include "TestProgram.h"
#include "Widgets.h"
#include "records/MenData.h"

#include <QMetaProperty>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

// The record form over a school of its own, driven as the operator drives it:
// click into a box, type, leave it with Tab, click the action buttons.
class RecordFormTest : public QObject
{
protected:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<MenData> form;

    void start()
    {
        p = std::make_unique<TestProgram>();
        p->writeTypicalIni();
        p->prepareState();
    }
    void finish()
    {
        cancelPendingModals();
        form.reset();
        p.reset();
    }
    void openForm(const QString &kind = QStringLiteral("Student"), bool granted = true)
    {
        form.reset(); // the form before goes first, as its window closes
        p->state->RecordKind = kind;
        form = std::make_unique<MenData>(*p->state);
        form->arrangeForOpener(granted);
        QVERIFY(showActive(form.get()));
    }
    // The first row's fields joined by "|", or the engine's words when it fails.
    QString sql(const QString &statement) const
    {
        QSqlQuery q(p->state->db());
        if (!q.exec(statement) || !q.next())
            return q.lastError().text();
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << q.value(i).toString();
        return fields.join(u'|');
    }
    template <class T = QWidget> T *w(const char *name) const
    {
        return widget<T>(form.get(), name);
    }
    // What the boxes show (the text an operator reads), "|" between them as between their names.
    QString shown(const QString &names) const
    {
        QStringList all;
        for (const QString &name : names.split(u'|')) {
            QWidget *box = w(name.toLatin1().constData());
            all << (box ? box->metaObject()->userProperty().read(box).toString()
                        : QLatin1String("<no ") + name + u'>');
        }
        return all.join(u'|');
    }
    void click(int index)
    {
        auto *b = widget<QPushButton>(form.get(), QStringLiteral("cmdAction(%1)").arg(index));
        QVERIFY2(b && b->isVisible(), qPrintable(QStringLiteral("cmdAction(%1)").arg(index)));
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Clicks into each box, selects what it holds and types over it ("box=text").
    void fill(const QStringList &boxes)
    {
        // Back from the fee selection, as the window manager would bring it.
        if (!form->isActiveWindow())
            QVERIFY(showActive(form.get()));
        for (const QString &pair : boxes) {
            QWidget *target = w(pair.section(u'=', 0, 0).toLatin1().constData());
            QVERIFY2(target, qPrintable(pair));
            QTest::mouseClick(target, Qt::LeftButton);
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            if (pair.endsWith(u'='))
                QTest::keyClick(target, Qt::Key_Delete);
            else
                QTest::keyClicks(target, pair.section(u'=', 1));
        }
    }
    void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    QString focused() const { return QApplication::focusWidget()->objectName(); }
};
