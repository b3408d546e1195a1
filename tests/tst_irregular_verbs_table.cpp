// Shows that the irregular verbs table holds every verb on its page and row, with the fixed texts.
#include <QtTest>

#include <array>
#include <iterator>
#include <string_view>

#include "reference/irregular_verbs_table.h"
#include "table_testing.h"

using dilmora::reference::kIrregularVerbs;
using namespace testing;

namespace {

// Text of the given column (1 to 4) in a row (1 to 32) of a page, as the page shows it.
QString cell(int page, int row, int column)
{
    return cellText(kIrregularVerbs, page, row, column);
}

struct FixedRow {
    int page;
    int row;
    const char* name;
    std::array<const char*, 4> texts;
};

// Rows whose texts are fixed word for word, including their own spellings and
// the rows that carry several forms or meanings in one cell.
constexpr FixedRow kFixedRows[] = {
    {1, 1, "abide", {" abide", " ikâmet etmek", " abode", " abode"}},
    {1, 3, "be", {" be (am,is,are)", " olmak", " was, were", " been"}},
    {1, 4, "bear", {" bear", " doğurmak, dayanmak", " bore", " borne"}},
    {1, 9, "bid", {" bid", " teklif etmek", " bid", " bid"}},
    {1, 10, "bid", {" bid", " fiyat arttırmak", " bode", " bidden"}},
    {1, 11, "bind", {" bind", " bağlamak", " bode", " bound"}},
    {1, 18, "burn", {" burn", " yanmak", " burned", " burned"}},
    {1, 19, "burn", {" burn", " tutuşmak", " burnt", " burnt"}},
    {1, 20, "burst", {" burst", " patlamak", " burst", " burst"}},
    {1, 22, "can", {" can", " -e bilmek (kutulamak)", " could", " could"}},
    {1, 23, "catch", {" catch", " yakalamak", " cought", " cought"}},
    {1, 27, "cost", {" cost", " mâl olmak", " cost", " cost"}},
    {1, 32, "draw", {" draw", " çizmek", " drew", " drawn"}},
    {2, 1, "drink", {" drink", " içmek", " drank", " drunk"}},
    {2, 13, "get", {" get", " almak", " got", " got (gotten)"}},
    {2, 17, "hang", {" hang", " asmak", " hung", " hung"}},
    {2, 18, "hang", {" hang", " takmak, asmak", " hanged", " hanged"}},
    {2, 21, "hit", {" hit", " itmek, vurmak", " hit", " hit"}},
    {2, 23, "hurt", {" hurt", " incitmek, yaralamak", " hurt", " hurt"}},
    {2, 26, "lay", {" lay", " yatırmak, yaymak", " laid", " laid"}},
    {2, 28, "learn", {" learn", " öğrenmek", " learnt", " learnt"}},
    {2, 29, "learn", {" learn", " öğrenmek", " learned", " learned"}},
    {2, 31, "let", {" let", " müsade etmek", " let", " let"}},
    {2, 32, "lie", {" lie", " yatmak, uzanmak", " lay", " lain"}},
    {3, 1, "light", {" light", " ışıklandırmak", " lighted", " lighted"}},
    {3, 10, "ride", {" ride", " binmek (at gibi)", " rode", " ridden"}},
    {3, 11, "ring", {" ring", " çalmak (zil gibi)", " rang", " rung"}},
    {3, 23, "show", {" show", " göstermek", " showed", " shown"}},
    {3, 24, "show", {" show", " gösteri yapmak", " showed", " showed"}},
    {3, 31, "slide", {" slide", " koymak", " slid", " slid"}},
    {3, 32, "sow", {" sow", " tohum ekmek", " sowe", " sown"}},
    {4, 1, "speak", {" speak", " konuşmak", " spoke", " spoken"}},
    {4, 3, "spit", {" spit", " tükürmek", " spit", " spit"}},
    {4, 4, "spit", {" spit", " çiselemek", " spot", " spot"}},
    {4, 7, "steal", {" steal", " çalmak (eşya gibi)", " stole", " stolen"}},
    {4, 13, "swing", {" swing", " sallamak", " swang", " swung"}},
    {4, 17, "tell", {" tell", " şöylemek", " told", " told"}},
    {4, 23, "weave", {" weave", " dokunmak, örmek", " wove", " woven"}},
    {4, 25, "wet", {" wet", " nemlendirmek", " wet", " wet"}},
    {4, 26, "wet", {" wet", " ıslatmak, ıslanmak", " wetted", " wetted"}},
    {4, 29, "write", {" write", " yazmak", " wrote", " written"}},
};

} // namespace

class TestIrregularVerbsTable : public QObject {
    Q_OBJECT

private slots:
    void hasFourPagesOf125Verbs();
    void emptyRowsCloseTheLastPage_data();
    void emptyRowsCloseTheLastPage();
    void baseFormsStandInAlphabeticalOrder_data();
    void baseFormsStandInAlphabeticalOrder();
    void fixedRowsKeepTheirTexts_data();
    void fixedRowsKeepTheirTexts();
    void otherRowsHoldOneFormOrMeaningPerCell();
    void turkishMeaningsRepeatOnlyForKnownPairs();
};

void TestIrregularVerbsTable::hasFourPagesOf125Verbs()
{
    QCOMPARE(kIrregularVerbs.rowCount(), 125);
    QCOMPARE(kIrregularVerbs.pageCount(), 4);
}

void TestIrregularVerbsTable::emptyRowsCloseTheLastPage_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("page 4 row 30") << 30;
    QTest::newRow("page 4 row 31") << 31;
    QTest::newRow("page 4 row 32") << 32;
}

