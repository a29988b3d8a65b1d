#include "cp1250.h"
#include "filenotes.h"
#include "memoryworkdir.h"

#include <QDateTime>
#include <QTest>

using namespace Dravix;

namespace {

// UTF-8 text as a file holds it: Windows-1250 with CR LF.
QByteArray text(const QByteArray &utf8)
{
    return QByteArray::fromStdString(
        utf8ToCp1250(QByteArray(utf8).replace("\n", "\r\n").toStdString()));
}

const QByteArray kAbc = text("tytul=MODEL ABC\nID=1F\ndodajport=1\ndodajport=2\n"
                             "dodajparam=9600,n,8,1\ndodajparam=19200,e,8,1\n"
                             "nazwa1=Ciśnienie:\nopisgora1=w barach\nopisdol1=zakres 0 ... 100\n"
                             "zakresmax1=100\nnazwa2=Temperatura:\nzakresmin2=-10\nzakresmax2=50\n"
                             "aktywny1=1\naktywny2=1\naktywny3=1\naktywny4=1\naktywny5=1\n"
                             "aktywny6=0\naktywny7=0\naktywny8=0\n");
const QByteArray kXyz = text("ID=2A\nnazwa1=Napięcie:\naktywny1=1\naktywny2=0\naktywny3=1\n");

// The same bytes every run, as a binary file holds them.
QByteArray binary(int size)
{
    QByteArray bytes(size, '\0');
    quint32 state = 12345;
    for (char &byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 24);
    }
    return bytes;
}

OnScreen screen()
{
    OnScreen s;
    s.descriptionFile = "abc.set";
    s.names = {"Ciśnienie:",       "Temperatura:",     "Nazwa parametru:", "Nazwa parametru:",
               "Nazwa parametru:", "Nazwa parametru:", "Nazwa parametru:", "Nazwa parametru:"};
    s.entries = {"10", "20", "0", "0", "5", "0", "0", "0"};
    s.inUse = {true, true, true, true, true, false, false, false};
    return s;
}

} // namespace

