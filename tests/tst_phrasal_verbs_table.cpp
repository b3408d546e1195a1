// Shows that the phrasal verbs table holds its 304 rows on ten pages, in the shown order, with the
// fixed texts, and that the other Turkish texts keep to the form of a meaning list.
#include <QtTest>

#include <QStringList>

#include <string_view>

#include "reference/phrasal_verbs_table.h"
#include "table_testing.h"

using dilmora::reference::kPhrasalVerbs;
using namespace testing;

namespace {

// Text of the given column (1 English, 2 Turkish) in a row of a page, as the page shows it.
QString cell(int page, int row, int column)
{
    return cellText(kPhrasalVerbs, page, row, column);
}

struct FixedRow {
    int page;
    int row;
    const char* english;
    const char* turkish;
};

// Rows whose two texts are fixed word for word, with their own spellings and punctuation.
constexpr FixedRow kFixedRows[] = {
    {1, 1, " add up", " toplamak, ilave etmek"},
    {1, 5, " ask (someone) out", " davet etmek"},
    {1, 7, " back down (back off)", " geri çekilmek, hatasını kabullenmek"},
    {1, 30, " bring on", " istenmedik bir şeye yol açmak"},
    {1, 32, " bring up", " büyütmek, yetiştirmek"},
    {2, 1, " brush up", " gözden geçirmek, tekrar etmek"},
    {2, 6, " call at", " kısa bir ziyafet yapmak"},
    {2, 8, " call for", " gerektirmek"},
    {2, 9, " call in", " (yardım) çağırmak"},
    {2, 14, " call for", " sevmek, bakmak, ihtimam göstermek"},
    {2, 24, " cut off", " (bir telefon) kesmek"},
    {2, 29, " die down", " azarlamak"},
    {2, 31, " do (someone) in", " yorulmak, (birini) öldürmek"},
    {2, 32, " do over", " tekrarlamak, yeniden düzenlemek"},
    {3, 1, " do with", " yeterli bulmak"},
    {3, 2, " do with out", " -sız idare etmek"},
    {3, 9, " drop out", " terketmek"},
    {3, 11, " drow (someone) from", " -den elde etmek"},
    {3, 12, " engage (someone) in", " meşgul etmek, olmak"},
    {3, 14, " fall behind/with/in", " zamanında ödeme yapmak"},
    {3, 18, " figure on", " anlamak, yorumlamak"},
    {3, 20, " feel up to", " kendini iyi hissetmek (bir şey için)"},
    {3, 21, " fill (someone) in/on", " bilgilendirmek, bilgi vermek"},
    {3, 29, " get along/on with", " biriyle iyi geçinmek"},
    {3, 32, " get away", " kaçmak"},
    {4, 1, " get away with", " suç işleyip yakalanmak"},
    {4, 9, " get on", " (bir araca) binmek, uyum içinde olmak"},
    {4, 10, " get (someone) out of", " elde etmek"},
    {4, 11, " get out of", " ayırmak, (bir yerden) çıkarmak"},
    {4, 13, " get (someone) over/with", " bitirmek"},
    {4, 18, " give in", " teslim olamak, vermek"},
    {4, 19, " give off", " çalmak (zil gibi), çıkarmak"},
    {4, 21, " give up", " bırakmak, terk etmek, teslim olamak"},
    {4, 23, " go around", " herkeze yetmek"},
    {4, 28, " go off", " çalmak (bir alet), patlamak, başarıyla gitmek"},
    {4, 32, " go through", " gözden geçirmek, harcamak, tüketmek"},
    {5, 1, " go over with", " bir şeyle başarılı olmak"},
    {5, 4, " hand out", " dağıtmak (bir şey)"},
    {5, 5, " hand up", " kapatmak (bir şey)"},
    {5, 6, " head into", " -e gitmek (sürmek)"},
    {5, 7, " hit on", " tesdüfen bulmak"},
    {5, 10, " hold up", " soygun yapmak, soymak, geciktirmek, iyi gitmek"},
    {5, 11, " keep on eye on", " göz etmek, korumak"},
    {5, 17, " kick (something) round", " tartışmak"},
    {5, 20, " laugh of", " gülüp geçmek"},
    {5, 24, " lead someone on", " (bir kimseyi) kandırma"},
    {5, 25, " leave out (something)", " hariç tutmak, koymamak"},
    {5, 26, " lend (something) to", " (bir şeye) önem kazandırmak"},
    {5, 28, " let (someone) in for", " sebep olmak"},
    {5, 29, " let (someone) in on", " sırrını açıklamak"},
    {5, 32, " let up", " kuyruğa girmek"},
    {6, 1, " live off", " bir şeyin geliriyle geçinmek"},
    {6, 5, " look after", " (bir kimseye) bakmak, hizmet vermek"},
    {6, 13, " look out (for)", " dikkat etmek"},
    {6, 16, " look up", " ziyaret etmek, (bir kitaptan) aramak"},
    {6, 17, " loose track of", " (bir yerin) izini kaybetmek"},
    {6, 18, " make for", " yaklaşmak (bir yere)"},
    {6, 30, " part with", " -den ayrılamak"},
    {6, 32, " pass out", " bayılmak"},
    {7, 1, " pay off", " bütün borçları ödemek"},
    {7, 3, " pick up", " almak (bir şeyi veya birini), kapmak"},
    {7, 7, " pull in/out", " yola çıkmak, varmak"},
    {7, 9, " pull (something) to pleces", " tenkit etmek"},
    {7, 10, " put (something) above", " olduğundan fazla değer verme"},
    {7, 20, " put (someone) through", " bağlamak, başarıya ulaştırmak"},
    {7, 21, " put to use (good)", " iyi kullanmak, değelendirmek"},
    {7, 32, " run over", " tekrarlamak, taşmak, çiğnemek"},
    {8, 1, " run up", " borcunu arttırmak"},
    {8, 3, " see (someone) off", " uğurlamak"},
    {8, 4, " see too", " üstüne almak"},
    {8, 7, " set(something) aside for", " ayırmak"},
    {8, 13, " steep on", " kararı ertelemek, bir sonraki güne atmak"},
    {8, 25, " take at (one's) word", " sözüne güvenmek"},
    {8, 32, " take into account", " hesaba katmak, dikkate almak"},
    {9, 1, " take off", " çıkarmak, izin almak, havalanmak, indirim yapmak"},
    {9, 7, " take(something) up with", " görüş almak"},
    {9, 8, " take back to", " karşı gelmek"},
    {9, 9, " take down to", " aşağılayarak konuşmak"},
    {9, 10, " talk (someone) into", " bir şey yapmaya ikna etmek"},
    {9, 11, " talk over (with)", " tartışmak, görüşmek"},
    {9, 13, " tell(people/things) apart", " ayırt etmek"},
    {9, 28, " turn down", " reddetmek"},
    {9, 32, " turn (something) out", " sonuçlanmak, üretmek"},
    {10, 1, " over to", " vermek, bırakmak, teslim etmek"},
    {10, 4, " turn down", " kapamak, kısmak"},
    {10, 5, " verge on", " -e benzemek, ...gibi olmak"},
    {10, 8, " wear off", " eskimek,azalmak"},
    {10, 10, " wait on", " (lokanta, mağaza) servis yapmak"},
    {10, 12, " work out", " çalışmak, başarılı olmak, planlamak, çözüm bulmak"},
    {10, 16, " write down", " yazmak, not almak"},
};

// Rows of the whole table (from 1) whose English text is the given one.
QList<int> rowsOf(const QString& english)
{
    QList<int> rows;
    for (int index = 0; index < kPhrasalVerbs.rowCount(); ++index) {
        if (toQString(kPhrasalVerbs.row(index).texts[0]) == english)
            rows << index + 1;
    }
    return rows;
}

} // namespace

