#include "scratchfolder.h"

#include "cp1250.h"
#include "keyvaluefile.h"
#include "diskworkdir.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace Dravix;

// The key/value reader and writer and the exact-name presence test.
class tst_KeyValueFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pairs_data();
    void pairs();
    void readsWindows1250File();
    void linesAcrossPieces_data();
    void linesAcrossPieces();
    void presence_data();
    void presence();
    void fileThatCannotBeReadIsSkipped_data();
    void fileThatCannotBeReadIsSkipped();
    void writtenLineReadsBack_data();
    void writtenLineReadsBack();

private:
    void writeFile(const QString &name, const QByteArray &bytes);
    QStringList read(std::string_view name);

    std::unique_ptr<ScratchFolder> m_folder;
};

static QStringList pairsOf(std::string_view text)
{
    QStringList pairs;
    forEachPair(text, [&pairs](std::string_view key, const std::string &value) {
        pairs << QString::fromUtf8(key.data(), qsizetype(key.size())) + "|" +
                     QString::fromStdString(value);
    });
    return pairs;
}

void tst_KeyValueFile::init()
{
    m_folder = std::make_unique<ScratchFolder>();
    QVERIFY(m_folder->isValid());
}

void tst_KeyValueFile::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(m_folder->pathOf(name.toStdString()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList tst_KeyValueFile::read(std::string_view name)
{
    QStringList pairs;
    ReadKeyValueFile(DiskWorkDir(m_folder->workPath()), name,
                     [&pairs](std::string_view key, const std::string &value) {
                         pairs << QString::fromUtf8(key.data(), qsizetype(key.size())) + "|" +
                                      QString::fromStdString(value);
                     });
    return pairs;
}

void tst_KeyValueFile::pairs_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty") << QByteArray("") << QStringList{};
    QTest::newRow("no equals sign") << QByteArray("[opis]\r\n\r\nuwaga\r\n") << QStringList{};
    QTest::newRow("one pair, no terminator")
        << QByteArray("nazwa1=Ciśnienie") << QStringList{"nazwa1|Ciśnienie"};
    QTest::newRow("blanks in the key")
        << QByteArray(" \tna zwa\t1 = x") << QStringList{"nazwa1| x"};
    QTest::newRow("value keeps blanks")
        << QByteArray("nazwa1=  a \t b \t") << QStringList{"nazwa1|  a \t b \t"};
    QTest::newRow("key keeps letter case") << QByteArray("Nazwa1=x") << QStringList{"Nazwa1|x"};
    QTest::newRow("two equals signs") << QByteArray("a=b=c") << QStringList{"a|b"};
    QTest::newRow("only equals sign") << QByteArray("=") << QStringList{"|"};
    QTest::newRow("only equals signs") << QByteArray("===") << QStringList{"|"};
    QTest::newRow("empty value") << QByteArray("tytul=") << QStringList{"tytul|"};
    QTest::newRow("blank key") << QByteArray(" \t=v") << QStringList{"|v"};
    QTest::newRow("CR LF lines") << QByteArray("a=1\r\nb=2\r\n") << QStringList{"a|1", "b|2"};
    QTest::newRow("CR only lines")
        << QByteArray("a=1\rb=2\rc=3") << QStringList{"a|1", "b|2", "c|3"};
    QTest::newRow("LF only lines") << QByteArray("a=1\nb=2\n") << QStringList{"a|1", "b|2"};
    QTest::newRow("LF CR is two ends") << QByteArray("a=1\n\rb=2") << QStringList{"a|1", "b|2"};
    QTest::newRow("CR CR LF") << QByteArray("a=1\r\r\nb=2") << QStringList{"a|1", "b|2"};
    QTest::newRow("blank lines between")
        << QByteArray("a=1\r\n\r\n\r\nb=2") << QStringList{"a|1", "b|2"};
    QTest::newRow("file order, repeats kept")
        << QByteArray("zakresmin1=5\r\ndodajport=COM1\r\nzakresmin1=7\r\ndodajport=COM1\r\n")
        << QStringList{"zakresmin1|5", "dodajport|COM1", "zakresmin1|7", "dodajport|COM1"};
}

void tst_KeyValueFile::pairs()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, expected);
    QCOMPARE(pairsOf({text.constData(), std::size_t(text.size())}), expected);
}

void tst_KeyValueFile::readsWindows1250File()
{
    writeFile("abc.set", "tytul=CI\x8cNIENIOMIERZ \xa3\xd3\x44\xdf\r\n"
                         "nazwa1= Ci\x9cnienie\r\n"
                         "opisgora1=zakres 0\x96\x31\x30 bar\r\n");
    QCOMPARE(read("abc.set"), (QStringList{"tytul|CIŚNIENIOMIERZ ŁÓDß", "nazwa1| Ciśnienie",
                                           "opisgora1|zakres 0–10 bar"}));
}

void tst_KeyValueFile::linesAcrossPieces_data()
{
    // The file is read in pieces of 64 KiB; whatever falls on the seam reads as in one piece.
    constexpr int kPiece = 65536;
    const auto filler = [](int bytes) { return QByteArray(bytes, 'x'); };
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF split by the seam") << "a=" + filler(kPiece - 3) + "\r\nb=2\r\n";
    QTest::newRow("lone CR before the seam") << "a=" + filler(kPiece - 3) + "\rb=2";
    QTest::newRow("LF after the seam, then a blank line")
        << "a=" + filler(kPiece - 3) + "\r\n\r\nb=2";
    QTest::newRow("Windows-1250 byte before the seam")
        << "t=" + filler(kPiece - 3) + "\x8c\x9c=\xa3\r\nb=2";
    QTest::newRow("key split by the seam") << "a=1\r\n" + filler(kPiece - 7) + "zakresmin1=5";
    QTest::newRow("one line over three pieces") << "n=" + filler(3 * kPiece) + "\r\nz=1";
    QTest::newRow("exactly one piece") << "a=" + filler(kPiece - 4) + "\r\n";
}

