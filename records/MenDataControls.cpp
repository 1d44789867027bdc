#include "records/MenData.h"

#include "app/AppState.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"
#include "records/PhotoFolder.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

// A multi-line box, plain or rich, takes and gives plain text alike.
void setLinesText(QWidget *box, const QString &text)
{
    if (auto *lines = qobject_cast<QPlainTextEdit *>(box))
        lines->setPlainText(text);
    else
        static_cast<QTextEdit *>(box)->setPlainText(text);
}

QString linesText(const QWidget *box)
{
    if (const auto *lines = qobject_cast<const QPlainTextEdit *>(box))
        return lines->toPlainText();
    return static_cast<const QTextEdit *>(box)->toPlainText();
}

} // namespace

void MenData::selectOrAdd(QComboBox *box, const QString &text)
{
    int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

void MenData::showFreeText(QComboBox *box, const QString &text)
{
    // A state typed as free text shows as typed.
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        box->setCurrentIndex(index);
    box->setEditText(text);
}

void MenData::showArm(const QString &text)
{
    // The level is shown already; its arms may differ from those now listed.
    refillArms();
    if (text.isEmpty())
        m_classArm->setCurrentIndex(-1);
    else
        selectOrAdd(m_classArm, text);
}

// A box on a tab page not shown takes its text when a page is shown or
// editing starts: laying out text no one sees was a good part of each step
// through the records. Everything that reads the boxes while browsing reads
// them through shownValue(), which knows the text kept back.
bool MenData::showLater(QWidget *box, const QString &text)
{
    if (editing() || box->isVisibleTo(this)) {
        m_unshown.remove(box);
        return false;
    }
    m_unshown.insert(box, text);
    return true;
}

void MenData::showUnshown()
{
    const QHash<QWidget *, QString> unshown = std::exchange(m_unshown, {});
    for (auto it = unshown.cbegin(); it != unshown.cend(); ++it) {
        setLinesText(it.key(), it.value());
        // The box may show the text in its own words (line ends, no-break
        // spaces); the bill's shown value is the bill itself, not its box.
        if (it.key() != m_billText)
            m_asRead.nowShows(it.key(), linesText(it.key()));
    }
}

void MenData::showValue(const Binding &b, const QVariant &value)
{
    // A field without a value shows as empty; the fields after it still show.
    const bool none = value.isNull() || !value.isValid();
    const QString text = none ? QString() : value.toString();
    switch (b.holds) {
    case Holds::Number:
        static_cast<QLineEdit *>(b.control)->setText(none ? QString()
                                                          : Numbers::numberText(value.toDouble()));
        break;
    case Holds::Date: {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        static_cast<QDateEdit *>(b.control)->setDate(date.isValid() ? date : noDate());
        break;
    }
    case Holds::Pick: {
        auto *box = static_cast<QComboBox *>(b.control);
        if (text.isEmpty())
            box->setCurrentIndex(-1);
        else
            selectOrAdd(box, text);
        break;
    }
    case Holds::Sex:
        m_sex->setCurrentIndex(text.compare(QLatin1String("Male"), Qt::CaseInsensitive) == 0 ? 0
                                                                                             : 1);
        break;
    case Holds::Photo:
        m_photoPath = PhotoFolder::pathOf(m_state.AppPath, text);
        break;
    default:
        // The others show the text as it is stored.
        restoreValue(b, text);
        break;
    }
}

QVariant MenData::storedValue(const Binding &b) const
{
    switch (b.holds) {
    case Holds::Number: {
        // An empty box leaves the field without a value; a number is stored as
        // it was read by the box's check; anything else goes to the engine as
        // typed, which refuses it.
        const QString text = static_cast<QLineEdit *>(b.control)->text();
        if (text.trimmed().isEmpty())
            return QVariant(QMetaType::fromType<double>());
        if (const std::optional<double> value = Numbers::readWhole(text))
            return *value;
        return text;
    }
    case Holds::Date: {
        const QDate date = static_cast<QDateEdit *>(b.control)->date();
        if (date == noDate())
            return nullText();
        return date.toString(Qt::ISODate);
    }
    case Holds::Pick:
    case Holds::ClassArm:
    case Holds::Sex:
        if (static_cast<QComboBox *>(b.control)->currentIndex() < 0)
            return nullText();
        return shownValue(b);
    case Holds::Photo:
        return Paths::FileNameOfPath(m_photoPath);
    default:
        return shownValue(b);
    }
}

QVariant MenData::shownValue(const Binding &b) const
{
    switch (b.holds) {
    case Holds::Text:
    case Holds::Number:
        return static_cast<QLineEdit *>(b.control)->text();
    case Holds::Lines:
    case Holds::Rich:
        if (const auto later = m_unshown.constFind(b.control); later != m_unshown.constEnd())
            return *later;
        return linesText(b.control);
    case Holds::Bill:
        return m_money.bill();
    case Holds::Date:
        return static_cast<QDateEdit *>(b.control)->date();
    case Holds::Pick:
    case Holds::Sex:
    case Holds::FreePick:
    case Holds::ClassArm:
        return static_cast<QComboBox *>(b.control)->currentText();
    case Holds::Photo:
        return m_photoPath;
    }
    return {};
}

void MenData::clearValue(const Binding &b, const QDate &date)
{
    switch (b.holds) {
    case Holds::Text:
    case Holds::Number:
        static_cast<QLineEdit *>(b.control)->clear();
        break;
    case Holds::Lines:
        m_unshown.remove(b.control);
        static_cast<QPlainTextEdit *>(b.control)->clear();
        break;
    case Holds::Rich:
        m_unshown.remove(b.control);
        static_cast<QTextEdit *>(b.control)->clear();
        break;
    case Holds::Bill:
        setBill(QString());
        break;
    case Holds::Date:
        static_cast<QDateEdit *>(b.control)->setDate(date);
        break;
    case Holds::Pick:
    case Holds::Sex:
    case Holds::FreePick:
    case Holds::ClassArm: {
        auto *box = static_cast<QComboBox *>(b.control);
        if (box->count() > 0)
            box->setCurrentIndex(0);
        if (box->isEditable())
            box->setEditText(box->itemText(0));
        break;
    }
    case Holds::Photo:
        m_photoPath.clear();
        forgetPhoto();
        break;
    }
}

void MenData::restoreValue(const Binding &b, const QVariant &shown)
{
    const QString text = shown.toString();
    switch (b.holds) {
    case Holds::Text:
    case Holds::Number:
        static_cast<QLineEdit *>(b.control)->setText(text);
        break;
    case Holds::Lines:
    case Holds::Rich:
        if (!showLater(b.control, text))
            setLinesText(b.control, text);
        break;
    case Holds::Bill:
        setBill(text);
        break;
    case Holds::Date:
        static_cast<QDateEdit *>(b.control)->setDate(shown.toDate());
        break;
    case Holds::Pick:
    case Holds::Sex: {
        auto *box = static_cast<QComboBox *>(b.control);
        box->setCurrentIndex(box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        break;
    }
    case Holds::ClassArm:
        showArm(text);
        break;
    case Holds::FreePick:
        showFreeText(static_cast<QComboBox *>(b.control), text);
        break;
    case Holds::Photo:
        setPhotoPath(text, !Paths::FileNameOfPath(text).isEmpty());
        break;
    }
}
