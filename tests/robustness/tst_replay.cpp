// Every input kept under tests/fixtures/fuzz/<target>/ (seeds, and each input a fuzzer once failed on)
// fed again to the same code the fuzz target runs, so a fault once found stays fixed.
#include "Feeds.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QTest>

using namespace Qt::StringLiterals;

class TestReplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Feeds::prepare(); }

    void replay_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        const QDir root(QStringLiteral(LUMIVERA_FUZZ_FIXTURES));
        QVERIFY(root.exists());
        for (const QString& target :
             {u"record"_s, u"archive"_s, u"password"_s, u"photo"_s, u"export"_s, u"journal"_s, u"check"_s,
              u"cli"_s, u"search"_s, u"pdf"_s, u"facts"_s}) {
            QDirIterator inputs(root.filePath(target), QDir::Files | QDir::Hidden);
            QStringList paths;
            while (inputs.hasNext())
                paths << inputs.next();
            QVERIFY2(!paths.isEmpty(), qPrintable(u"no inputs for "_s + target));
            paths.sort();
            for (const QString& path : paths)
                QTest::addRow("%s/%s", qPrintable(target), qPrintable(QFileInfo(path).fileName()))
                    << target << path;
        }
    }
    void replay() {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray input = file.readAll();
        using Feed = bool (*)(QByteArrayView);
        static const QHash<QString, Feed> feeds = {
            {u"record"_s, &Feeds::record},
            {u"archive"_s, &Feeds::archive},
            {u"password"_s, &Feeds::password},
            {u"photo"_s, [](QByteArrayView in) { return Feeds::photo(in); }},
            {u"export"_s, &Feeds::exportRows},
            {u"journal"_s, &Feeds::journal},
            {u"check"_s, &Feeds::check},
            {u"cli"_s, &Feeds::commandLine},
            {u"search"_s, &Feeds::search},
            {u"pdf"_s, &Feeds::pdf},
            {u"facts"_s, &Feeds::facts},
        };
        const Feed feed = feeds.value(target);
        QVERIFY(feed);
        QVERIFY(feed(input));
    }
};

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv); // fonts, for the reports and the command line's PDF files
    TestReplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_replay.moc"