class TestPhrasalVerbsTable : public QObject {
    Q_OBJECT

private slots:
    void shape();
    void englishTexts_data();
    void englishTexts();
    void fixedRows_data();
    void fixedRows();
    void shownOrder_data();
    void shownOrder();
    void repeatedEntries_data();
    void repeatedEntries();
    void writtenMeanings_data();
    void writtenMeanings();
};

void TestPhrasalVerbsTable::shape()
{
    QCOMPARE(kPhrasalVerbs.rowCount(), 304);
    QCOMPARE(kPhrasalVerbs.pageCount(), 10);

    // Page 10 holds rows 289 to 304 in its rows 1 to 16; rows 17 to 32 are empty in both columns.
    for (int row = 1; row <= 16; ++row) {
        QVERIFY2(cell(10, row, 1).size() > 1, qPrintable(QString("row %1").arg(row)));
        QVERIFY2(cell(10, row, 2).size() > 1, qPrintable(QString("row %1").arg(row)));
    }
    for (int k = 33; k <= 64; ++k)
        QVERIFY2(kPhrasalVerbs.text(10, k).empty(), qPrintable(QString("text %1").arg(k)));
}

void TestPhrasalVerbsTable::englishTexts_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("english");

    // clang-format off
    const QList<QStringList> pages = {
        {"add up", "add up to", "air out", "allow for", "ask (someone) out", "attend to",
         "back down (back off)", "back out of", "bear out", "bear up", "become of", "be in on",
         "believe in", "block out", "blow out", "blow up", "break away", "break down",
         "break in", "break in on", "break into", "break off", "break out", "break through",
         "break up", "bring about", "bring back", "bring in", "bring off", "bring on",
         "bring through", "bring up"},
        {"brush up", "bump into", "buy off", "buy out", "buy up", "call at", "call down",
         "call for", "call in", "call off", "call on", "call out", "call up", "call for",
         "carry off", "carry on", "carry on with", "carry out", "catch on", "catch up on",
         "catch up with", "check off", "cut in", "cut off", "cut out for", "cut up", "deal in",
         "deal with", "die down", "do away with", "do (someone) in", "do over"},
        {"do with", "do with out", "doze off", "draw out", "draw up", "drive at", "drop in",
         "drop off", "drop out", "dwell on", "drow (someone) from", "engage (someone) in",
         "face up to", "fall behind/with/in", "fall in with", "fall out", "fall through",
         "figure on", "feel like", "feel up to", "fill (someone) in/on", "fill out", "find out",
         "get about", "get across", "get after", "get ahead", "get along", "get along/on with",
         "get around", "get at", "get away"},
        {"get away with", "get behind", "get by", "get down", "get even with", "get in",
         "get into", "get off", "get on", "get (someone) out of", "get out of", "get over",
         "get (someone) over/with", "get through", "get through to", "get up", "give away",
         "give in", "give off", "give out", "give up", "go about", "go around", "go back on",
         "go by", "go in for", "go into", "go off", "go on with", "go out", "go over",
         "go through"},
        {"go over with", "go up", "hand in", "hand out", "hand up", "head into", "hit on",
         "hold on", "hold out", "hold up", "keep on eye on", "keep off", "keep on", "keep out",
         "keep up", "keep up with", "kick (something) round", "knock down", "knock out",
         "laugh of", "lay aside", "lay off", "lay to rest", "lead someone on",
         "leave out (something)", "lend (something) to", "let down", "let (someone) in for",
         "let (someone) in on", "let off", "let out", "let up"},
        {"live off", "live on", "live through", "live up to", "look after", "look back on",
         "look down upon", "look for", "look forward to", "look in on", "look into", "look on",
         "look out (for)", "look over", "look to", "look up", "loose track of", "make for",
         "make light of", "make off with", "make out", "make sense of", "make up",
         "make up for", "mark down", "meet with", "mix up", "occur to", "open up", "part with",
         "pass away", "pass out"},
        {"pay off", "pick out", "pick up", "play by ear", "plow into", "point out",
         "pull in/out", "pull through", "pull (something) to pleces", "put (something) above",
         "put across", "put aside", "put away", "put by", "put down", "put forth", "put off",
         "put on", "put out", "put (someone) through", "put to use (good)", "put up",
         "put up with", "rule out", "run across", "run around with", "run away", "run down",
         "run into", "run out", "run out of", "run over"},
        {"run up", "see about", "see (someone) off", "see too", "sell off", "send for",
         "set(something) aside for", "set in", "set out", "set up", "settle down", "show off",
         "steep on", "speak for", "speak out", "stand by", "stand for", "stand out",
         "stand up for", "stand up to", "stick to", "take a stand on", "take advantage of",
         "take after", "take at (one's) word", "take away", "take back", "take charge of",
         "take down", "take exception", "take in", "take into account"},
        {"take off", "take on", "take out", "take over", "take to", "take up",
         "take(something) up with", "take back to", "take down to", "talk (someone) into",
         "talk over (with)", "tear up", "tell(people/things) apart", "tell on", "think over",
         "think through", "think up", "throw away", "throw back", "throw off", "throw out",
         "throw up", "touch on", "try on", "try out", "tune in", "turn away", "turn down",
         "turn into", "turn on", "turn off", "turn (something) out"},
        {"over to", "turn to", "turn up", "turn down", "verge on", "walk out on", "watch out",
         "wear off", "wear out", "wait on", "wake up", "work out", "work up to",
         "weigh against", "wipe out", "write down"}
    };
    // clang-format on
    for (int page = 1; page <= pages.size(); ++page) {
        QStringList texts;
        for (const QString& text : pages[page - 1])
            texts << ' ' + text;
        QTest::addRow("page %d", page) << page << texts;
    }
}

