#include "shell/hexcore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace HexCore;

class HexCoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    const QString rom = dir.filePath("rom.nds");
    const QByteArray initial = QByteArray::fromHex("00112233445566770AFF8899AABBCCDD");
    QByteArray content() const { QFile f(rom); return f.open(QIODevice::ReadOnly) ? f.readAll() : "gone"; }
    static qsizetype openFds() { return QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size(); }

private slots:
    void init() { QFile f(rom); QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(initial) == 16); }

    void reverseHexPairs_data()
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<QString>("reversed");
        for (auto [t, r] : {std::pair{"A1B2", "B2A1"}, {"ABC", "BC0A"}, {"A", "0A"}, {"AB", "AB"}, {"", ""}})
            QTest::newRow(t) << QString(t) << QString(r);
    }
    void reverseHexPairs() { QFETCH(QString, text); QFETCH(QString, reversed); QCOMPARE(HexCore::reverseHexPairs(text), reversed); }

    void hexToInt16_data() // a failing call leaves the variable (7) alone
    {
        QTest::addColumn<QString>("text"); QTest::addColumn<bool>("ok"); QTest::addColumn<int>("value");
        for (auto [t, ok, v] : {std::tuple{"2A", true, 42}, {"64", true, 100}, {"012A", true, 298}, {"7FFF", true, 32767}, {"8000", true, -32768},
                                {"FFFF", true, -1}, {"ffff", true, -1}, {"", false, 7}, {"G1", false, 7}, {"10000", false, 7}})
            QTest::newRow(t) << QString(t) << ok << v;
    }
    void hexToInt16() { QFETCH(QString, text); QFETCH(bool, ok); QFETCH(int, value); int got = 7; QCOMPARE(HexCore::hexToInt16(text, got), ok); QCOMPARE(got, value); }

    void int16ToHex_data()
    {
        QTest::addColumn<int>("value"); QTest::addColumn<int>("digits"); QTest::addColumn<QString>("hex");
        for (auto [v, d, h] : {std::tuple{493, 4, "01ED"}, {26, 2, "1A"}, {-1, 4, "FFFF"}, {-1, 2, "FF"}, {0, 4, "0000"}})
            QTest::newRow(h) << v << d << QString(h);
    }
    void int16ToHex() { QFETCH(int, value); QFETCH(int, digits); QFETCH(QString, hex); QCOMPARE(HexCore::int16ToHex(value, digits), hex); }

    void readAndWrite()
    {
        const ReadResult r = readBytes(rom, 8, 2), one = readBytes(rom, 0, 1), none = readBytes(rom, 3, 0);
        QVERIFY(!r.error.failed() && !one.error.failed() && !none.error.failed());
        QCOMPARE(r.hex, "0AFF"); QCOMPARE(one.hex, "00"); QCOMPARE(none.hex, "");
        QVERIFY(!writeBytes(rom, 2, "").failed());
        QCOMPARE(content(), initial);
        QByteArray expected = initial;
        QVERIFY(!writeBytes(rom, 4, "ABC").failed());
        expected[4] = char(0x0A), expected[5] = char(0xBC);
        QCOMPARE(content(), expected);
        QVERIFY(!writeBytes(rom, 12, HexCore::reverseHexPairs(HexCore::int16ToHex(493, 4))).failed());
        expected[12] = char(0xED), expected[13] = char(0x01);
        QCOMPARE(content(), expected);
        int word = 0;
        QVERIFY(HexCore::hexToInt16(HexCore::reverseHexPairs(readBytes(rom, 12, 2).hex), word));
        QCOMPARE(word, 493);
        for (const char *bad : {"0AZZ", "0A1Z", "0AZ1"})
            QCOMPARE(writeBytes(rom, 0, bad).number, int(ErrNotHex));
        QCOMPARE(content(), expected);
    }

    void failures_data() // number 0: any error
    {
        QTest::addColumn<QString>("path"); QTest::addColumn<int>("offset"); QTest::addColumn<int>("count"); QTest::addColumn<int>("number");
        QTest::newRow("missing file") << dir.filePath("absent.nds") << 0 << 1 << ENOENT;
        QTest::newRow("missing folder") << dir.filePath("none/absent.nds") << 0 << 1 << ENOENT;
        QTest::newRow("empty path") << QString() << 0 << 1 << 0;
        QTest::newRow("directory") << dir.path() << 0 << 1 << EISDIR;
        QTest::newRow("last byte + 1") << rom << 15 << 2 << int(ErrTooShort);
        QTest::newRow("at end") << rom << 16 << 1 << int(ErrTooShort);
        QTest::newRow("negative offset") << rom << -1 << 1 << 0;
    }
    void failures() // nothing created or changed, no descriptor left open
    {
        QFETCH(QString, path); QFETCH(int, offset); QFETCH(int, count); QFETCH(int, number);
        const qsizetype fds = openFds();
        for (int i = 0; i < 15; ++i) {
            const ReadResult r = readBytes(path, offset, count);
            QVERIFY(r.hex.isEmpty());
            for (const FileError &e : {r.error, writeBytes(path, offset, QString("AB").repeated(count))}) {
                QVERIFY(e.failed() && !e.description.isEmpty());
                QVERIFY(!number || e.number == number);
                QVERIFY2(number != ErrTooShort || e.description.contains("too short"), qPrintable(e.description));
            }
        }
        QCOMPARE(openFds(), fds);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList{"rom.nds"});
        QCOMPARE(content(), initial);
    }

    void tooShortNamesTheRun_data()
    {
        QTest::addColumn<int>("size"); QTest::addColumn<int>("offset"); QTest::addColumn<int>("count"); QTest::addColumn<QString>("run");
        QTest::newRow("one byte") << 16 << 16 << 1 << "(1 byte at 16): it holds only 16 bytes";
        QTest::newRow("two bytes") << 16 << 15 << 2 << "(2 bytes at 15): it holds only 16 bytes";
        QTest::newRow("file of one byte") << 1 << 0 << 2 << "it holds only 1 byte";
    }
    void tooShortNamesTheRun()
    {
        QFETCH(int, size); QFETCH(int, offset); QFETCH(int, count); QFETCH(QString, run);
        QVERIFY(QFile::resize(rom, size));
        for (const FileError &e : {readBytes(rom, offset, count).error, writeBytes(rom, offset, QString("AB").repeated(count)),
                                   checkFileHolds(rom, {{0, 1}, {offset, count}})})
            QVERIFY2(e.number == ErrTooShort && e.description.endsWith(run), qPrintable(e.description));
    }

    // The size check before a save fails only for a plain file that is too short; what
    // else keeps a file from being written, the write itself reports.
    void fileHolds_data()
    {
        QTest::addColumn<QString>("path"); QTest::addColumn<int>("offset"); QTest::addColumn<int>("count"); QTest::addColumn<int>("number");
        QTest::newRow("up to the last byte") << rom << 14 << 2 << 0;
        QTest::newRow("one byte past it") << rom << 15 << 2 << int(ErrTooShort);
        QTest::newRow("missing file") << dir.filePath("absent.nds") << 0 << 1 << 0;
        QTest::newRow("directory") << dir.path() << 0 << 1 << 0;
        QTest::newRow("empty path") << QString() << 0 << 1 << 0;
    }
    void fileHolds()
    {
        QFETCH(QString, path); QFETCH(int, offset); QFETCH(int, count); QFETCH(int, number);
        QCOMPARE(checkFileHolds(path, {{offset, count}}).number, number);
        QCOMPARE(content(), initial);
    }

    void writeProtectedFileCanBeRead()
    {
        QVERIFY(::chmod(QFile::encodeName(dir.path()), 0755) == 0 && ::chmod(QFile::encodeName(rom), 0444) == 0);
        const auto check = [this] { // 0: read works, write refused
            const ReadResult r = readBytes(rom, 8, 2);
            return (r.error.failed() || r.hex != "0AFF" ? 1 : 0) | (writeBytes(rom, 8, "1234").number != EACCES ? 2 : 0);
        };
        int code = 0;
        if (::geteuid() == 0) { // root ignores file modes: check as nobody
            const pid_t pid = ::fork();
            QVERIFY(pid >= 0);
            if (pid == 0)
                ::_exit(::setgroups(0, nullptr) || ::setresgid(65534, 65534, 65534) || ::setresuid(65534, 65534, 65534) || !::geteuid() ? 4 : check());
            int status = 0;
            QVERIFY(::waitpid(pid, &status, 0) == pid && WIFEXITED(status));
            code = WEXITSTATUS(status);
        } else {
            code = check();
        }
        QCOMPARE(code, 0);
        QCOMPARE(content(), initial);
        QVERIFY(::chmod(QFile::encodeName(rom), 0644) == 0);
    }

    void accessObserver()
    {
        QList<Access> seen;
        setAccessObserver([&](const Access &a) { seen << a; });
        (void)readBytes(rom, 3, 2), (void)writeBytes(rom, 5, "0102"), (void)readBytes(rom, 16, 1);
        setAccessObserver({});
        QCOMPARE(seen.size(), 3);
        const std::tuple<Access::Kind, int, int, bool> want[] = {{Access::Read, 3, 2, true}, {Access::Write, 5, 2, true}, {Access::Read, 16, 1, false}};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(seen[i].path, rom);
            QVERIFY(std::tuple(seen[i].kind, seen[i].offset, seen[i].count, seen[i].ok) == want[i]);
        }
    }
};

QTEST_GUILESS_MAIN(HexCoreTest)
#include "tst_core_hexfunctions.moc"
