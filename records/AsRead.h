#pragma once

#include <QHash>
#include <QVariant>

// What each control of a row showed when the row was read, with the value
// read, so that a field the operator did not change is written back exactly as
// it was read (line ends, no-break spaces, long text and all).
class AsRead
{
public:
    void clear() { m_read.clear(); }
    void remember(const void *control, const QVariant &stored, const QVariant &shown)
    {
        m_read.insert(control, {stored, shown});
    }
    // The control shows the same value read in other words now (its text was
    // set after the row was read, and the box reworded it).
    void nowShows(const void *control, const QVariant &shown)
    {
        if (const auto it = m_read.find(control); it != m_read.end())
            it->shown = shown;
    }
    bool unchanged(const void *control, const QVariant &shown) const
    {
        const auto it = m_read.constFind(control);
        return it != m_read.cend() && it->shown == shown;
    }
    // The value to store: as read while the control shows what it showed then.
    QVariant valueToStore(const void *control, const QVariant &shown, const QVariant &typed) const
    {
        return unchanged(control, shown) ? m_read.value(control).stored : typed;
    }

private:
    struct Read
    {
        QVariant stored;
        QVariant shown;
    };
    QHash<const void *, Read> m_read;
};