void TestPhrasalVerbsTable::englishTexts()
{
    QFETCH(int, page);
    QFETCH(QStringList, english);

    QStringList shown;
    for (int row = 1; row <= english.size(); ++row) {
        shown << cell(page, row, 1);
        // Every row with content carries a Turkish text as well.
        QVERIFY2(cell(page, row, 2).size() > 1, qPrintable(QString("row %1").arg(row)));
    }
    QCOMPARE(shown, english);
}

void TestPhrasalVerbsTable::fixedRows_data()
{
    addRowColumns();
    for (const FixedRow& fixed : kFixedRows) {
        const QString english = QString::fromUtf8(fixed.english);
        QTest::addRow("page %d row %d %s", fixed.page, fixed.row, qPrintable(english.trimmed()))
            << fixed.page << fixed.row << english << QString::fromUtf8(fixed.turkish);
    }
}

void TestPhrasalVerbsTable::fixedRows()
{
    verifyRow(kPhrasalVerbs);
}

void TestPhrasalVerbsTable::shownOrder_data()
{
    // Rows of the whole table (from 1) at which each English text must stand, in that order:
    // a sorted table or one rid of its repeated entries puts them elsewhere.
    QTest::addColumn<QString>("english");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("call for twice on page 2") << " call for" << QList<int>{40, 46};
    QTest::newRow("turn down on pages 9 and 10") << " turn down" << QList<int>{284, 292};
    QTest::newRow("become of on page 1") << " become of" << QList<int>{11};
    QTest::newRow("be in on after become of") << " be in on" << QList<int>{12};
    QTest::newRow("figure on on page 3") << " figure on" << QList<int>{82};
    QTest::newRow("feel like after figure on") << " feel like" << QList<int>{83};
    QTest::newRow("take up with on page 9") << " take(something) up with" << QList<int>{263};
    QTest::newRow("take back to after take up with") << " take back to" << QList<int>{264};
    QTest::newRow("wear out on page 10") << " wear out" << QList<int>{297};
    QTest::newRow("wait on after wear out") << " wait on" << QList<int>{298};
}