// The notes on the files of the two dialogs, from recorded file contents.
class tst_FileNotes : public QObject
{
    Q_OBJECT

private slots:
    void note_data()
    {
        QTest::addColumn<bool>("valueFile");
        QTest::addColumn<QByteArray>("bytes"); // of "x.set" or "x.vq", beside abc.set and xyz.set
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<QStringList>("saysNot");
        QTest::addColumn<int>("lines");

        QTest::newRow("a whole description")
            << false << kAbc
            << QStringList{"x.set\nMODEL ABC\nKod urządzenia (ID): 1F\nPorty: 1; 2\n"
                           "Parametry transmisji: 9600,n,8,1; 19200,e,8,1\n",
                           "1. Ciśnienie (0…100): w barach; zakres 0 ... 100\n",
                           "2. Temperatura (-10…50): Opis parametru 1; Opis parametru 2\n",
                           "5. Nazwa parametru (0…0)"}
            << QStringList{"(w użyciu)", "6. "} << 10;
        QTest::newRow("without heading, code and ports")
            << false << kXyz
            << QStringList{"Nagłówek (tytul): brak, zostanie obecny\n", "Kod urządzenia (ID): 2A\n",
                           "Porty: brak (dodajport)\n", "1. Napięcie (0…0)", "\n3. Nazwa parametru"}
            << QStringList{"2. "} << 7;
        QTest::newRow("no key of a description")
            << false << text("konfig=abc.set\nparametr1=5\n")
            << QStringList{"x.set: nie ma żadnego klucza opisu urządzenia (tytul, ID, nazwa…)."}
            << QStringList{} << 1;
        QTest::newRow("slot keys of no slot")
            << false << text("nazwa9=X\nzakresmax0=5\nnazwa=Y\n")
            << QStringList{"x.set: nie ma żadnego klucza"} << QStringList{} << 1;
        // A line that the limit cuts is not read in part.
        QTest::newRow("a heading cut at 256 KiB")
            << false << QByteArray(256 * 1024 - 8, '\n') + "tytul=ABCDEFGHIJ\r\n"
            << QStringList{"x.set: nie ma żadnego klucza", "256 KiB z 257 KiB."}
            << QStringList{"ABC"} << 2;
        QTest::newRow("cut after 256 KiB")
            << false << kAbc + QByteArray(300 * 1024, '\n') + "tytul=ZA DALEKO\r\n"
            << QStringList{"MODEL ABC", "Z pliku przeczytano tylko pierwsze 256 KiB z 301 KiB."}
            << QStringList{"ZA DALEKO"} << 11;
        QTest::newRow("binary, 256 KiB")
            << false << binary(256 * 1024)
            << QStringList{"x.set: nie ma żadnego klucza opisu urządzenia"}
            << QStringList{"przeczytano tylko"} << 1;
        QTest::newRow("binary, 1 MiB and more")
            << false << binary(1100 * 1024)
            << QStringList{"Z pliku przeczytano tylko pierwsze 256 KiB z 1,1 MiB."} << QStringList{}
            << 2;
        QTest::newRow("control characters and a long name")
            << false
            << text("tytul=A\x01"
                    "B\x7F"
                    "C\tD\naktywny1=1\nnazwa1=") +
                   QByteArray(400, 'n') + "\r\n"
            << QStringList{"\nABC D\n", "1. nnnn", "n…"} << QStringList{} << 6;
        QByteArray ports = "aktywny1=1\r\n";
        for (int i = 1; i <= 1000; ++i)
            ports += "dodajport=" + QByteArray::number(i) + "\r\n";
        QTest::newRow("a thousand ports")
            << false << ports << QStringList{"Porty: 1; 2; 3;", "; … (razem 1000)\n"}
            << QStringList{"1000;"} << 6;

        QTest::newRow("a value file that differs")
            << true
            << text("konfig=abc.set\nparametr1=15\nparametr2=20\nparametr3=0\nparametr4=0\n"
                    "parametr5=-5\nparametr6=99\nparametr7=0\nparametr8=0\n")
            << QStringList{"2 z 5 wartości inne niż na ekranie\nOpis urządzenia: abc.set (w "
                           "użyciu)\n"
                           "1. Ciśnienie: 15 (na ekranie 10)\n2. Temperatura: 20\n3. Nazwa "
                           "parametru: 0\n",
                           "5. Nazwa parametru: -5 (na ekranie 5)"}
            << QStringList{"99", "Nie ma go"} << 7;
        QTest::newRow("a value file as on screen")
            << true
            << text("konfig=abc.set\nparametr1=10\nparametr2=20\nparametr3=0\nparametr4=0\n"
                    "parametr5=5\nparametr6=1\n")
            << QStringList{"Wartości takie jak na ekranie\n"} << QStringList{"(na ekranie"} << 7;
        QTest::newRow("a value and its slot name from another description")
            << true << text("konfig=xyz.set\nparametr1=230\nparametr2=7\nparametr3=0\n")
            << QStringList{"1 z 2 wartości inna niż na ekranie\n"
                           "Opis urządzenia: xyz.set, inny niż w użyciu (abc.set)\n"
                           "1. Napięcie: 230 (na ekranie 10)\n3. Nazwa parametru: 0"}
            << QStringList{"Temperatura", ": 7"} << 4;
        QTest::newRow("a description not in the folder")
            << true << text("konfig=brak.set\nparametr2=21\n")
            << QStringList{"1 z 5 wartości inna niż na ekranie\nOpis urządzenia: brak.set, inny",
                           "\nNie ma go w folderze: nazwy i zakresy zostaną jak na ekranie.\n",
                           "1. Ciśnienie: 10 (nie ma jej w pliku, zostaje)\n",
                           "2. Temperatura: 21 (na ekranie 20)"}
            << QStringList{} << 8;
        QTest::newRow("a binary value file")
            << true << binary(256 * 1024)
            << QStringList{"x.vq: nie ma żadnej wartości (parametr1…parametr8)."} << QStringList{}
            << 1;
    }
    void note()
    {
        QFETCH(bool, valueFile);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, says);
        QFETCH(QStringList, saysNot);
        QFETCH(int, lines);
        MemoryWorkDir dir;
        dir.put("abc.set", kAbc.toStdString());
        dir.put("xyz.set", kXyz.toStdString());
        const std::string name = valueFile ? "x.vq" : "x.set";
        dir.put(name, bytes.toStdString());
        FileNotes notes(dir);
        const QString note =
            QString::fromStdString(valueFile ? notes.valueFileNote(name, screen())
                                             : notes.descriptionNote(name, screen()));
        for (const QString &part : says)
            QVERIFY2(note.contains(part), qPrintable(note));
        for (const QString &part : saysNot)
            QVERIFY2(!note.contains(part), qPrintable(note));
        const QStringList split = note.split('\n');
        QCOMPARE(split.size(), lines);
        for (const QString &line : split) {
            QVERIFY2(line.size() <= 160, qPrintable(line));
            for (const QChar c : line)
                QVERIFY2(c.category() != QChar::Other_Control, qPrintable(line));
        }
    }

    void theDescriptionInUseIsMarkedAndAnUnreadableOneSaysSo()
    {
        MemoryWorkDir dir;
        dir.put("abc.set", kAbc.toStdString());
        FileNotes notes(dir);
        QVERIFY(notes.descriptionNote("abc.set", screen()).starts_with("abc.set (w użyciu)\n"));
        dir.setReadsFail(true);
        notes.forget("abc.set");
        QCOMPARE(notes.descriptionNote("abc.set", screen()),
                 std::string("abc.set (w użyciu): nie da się go odczytać."));
    }

    // A file is read again when it changed, also when only the description it names changed.
    void changedFilesAreReadAgain()
    {
        MemoryWorkDir dir;
        dir.put("abc.set", kAbc.toStdString());
        dir.put("a.vq", text("konfig=abc.set\nparametr1=15\n").toStdString());
        FileNotes notes(dir);
        const std::string first = notes.valueFileNote("a.vq", screen());
        QCOMPARE(notes.filesRead(), 2);
        QCOMPARE(notes.valueFileNote("a.vq", screen()), first);
        QCOMPARE(notes.descriptionNote("abc.set", screen()).empty(), false);
        notes.descriptionNote("abc.set", screen());
        QCOMPARE(notes.filesRead(), 3);

        // The same size, another time.
        dir.put("a.vq", text("konfig=abc.set\nparametr1=16\n").toStdString());
        QVERIFY(notes.valueFileNote("a.vq", screen()).find("16 (na ekranie 10)") !=
                std::string::npos);
        QCOMPARE(notes.filesRead(), 5);
        dir.put("abc.set", (kAbc + text("nazwa1=Ciąg:\n")).toStdString());
        QVERIFY(notes.valueFileNote("a.vq", screen()).find("1. Ciąg: 16") != std::string::npos);
        QCOMPARE(notes.filesRead(), 7);
        // Where the file system keeps a coarse time, only the writer knows.
        const auto time = dir.stamp("a.vq")->modified;
        dir.put("a.vq", text("konfig=abc.set\nparametr1=17\n").toStdString());
        dir.setModified("a.vq", time);
        notes.valueFileNote("a.vq", screen());
        QCOMPARE(notes.filesRead(), 7);
        notes.forget("a.vq");
        QVERIFY(notes.valueFileNote("a.vq", screen()).find("17 (na ekranie") != std::string::npos);
        QVERIFY(dir.remove("a.vq"));
        QCOMPARE(notes.valueFileNote("a.vq", screen()),
                 std::string("a.vq: nie ma go już w folderze."));
    }

    void saveNote_data()
    {
        QTest::addColumn<QString>("nameBox");
        QTest::addColumn<QString>("says"); // %1: the time a.vq was last changed
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("a present file") << "a"
                                        << "Zastąpi plik a.vq (ostatnia zmiana %1).";
        QTest::newRow("with its extension") << "a.vq"
                                            << "Zastąpi plik a.vq (ostatnia zmiana %1).";
        QTest::newRow("other letter case") << "A"
                                           << "Zapisze nowy plik A.vq.";
        QTest::newRow("a new file") << "nowy"
                                    << "Zapisze nowy plik nowy.vq.";
        QTest::newRow("a path")
            << "../a"
            << "Nie zapisze: „../a.vq” nie jest nazwą pliku w folderze roboczym.";
    }
    void saveNote()
    {
        QFETCH(QString, nameBox);
        QFETCH(QString, says);
        MemoryWorkDir dir;
        dir.put("a.vq", "konfig=abc.set\r\n");
        const qint64 seconds = 1796733296; // 08.12.2026, about noon
        dir.setModified("a.vq", std::chrono::system_clock::from_time_t(seconds));
        const QString time =
            QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
        QCOMPARE(QString::fromStdString(FileNotes(dir).saveNote(nameBox.toStdString())),
                 says.contains("%1") ? says.arg(time) : says);
    }
};

QTEST_APPLESS_MAIN(tst_FileNotes)
#include "tst_filenotes.moc"
