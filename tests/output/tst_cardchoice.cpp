// The cards an output takes: the command line's list ("1,3,5-9") read against a book's count, with
// its problems said in Italian, positions handed over by a window put in order, and the chosen cards
// read from the archive in a few large transfers.
#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "archive/core/BookArchive.h"
#include "output/core/CardChoice.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<int> listOf(const CardChoice::Positions& positions) {
    return QList<int>(positions.begin(), positions.end());
}

QList<int> range(int low, int high, int step = 1) {
    QList<int> positions;
    for (int position = low; position <= high; position += step)
        positions << position;
    return positions;
}

} // namespace

class TestCardChoice : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A list as the command line takes it. `inForm`: the problem is one of the list's form, which
    // formProblem says before the book is opened.
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("inForm");
        const QString notANumber = u"\"%1\" non è un numero di scheda né un intervallo come 5-9."_s;
        const QString zero = u"\"%1\": le schede si contano da 1, la scheda 0 non c'è."_s;
        const QString emptyItem = u"nell'elenco \"%1\" manca un numero prima o dopo una virgola."_s;

        QTest::newRow("one card") << u"3"_s << 10 << QList<int>{3} << QString() << false;
        QTest::newRow("cards and a range")
            << u"1,3,5-9"_s << 10 << QList<int>{1, 3, 5, 6, 7, 8, 9} << QString() << false;
        QTest::newRow("blanks around numbers, dashes and commas")
            << u" 1 , 3 ,\t5 - 7 "_s << 10 << QList<int>{1, 3, 5, 6, 7} << QString() << false;
        QTest::newRow("out of order, repeated")
            << u"9,2-4,3,2,9"_s << 10 << QList<int>{2, 3, 4, 9} << QString() << false;
        QTest::newRow("ranges that overlap") << u"5-8,3-6,8-9"_s << 10 << range(3, 9) << QString() << false;
        QTest::newRow("a range of one card") << u"4-4"_s << 10 << QList<int>{4} << QString() << false;
        QTest::newRow("leading zeros") << u"007"_s << 10 << QList<int>{7} << QString() << false;
        QTest::newRow("the last card") << u"10"_s << 10 << QList<int>{10} << QString() << false;
        QTest::newRow("the whole book") << u"1-10"_s << 10 << range(1, 10) << QString() << false;

        QTest::newRow("a word") << u"1,a,3"_s << 10 << QList<int>{} << notANumber.arg(u"a"_s) << true;
        QTest::newRow("a fraction") << u"3.5"_s << 10 << QList<int>{} << notANumber.arg(u"3.5"_s) << true;
        QTest::newRow("a range without its end")
            << u"5-"_s << 10 << QList<int>{} << notANumber.arg(u"5-"_s) << true;
        QTest::newRow("a negative number")
            << u"-3"_s << 10 << QList<int>{} << notANumber.arg(u"-3"_s) << true;
        QTest::newRow("two dashes") << u"1-2-3"_s << 10 << QList<int>{} << notANumber.arg(u"1-2-3"_s) << true;
        QTest::newRow("digits of another script")
            << u"\u0663"_s << 10 << QList<int>{} << notANumber.arg(u"\u0663"_s) << true;
        QTest::newRow("a range backwards")
            << u"1,9-5"_s << 10 << QList<int>{}
            << u"l'intervallo \"9-5\" va all'indietro: si scrive dalla scheda più bassa alla più alta, come 5-9."_s
            << true;
        QTest::newRow("zero") << u"0"_s << 10 << QList<int>{} << zero.arg(u"0"_s) << true;
        QTest::newRow("a range from zero") << u"0-3"_s << 10 << QList<int>{} << zero.arg(u"0-3"_s) << true;
        QTest::newRow("an empty list")
            << u""_s << 10 << QList<int>{} << u"l'elenco delle schede è vuoto."_s << true;
        QTest::newRow("blanks only") << u" \t "_s << 10 << QList<int>{} << u"l'elenco delle schede è vuoto."_s
                                     << true;
        QTest::newRow("two commas") << u"1,,3"_s << 10 << QList<int>{} << emptyItem.arg(u"1,,3"_s) << true;
        QTest::newRow("a comma at the end")
            << u"1,3, "_s << 10 << QList<int>{} << emptyItem.arg(u"1,3,"_s) << true;
        QTest::newRow("the form before the book's end")
            << u"12,a"_s << 10 << QList<int>{} << notANumber.arg(u"a"_s) << true;

        QTest::newRow("beyond the last card")
            << u"1,12"_s << 10 << QList<int>{} << u"la scheda 12 non c'è: il book ne ha 10."_s << false;
        QTest::newRow("a range beyond the last card")
            << u"8-12"_s << 10 << QList<int>{}
            << u"l'intervallo \"8-12\" va oltre l'ultima scheda: il book ne ha 10."_s << false;
        QTest::newRow("a book of one card")
            << u"2"_s << 1 << QList<int>{} << u"la scheda 2 non c'è: il book ne ha una sola."_s << false;
        QTest::newRow("a book without cards")
            << u"1"_s << 0 << QList<int>{} << u"la scheda 1 non c'è: il book non ha schede."_s << false;
        QTest::newRow("a number no position can be")
            << u"99999999999999999999"_s << 10 << QList<int>{}
            << u"la scheda 99999999999999999999 non c'è: il book ne ha 10."_s << false;
        QTest::newRow("a range of two thousand million cards")
            << u"1-2000000000"_s << 10 << QList<int>{}
            << u"l'intervallo \"1-2000000000\" va oltre l'ultima scheda: il book ne ha 10."_s << false;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(int, count);
        QFETCH(QList<int>, positions);
        QFETCH(QString, problem);
        QFETCH(bool, inForm);
        const CardChoice::Parsed parsed = CardChoice::parse(text, count);
        QCOMPARE(parsed.problem, problem);
        QCOMPARE(listOf(parsed.positions), positions);
        QCOMPARE(CardChoice::formProblem(text), inForm ? problem : QString());
    }

    // Positions a window hands over: put in the book's order, each once, and checked against the book.
    void positionsHandedOver_data() {
        QTest::addColumn<QList<int>>("given");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("ordered");
        QTest::addColumn<QString>("problem");
        QTest::newRow("in order") << QList<int>{1, 4, 7} << 7 << QList<int>{1, 4, 7} << QString();
        QTest::newRow("as selected, twice")
            << QList<int>{5, 1, 5, 3} << 7 << QList<int>{1, 3, 5} << QString();
        QTest::newRow("none") << QList<int>{} << 7 << QList<int>{} << u"nessuna scheda scelta."_s;
        QTest::newRow("zero") << QList<int>{2, 0} << 7 << QList<int>{0, 2}
                              << u"le schede si contano da 1: la scheda 0 non c'è."_s;
        QTest::newRow("beyond") << QList<int>{8, 1} << 7 << QList<int>{1, 8}
                                << u"la scheda 8 non c'è: il book ne ha 7."_s;
    }
    void positionsHandedOver() {
        QFETCH(QList<int>, given);
        QFETCH(int, count);
        QFETCH(QList<int>, ordered);
        QFETCH(QString, problem);
        const CardChoice::Positions positions = CardChoice::ordered({given.begin(), given.end()});
        QCOMPARE(listOf(positions), ordered);
        QCOMPARE(CardChoice::problemIn(positions, count), problem);
    }

    // The chosen cards come from the archive in the book's order, each with its own record, in as many
    // transfers as the choice needs at 64 records a transfer, never one per card.
    void chosenCardsAreReadInBlocks_data() {
        QTest::addColumn<QList<int>>("positions");
        QTest::addColumn<int>("transfers");
        QTest::newRow("the first card") << QList<int>{1} << 1;
        QTest::newRow("the last card") << QList<int>{300} << 1;
        QTest::newRow("three together") << QList<int>{1, 2, 3} << 1;
        QTest::newRow("within one transfer") << QList<int>{64, 127} << 1;
        QTest::newRow("one past a transfer") << QList<int>{1, 65} << 2;
        QTest::newRow("a long gap passed over") << QList<int>{2, 130} << 2;
        QTest::newRow("scattered") << QList<int>{1, 65, 66, 200, 300} << 4;
        QTest::newRow("every other card") << range(1, 299, 2) << 5;
        QTest::newRow("every card") << range(1, 300) << 5;
    }
    void chosenCardsAreReadInBlocks() {
        QFETCH(QList<int>, positions);
        QFETCH(int, transfers);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Giulia.wmn"_s);
        QList<TScheda> book;
        for (int n = 1; n <= 300; ++n) {
            TScheda card;
            card.setField(TScheda::Titolo, u"Ritratto n. %1"_s.arg(n));
            book << card;
        }
        QVERIFY(writeFile(path, archiveOf(book)));

        // The file operations a reading of these positions takes, and the cards it hands on.
        const auto read = [&](const QList<int>& chosen, QList<int>* handed) {
            FaultyFileSystem counting(0, FaultyFileSystem::Kind::Error);
            BookArchive archive;
            archive.openForReading(path);
            CardChoice::readChosen(
                archive, {chosen.begin(), chosen.end()}, 64, [&](const TScheda& card, int position) {
                    QCOMPARE(card.field(TScheda::Titolo), u"Ritratto n. %1"_s.arg(position));
                    if (handed)
                        *handed << position;
                });
            archive.close();
            return counting.operations();
        };
        QList<int> handed;
        const int operations = read(positions, &handed);
        QCOMPARE(handed, positions);
        const int one = read({1}, nullptr);
        const int perTransfer = read({1, 200}, nullptr) - one;
        QVERIFY(perTransfer > 0);
        QCOMPARE(operations, one + (transfers - 1) * perTransfer);
    }
};

QTEST_GUILESS_MAIN(TestCardChoice)
#include "tst_cardchoice.moc"