void TestPhrasalVerbsTable::shownOrder()
{
    QFETCH(QString, english);
    QFETCH(QList<int>, rows);

    QCOMPARE(rowsOf(english), rows);
}

void TestPhrasalVerbsTable::repeatedEntries_data()
{
    // A repeated English text keeps both of its rows, each with its own meanings.
    QTest::addColumn<QString>("english");
    QTest::addColumn<QStringList>("turkish");

    QTest::newRow("call for") << " call for"
                              << QStringList{" gerektirmek", " sevmek, bakmak, ihtimam göstermek"};
    QTest::newRow("turn down") << " turn down" << QStringList{" reddetmek", " kapamak, kısmak"};
}

void TestPhrasalVerbsTable::repeatedEntries()
{
    QFETCH(QString, english);
    QFETCH(QStringList, turkish);

    QStringList shown;
    for (int row : rowsOf(english))
        shown << toQString(kPhrasalVerbs.row(row - 1).texts[1]);
    QCOMPARE(shown, turkish);
}

void TestPhrasalVerbsTable::writtenMeanings_data()
{
    QTest::addColumn<QString>("turkish");

    for (int page = 1; page <= kPhrasalVerbs.pageCount(); ++page) {
        for (int row = 1; row <= 32 && !cell(page, row, 1).isEmpty(); ++row) {
            if (isFixedRow(kFixedRows, page, row))
                continue;
            QTest::addRow("page %d row %d %s", page, row, qPrintable(cell(page, row, 1).trimmed()))
                << cell(page, row, 2);
        }
    }
}

void TestPhrasalVerbsTable::writtenMeanings()
{
    QFETCH(QString, turkish);

    // One leading blank, then one to three meanings joined by a comma and one blank,
    // short enough for one line of the Turkish column.
    QVERIFY(turkish.startsWith(' '));
    QVERIFY(turkish.size() <= 45);
    QVERIFY(!turkish.contains('(') && !turkish.contains(')'));
    const QStringList meanings = turkish.mid(1).split(", ");
    QVERIFY(meanings.size() <= 3);
    for (const QString& meaning : meanings) {
        QVERIFY2(!meaning.isEmpty() && meaning == meaning.trimmed(), qPrintable(meaning));
        QVERIFY2(!meaning.contains(',') && !meaning.contains("  "), qPrintable(meaning));
    }
}

QTEST_APPLESS_MAIN(TestPhrasalVerbsTable)
#include "tst_phrasal_verbs_table.moc"
