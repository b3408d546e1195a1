// Shows that the particles table holds its 75 rows on three pages, in order, with the fixed texts.
#include <QtTest>

#include <QHash>
#include <QStringList>

#include "reference/particles_table.h"
#include "table_testing.h"

using dilmora::reference::kParticles;
using namespace testing;

namespace {

// Text of the given column (1 English, 2 Turkish) in a row of a page, as the page shows it.
QString cell(int page, int row, int column)
{
    return cellText(kParticles, page, row, column);
}

// One row of fullRows_data(), named by its place and its English entry without the parenthesis.
void addFullRow(int page, int row, const char* english, const char* turkish)
{
    const QString entry = QString::fromUtf8(english).section(" (", 0, 0).trimmed();
    QTest::addRow("page %d row %d %s", page, row, qPrintable(entry))
        << page << row << QString::fromUtf8(english) << QString::fromUtf8(turkish);
}

} // namespace

class TestParticlesTable : public QObject {
    Q_OBJECT

private slots:
    void shape();
    void englishEntries_data();
    void englishEntries();
    void fullRows_data();
    void fullRows();
    void repeatedTurkishTexts();
};

void TestParticlesTable::shape()
{
    QCOMPARE(kParticles.rowCount(), 75);
    QCOMPARE(kParticles.pageCount(), 3);

    // The last row with content is row 11 of page 3; everything after it is empty in both columns.
    QVERIFY(!cell(3, 11, 1).isEmpty());
    QVERIFY(!cell(3, 11, 2).isEmpty());
    for (int row = 12; row <= 32; ++row) {
        for (int column = 1; column <= 2; ++column)
            QVERIFY2(cell(3, row, column).isEmpty(), qPrintable(QString("row %1").arg(row)));
    }
}

void TestParticlesTable::englishEntries_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("english");

    // clang-format off
    const QList<QStringList> pages = {
        {"about", "above", "according to", "across", "after", "against", "among (amongst)",
         "apart", "apart from", "around", "as", "as concerns", "as regards", "at", "away",
         "back", "backwards", "because of", "before", "behind", "below", "beside", "besides",
         "between", "beyond", "by", "by means of", "concerning", "despite", "down", "downwards",
         "during"},
        {"except", "except for", "excluding", "for", "forwalds", "in", "including",
         "in front of", "inside", "instead of", "in spite of", "into", "inwards", "like",
         "near", "next", "next to", "of", "off", "on", "on top of", "onwards", "out", "out of",
         "outwards", "over", "regarding", "regardless of", "respecting", "round", "side ways",
         "since"},
        {"till", "throught", "throughtout", "to", "towards", "under", "underneath", "until",
         "up", "upon", "upwards"}
    };
    // clang-format on
    for (int page = 1; page <= pages.size(); ++page) {
        const QStringList& entries = pages[page - 1];
        for (int row = 1; row <= entries.size(); ++row) {
            const QString& entry = entries[row - 1];
            QTest::addRow("page %d row %d %s", page, row, qPrintable(entry))
                << page << row << QString(' ' + entry);
        }
    }
}

void TestParticlesTable::englishEntries()
{
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(QString, english);

    QCOMPARE(cell(page, row, 1), english);
    // Every row with content carries a Turkish text as well.
    QVERIFY(cell(page, row, 2).size() > 1);
}

void TestParticlesTable::fullRows_data()
{
    addRowColumns();
    addFullRow(1, 1, " about", " hakkında, civarında, aşağı yukarı");
    addFullRow(1, 2, " above", " üst taraf, yukarda");
    addFullRow(1, 7, " among (amongst)", " arasında (çok şey)");
    addFullRow(1, 9, " apart from", " -den başka");
    addFullRow(1, 11, " as", " olarak, gibi, -dığında, -den dolayı");
    addFullRow(1, 14, " at", " -de, -da");
    addFullRow(1, 18, " because of", " -den dolayı");
    addFullRow(1, 19, " before", " -den önce, -meden önce");
    addFullRow(1, 23, " besides", " yanısıra");
    addFullRow(1, 24, " between", " arasında (iki şey)");
    addFullRow(1, 26, " by", " ile, tarafından, yanında, vasıtasıyla");
    addFullRow(1, 29, " despite", " -e rağmen");
    addFullRow(1, 30, " down", " aşağıda, aşağıya (doğru)");
    addFullRow(1, 32, " during", " esnasında, boyunca");
    addFullRow(2, 1, " except", " hariç, başka");
    addFullRow(2, 2, " except for", " -den başka");
    addFullRow(2, 5, " forwalds", " ileriye, ileri doğru");
    addFullRow(2, 6, " in", " içinde, iç tarafta");
    addFullRow(2, 9, " inside", " içinde, iç tarafta");
    addFullRow(2, 10, " instead of", " -nın yerine");
    addFullRow(2, 11, " in spite of", " -e rağmen");
    addFullRow(2, 12, " into", " içine, -eye");
    addFullRow(2, 17, " next to", " yanına bitişiğine");
    addFullRow(2, 18, " of", " -ın, -in, -nın, -nin, -den, -dan");
    addFullRow(2, 19, " off", " -den, -dan");
    addFullRow(2, 20, " on", " üzerine, üzerinde, -de, -da, hakkında");
    addFullRow(2, 31, " side ways", " yan, yandan, yan taraftan");
    addFullRow(2, 32, " since", " -den beri, -den dolayı");
    addFullRow(3, 1, " till", " -e kadar");
    addFullRow(3, 2, " throught", " içinden");
    addFullRow(3, 3, " throughtout", " boyunca, baştan başa");
    addFullRow(3, 4, " to", " -eye, -e, -a");
    addFullRow(3, 8, " until", " -e kadar");
    addFullRow(3, 10, " upon", " üstüne, üstünde, üzerine, -e, -de");
    addFullRow(3, 11, " upwards", " yukarı doğru");
}

void TestParticlesTable::fullRows()
{
    verifyRow(kParticles);
}

void TestParticlesTable::repeatedTurkishTexts()
{
    // Each Turkish text with the English entries that share it, in table order.
    QHash<QString, QStringList> entriesByMeaning;
    QStringList meaningsInOrder;
    for (int index = 0; index < kParticles.rowCount(); ++index) {
        const auto& texts = kParticles.row(index).texts;
        const QString turkish = toQString(texts[1]);
        if (!entriesByMeaning.contains(turkish))
            meaningsInOrder << turkish;
        entriesByMeaning[turkish] << toQString(texts[0]).trimmed();
    }

    QStringList repeated;
    for (const QString& turkish : meaningsInOrder) {
        const QStringList& entries = entriesByMeaning.value(turkish);
        if (entries.size() > 1)
            repeated << turkish + " <- " + entries.join(", ");
    }

    const QStringList expected = {
        " -den başka <- apart from, except for",
        " -e rağmen <- despite, in spite of",
        " içinde, iç tarafta <- in, inside",
        " -e kadar <- till, until",
    };
    QCOMPARE(repeated, expected);
}

QTEST_APPLESS_MAIN(TestParticlesTable)
#include "tst_particles_table.moc"
