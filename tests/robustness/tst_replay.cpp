// Every input kept under tests/fixtures/fuzz/<target>/ (seeds, and each input a fuzzer once failed on)
// fed again to the same code the fuzz target runs, so a fault once found stays fixed.
#include "Feeds.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
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
        for (const QString& target : {u"record"_s, u"archive"_s, u"password"_s, u"photo"_s, u"export"_s}) {
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
        const Feed feed = target == u"record"_s     ? &Feeds::record
                          : target == u"archive"_s  ? &Feeds::archive
                          : target == u"password"_s ? &Feeds::password
                          : target == u"photo"_s    ? [](QByteArrayView in) { return Feeds::photo(in); }
                                                    : &Feeds::exportRows;
        QVERIFY(feed(input));
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    TestReplay test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_replay.moc"