void tst_KeyValueFile::linesAcrossPieces()
{
    QFETCH(QByteArray, bytes);
    writeFile("seam.set", bytes);
    const std::string text = cp1250ToUtf8({bytes.constData(), std::size_t(bytes.size())});
    const QStringList expected = pairsOf(text);
    QVERIFY(expected.size() >= 2 || bytes.endsWith("\r\n"));
    QCOMPARE(read("seam.set"), expected);
}

void tst_KeyValueFile::presence_data()
{
    QTest::addColumn<QString>("onDisk");
    QTest::addColumn<bool>("asDirectory");
    QTest::addColumn<QByteArray>("asked");
    QTest::addColumn<bool>("present");

    QTest::newRow("same name") << "sesja.dat" << false << QByteArray("sesja.dat") << true;
    QTest::newRow("upper case on disk") << "SESJA.DAT" << false << QByteArray("sesja.dat") << false;
    QTest::newRow("upper case asked") << "sesja.dat" << false << QByteArray("SESJA.DAT") << false;
    QTest::newRow("one letter differs") << "Sesja.dat" << false << QByteArray("sesja.dat") << false;
    QTest::newRow("directory of that name")
        << "sesja.dat" << true << QByteArray("sesja.dat") << false;
    QTest::newRow("Polish name") << "łódź.set" << false << QByteArray("łódź.set") << true;
    QTest::newRow("empty name") << "sesja.dat" << false << QByteArray("") << false;
    QTest::newRow("dot slash") << "sesja.dat" << false << QByteArray("./sesja.dat") << false;
    QTest::newRow("file in sub folder") << "sub/a.set" << false << QByteArray("sub/a.set") << false;
    QTest::newRow("trailing blank") << "sesja.dat" << false << QByteArray("sesja.dat ") << false;
}

void tst_KeyValueFile::presence()
{
    QFETCH(QString, onDisk);
    QFETCH(bool, asDirectory);
    QFETCH(QByteArray, asked);
    QFETCH(bool, present);

    if (asDirectory) {
        QVERIFY(QDir(m_folder->work()).mkpath(onDisk));
    } else {
        if (onDisk.contains('/'))
            QVERIFY(QDir(m_folder->work()).mkpath(onDisk.section('/', 0, -2)));
        writeFile(onDisk, "a=1\r\n");
    }
    const std::string_view name(asked.constData(), std::size_t(asked.size()));
    QCOMPARE(DiskWorkDir(m_folder->workPath()).isPresent(name), present);
    QCOMPARE(read(name), present ? QStringList{"a|1"} : QStringList{});
}

void tst_KeyValueFile::fileThatCannotBeReadIsSkipped_data()
{
    QTest::addColumn<bool>("throughReadError");
    QTest::newRow("no read permission") << false;
    QTest::newRow("read error") << true;
}

void tst_KeyValueFile::fileThatCannotBeReadIsSkipped()
{
    QFETCH(bool, throughReadError);
    const QString path = m_folder->pathOf("abc.set");
    if (throughReadError) {
        // A regular file whose reading fails with an I/O error: this process's memory at
        // address 0.
        if (!QFile::exists("/proc/self/mem"))
            QSKIP("no /proc/self/mem to give a read error");
        QVERIFY(QFile::link("/proc/self/mem", path));
    } else {
#ifdef Q_OS_WIN
        QSKIP("permissions do not make a file unreadable on Windows");
#endif
        writeFile("abc.set", "a=1\r\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions{}));
        if (::access(path.toLocal8Bit().constData(), R_OK) == 0)
            QSKIP("running with rights that read any file");
    }
    QVERIFY(DiskWorkDir(m_folder->workPath()).isPresent("abc.set"));
    QCOMPARE(read("abc.set"), QStringList{});
}

void tst_KeyValueFile::writtenLineReadsBack_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QStringList>("readBack");

    QTest::newRow("plain") << QByteArray("abc.set") << QStringList{"konfig|abc.set"};
    QTest::newRow("blanks kept") << QByteArray("  1 ") << QStringList{"konfig|  1 "};
    QTest::newRow("Polish") << QByteArray("ciśnienie.set") << QStringList{"konfig|ciśnienie.set"};
    QTest::newRow("cut at equals sign") << QByteArray("a=b") << QStringList{"konfig|a"};
    QTest::newRow("CR splits") << QByteArray("x\ry=z") << QStringList{"konfig|x", "y|z"};
}

void tst_KeyValueFile::writtenLineReadsBack()
{
    QFETCH(QByteArray, value);
    QFETCH(QStringList, readBack);
    std::string file;
    WriteKeyValueLine("konfig", {value.constData(), std::size_t(value.size())}, file);
    QVERIFY(file.ends_with("\r\n"));
    QCOMPARE(pairsOf(file), readBack);
}

QTEST_APPLESS_MAIN(tst_KeyValueFile)
#include "tst_keyvaluefile.moc"
