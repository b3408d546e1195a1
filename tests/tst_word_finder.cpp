// Finding rows by typed text on the real content: what comes first, the
// Turkish letters and their plain twins, the list of the main window, and
// hostile input that must match nothing, quickly.
#include "reference/findable.h"
#include "reference/irregular_verbs_window.h"
#include "reference/numbers_window.h"
#include "reference/particles_window.h"
#include "reference/phrasal_verbs_window.h"

#include <QElapsedTimer>
#include <QTest>

using namespace dilmora::reference;

namespace {

/// The windows in the menu's order, as the main window finds in them.
std::vector<const FindableWindow*> windows()
{
    return {&pagedDesign<kIrregularVerbsOutline>().findable(),
            &pagedDesign<kPhrasalVerbsOutline>().findable(),
            &pagedDesign<kParticlesOutline>().findable(), &numbersFindable()};
}

const FindableWindow& windowTitled(const QString& title)
{
    for (const FindableWindow* window : windows()) {
        if (QString::fromUtf8(window->title().data(), qsizetype(window->title().size())) == title)
            return *window;
    }
    qFatal("no window titled %s", qPrintable(title));
}

} // namespace

class TestWordFinder : public QObject {
    Q_OBJECT

private slots:
    void firstMatch_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("first"); // its name in a list; "" for no match

        const auto row = [](const char* name, const char* window, const QString& typed,
                            const char* first) {
            QTest::newRow(name) << QString::fromUtf8(window) << typed
                                << (*first ? QString::fromUtf8(first) + " — " + window : QString());
        };
        // Words and what is ignored.
        row("runs across words", "Phrasal Verbs", "look af", "look after");
        row("case and leading blanks", "Phrasal Verbs", "   LOOK AFTER", "look after");
        row("words in parentheses left out", "Phrasal Verbs", "ask out", "ask (someone) out");
        row("or typed", "Phrasal Verbs", "ask someone out", "ask (someone) out");
        row("a misspelt entry as it stands", "Phrasal Verbs", "drow from", "drow (someone) from");
        row("parentheses without a blank", "Phrasal Verbs", "set aside",
            "set(something) aside for");
        row("a slash between words", "Phrasal Verbs", "fill in on", "fill (someone) in/on");
        row("an apostrophe", "Phrasal Verbs", "take at ones", "take at (one's) word");
        row("a typed blank ends the word", "Irregular Verbs", "go ", "go");
        row("a hyphen", "Particles", "-e göre", "according to");
        // Ranking: the entry's start, then a later English word, then Turkish.
        row("the entry's start first", "Irregular Verbs", "be", "be (am,is,are)");
        row("other forms of a verb", "Irregular Verbs", "drank", "drink");
        row("a misspelt form as it stands", "Irregular Verbs", "cought", "catch");
        row("Turkish in table order", "Irregular Verbs", "olmak", "be (am,is,are)");
        // Turkish letters.
        row("ç typed", "Irregular Verbs", "içmek", "drink");
        row("c for ç", "Irregular Verbs", "icmek", "drink");
        row("capital I for i", "Irregular Verbs", "ICMEK", "drink");
        row("capital İ for i", "Irregular Verbs", "İÇMEK", "drink");
        row("ı matches only itself", "Irregular Verbs", "ıcmek", "");
        row("ç matches only itself", "Irregular Verbs", "çizm", "draw");
        row("ç is not c", "Particles", "çross", "");
        row("I for ı", "Irregular Verbs", "ISIKLANDIR", "light");
        row("s and i for ş and ı", "Irregular Verbs", "isik", "light");
        row("o and g for ö and ğ", "Irregular Verbs", "ogrenmek", "learn");
        row("a for â", "Irregular Verbs", "ikamet", "abide");
        row("u for ü", "Irregular Verbs", "tukurmek", "spit");
        // Numbers: digits and words.
        row("digits", "Numbers", "21", "21 twentyone");
        row("grouped digits typed plain", "Numbers", "1000", "1.000 one thousand");
        row("a shortened word", "Numbers", "second", "2nd second");
        row("a misspelt ordinal", "Numbers", "sevetieth", "70th sevetieth");
        // Nothing to match.
        row("no such word", "Phrasal Verbs", "xylophone", "");
        row("blanks alone", "Particles", "   ", "");
        row("punctuation alone", "Particles", "((,-", "");
    }

    void firstMatch()
    {
        QFETCH(QString, window);
        QFETCH(QString, typed);
        QFETCH(QString, first);
        const std::vector<dilmora::runtime::FindTarget> found = windowTitled(window).find(typed);
        QCOMPARE(found.empty() ? QString() : found.front().name, first);
    }

    void ranksComeInOrder()
    {
        for (const FindableWindow* window : windows()) {
            for (const QString typed : {"a", "in", "e", "t", "1", "bak"}) {
                const std::vector<Match> found = window->matches(typed);
                QVERIFY(std::ranges::is_sorted(found, [](const Match& a, const Match& b) {
                    return a.rank < b.rank || (a.rank == b.rank && a.index < b.index);
                }));
            }
        }
    }

    void placesOfTheFinds()
    {
        // " look after" is row 165 of the phrasal verbs: page 6, row 5.
        const auto look = windowTitled("Phrasal Verbs").find("look after").front();
        QCOMPARE((std::array{look.page, look.row, look.firstColumn, look.columns}),
                 (std::array{6, 4, 0, 2}));
        // " 21st twentyfirst": the numbers' third column, row 21, the cell alone.
        const auto found = windowTitled("Numbers").find("21");
        QCOMPARE(found.size(), std::size_t(2));
        const auto ordinal = found.back();
        QCOMPARE((std::array{ordinal.page, ordinal.row, ordinal.firstColumn, ordinal.columns}),
                 (std::array{0, 20, 2, 1}));
    }

    void theMainWindowListsExactEntriesFirst()
    {
        const std::vector<const FindableWindow*> all = windows();
        const auto found = findEverywhere(all, "in");
        QVERIFY(found.size() > 10);
        QCOMPARE(found.front().name, QString("in — Particles"));
        QCOMPARE(found.front().window, 2);
        // Then window by window in the menu's order.
        QVERIFY(std::ranges::is_sorted(found.begin() + 1, found.end(), {},
                                       &dilmora::runtime::FindTarget::window));
    }

    void hostileInputMatchesNothingQuickly_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("Thai") << QString::fromUtf8("ภาษาไทย");
        QTest::newRow("Arabic") << QString::fromUtf8("اللغة");
        QTest::newRow("Hebrew, right to left") << QString::fromUtf8("שָׁלוֹם");
        QTest::newRow("Chinese") << QString::fromUtf8("中文");
        QTest::newRow("emoji") << QString::fromUtf8("😀🇹🇷");
        QTest::newRow("combining marks") << QString::fromUtf8("e\u0301\u0301\u0301");
        QTest::newRow("control characters") << QString::fromUtf8("\u0007\u001b[2J\u202e");
        QTest::newRow("a lone surrogate") << QString(QChar(0xD800));
        QTest::newRow("a megabyte") << QString(1 << 20, QChar('w'));
    }

    void hostileInputMatchesNothingQuickly()
    {
        QFETCH(QString, typed);
        QElapsedTimer timer;
        timer.start();
        for (const FindableWindow* window : windows())
            QVERIFY(window->find(typed).empty());
        QVERIFY2(timer.elapsed() < 100, qPrintable(QString::number(timer.elapsed()) + " ms"));
    }
};

QTEST_GUILESS_MAIN(TestWordFinder)
#include "tst_word_finder.moc"