void TestIrregularVerbsTable::emptyRowsCloseTheLastPage()
{
    QFETCH(int, row);
    for (int column = 1; column <= 4; ++column) {
        const QString text = cell(4, row, column);
        QVERIFY2(text.isEmpty(),
                 qPrintable(QStringLiteral("column %1 holds \"%2\"").arg(column).arg(text)));
    }
}

void TestIrregularVerbsTable::baseFormsStandInAlphabeticalOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("baseForms");

    const QStringList page1 = {
        "abide", "awake", "be (am,is,are)", "bear",  "beat",  "become", "begin", "behold",
        "bid",   "bid",   "bind",           "bite",  "bleed", "blow",   "break", "bring",
        "build", "burn",  "burn",           "burst", "buy",   "can",    "catch", "choose",
        "cling", "come",  "cost",           "creep", "cut",   "dig",    "do",    "draw",
    };
    const QStringList page2 = {
        "drink",  "drive",  "eat",     "fall",   "feed",  "fight", "find", "fly",
        "forbid", "forget", "forgive", "freeze", "get",   "give",  "go",   "grow",
        "hang",   "hang",   "hear",    "hide",   "hit",   "hold",  "hurt", "keep",
        "know",   "lay",    "lead",    "learn",  "learn", "leave", "let",  "lie",
    };
    const QStringList page3 = {
        "light",  "lose", "make", "mean",  "meet",  "mistake", "pay",   "put",
        "read",   "ride", "ring", "rise",  "run",   "say",     "see",   "seek",
        "sell",   "send", "set",  "shake", "shine", "shoot",   "show",  "show",
        "shrink", "shut", "sing", "sink",  "sit",   "sleep",   "slide", "sow",
    };
    const QStringList page4 = {
        "speak", "spend",  "spit",  "spit",       "spring", "stand", "steal", "stick",
        "stink", "strike", "swear", "swim",       "swing",  "take",  "teach", "tear",
        "tell",  "think",  "throw", "understand", "wake",   "wear",  "weave", "weep",
        "wet",   "wet",    "win",   "wring",      "write",
    };
    QTest::newRow("page 1") << 1 << page1;
    QTest::newRow("page 2") << 2 << page2;
    QTest::newRow("page 3") << 3 << page3;
    QTest::newRow("page 4") << 4 << page4;
}

void TestIrregularVerbsTable::baseFormsStandInAlphabeticalOrder()
{
    QFETCH(int, page);
    QFETCH(QStringList, baseForms);

    const int firstRow = (page - 1) * 32;
    const int rowsOnPage = qMin(32, kIrregularVerbs.rowCount() - firstRow);
    QCOMPARE(qsizetype(rowsOnPage), baseForms.size());
    for (int row = 1; row <= rowsOnPage; ++row) {
        const QString shown = cell(page, row, 1);
        QCOMPARE(shown, QLatin1Char(' ') + baseForms.at(row - 1));
    }
}

void TestIrregularVerbsTable::fixedRowsKeepTheirTexts_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");

    for (const FixedRow& fixed : kFixedRows) {
        QStringList texts;
        for (const char* text : fixed.texts)
            texts << QString::fromUtf8(text);
        const QByteArray name = QStringLiteral("page %1 row %2 %3")
                                    .arg(fixed.page)
                                    .arg(fixed.row)
                                    .arg(fixed.name)
                                    .toUtf8();
        QTest::newRow(name.constData()) << fixed.page << fixed.row << texts;
    }
}

void TestIrregularVerbsTable::fixedRowsKeepTheirTexts()
{
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(QStringList, texts);

    for (int column = 1; column <= 4; ++column)
        QCOMPARE(cell(page, row, column), texts.at(column - 1));
}

void TestIrregularVerbsTable::otherRowsHoldOneFormOrMeaningPerCell()
{
    int checked = 0;
    for (int index = 0; index < kIrregularVerbs.rowCount(); ++index) {
        const int page = index / 32 + 1;
        const int row = index % 32 + 1;
        if (isFixedRow(kFixedRows, page, row))
            continue;
        ++checked;
        for (std::string_view text : kIrregularVerbs.row(index).texts) {
            const QString cell = toQString(text);
            const bool single = !cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('('))
                                && !cell.contains(QLatin1Char(')'));
            QVERIFY2(
                single,
                qPrintable(QStringLiteral("page %1 row %2: \"%3\"").arg(page).arg(row).arg(cell)));
        }
    }
    QCOMPARE(checked, 125 - int(std::size(kFixedRows)));
}

void TestIrregularVerbsTable::turkishMeaningsRepeatOnlyForKnownPairs()
{
    QMap<QString, QStringList> verbsByMeaning;
    for (int index = 0; index < kIrregularVerbs.rowCount(); ++index) {
        const auto& texts = kIrregularVerbs.row(index).texts;
        verbsByMeaning[toQString(texts[1]).mid(1)] << toQString(texts[0]).mid(1);
    }

    QStringList repeated;
    for (auto it = verbsByMeaning.cbegin(); it != verbsByMeaning.cend(); ++it) {
        if (it.value().size() > 1)
            repeated << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    }

    // Sorted by meaning, as the verbs stand in the table within each line.
    const QStringList expected = {
        QStringLiteral("atmak: shoot, throw"),
        QStringLiteral("koymak: put, slide"),
        QStringLiteral("olmak: be (am,is,are), become"),
        QStringLiteral("sallamak: shake, swing"),
        QStringLiteral("yapmak: do, make"),
        QString::fromUtf8("öğrenmek: learn, learn"),
    };
    repeated.sort();
    // Compared as one text so that a failure names the meanings that differ.
    QCOMPARE(repeated.join(QStringLiteral("; ")), expected.join(QStringLiteral("; ")));
}

QTEST_APPLESS_MAIN(TestIrregularVerbsTable)

#include "tst_irregular_verbs_table.moc"
