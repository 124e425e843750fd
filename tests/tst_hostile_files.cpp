// A ROM that is deleted, shrunk, write-protected or replaced by a folder while
// the editor holds it: one clear error box, nothing created, grown or changed. A ROM
// whose name holds blanks or non-ASCII letters is read and written under that exact name.
#include "shell/controls.h"
#include "shell/form1.h"
#include "testsupport.h"
#include <QDir>
#include <QTest>
#include <grp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace TestSupport;

namespace {
enum Change { Deleted, Shrunk, Protected, Folder };
const int Species = 201; // List2 row 49; stored: method 4, level 30, target 202
const QByteArray Stored = QByteArray::fromHex("04AA1E00CA00");
const QByteArray Other = QByteArray::fromHex("07112C011000"); // item method 7, item 300, target 16
QString pickers(const Form1 &f) { return QStringLiteral("%1 %2 %3").arg(f.Combo1->ListIndex()).arg(f.Combo2->ListIndex()).arg(f.Combo6->ListIndex()); }
QStringList listing(const QString &dir) // name and size (-1: folder) of everything in the folder
{
    QStringList all;
    for (const QFileInfo &i : QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        all << i.fileName() + ' ' + QString::number(i.isDir() ? -1 : i.size());
    return all;
}
// A file at path as long as the ROM, holding Other at the species; false when it cannot be made.
bool makeNamesake(const TestRom &rom, const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::NewOnly) && file.resize(rom.size()) && file.seek(EvolutionBlock::offset(Species))
        && file.write(Other) == Other.size();
}
// Runs check here, or when root and asked for, in a child as nobody (root ignores file modes); its failure text.
QString asUser(const std::function<QString()> &check, bool nobody)
{
    if (!nobody || geteuid() != 0)
        return check();
    if (const pid_t child = fork(); child != 0) {
        int status = 0;
        const bool ok = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        return ok ? QString() : QStringLiteral("the child as nobody failed (status %1)").arg(status);
    }
    if (setgroups(0, nullptr) || setresgid(65534, 65534, 65534) || setresuid(65534, 65534, 65534))
        _exit(3);
    prctl(PR_SET_DUMPABLE, 1); // keeps /proc/self/fd readable
    const QString why = check();
    if (!why.isEmpty()) fprintf(stderr, "child: %s\n", qPrintable(why));
    _exit(why.isEmpty() ? 0 : 1);
}
}

class HostileFiles : public QObject {
    Q_OBJECT
private slots:
    void changedUnderEditor_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<bool>("save");
        QTest::addColumn<int>("error"); // 0: no box
        const struct { const char *name; int change, loadError, saveError; } rows[] = {{"deleted", Deleted, ENOENT, ENOENT},
            {"shrunk", Shrunk, HexCore::ErrTooShort, HexCore::ErrTooShort}, {"write-protected", Protected, 0, EACCES}, {"folder", Folder, EISDIR, EISDIR}};
        for (const auto &r : rows)
            for (bool save : {false, true})
                QTest::addRow("%s before %s", r.name, save ? "save" : "load") << r.change << save << (save ? r.saveError : r.loadError);
    }
    void changedUnderEditor();
    void namesInPath_data();
    void namesInPath();
};

void HostileFiles::changedUnderEditor()
{
    QFETCH(int, change);
    QFETCH(bool, save);
    QFETCH(int, error);
    TestRom rom;
    rom.writeEntry(Species, Stored);
    MessageRecorder boxes;
    Form1 f;
    openRom(f, rom.path());
    chooseRegion(f, 2);
    if (save) { // a loaded entry with other values chosen
        selectRow(f.List2, Species - 152);
        QVERIFY(boxes.boxes.isEmpty() && f.Combo1->setListIndex(21) && f.Combo4->setListIndex(7) && f.Combo6->setListIndex(9));
    }
    const QString path = rom.path();
    if (change == Deleted) QVERIFY(QFile::remove(path));
    if (change == Shrunk) QVERIFY(QFile::resize(path, 0x3711000)); // the table now lies past the end
    if (change == Protected) QVERIFY(::chmod(QFile::encodeName(path), 0444) == 0 && ::chmod(QFile::encodeName(rom.dir()), 0755) == 0);
    if (change == Folder) QVERIFY(QFile::remove(path) && QDir().mkdir(path));
    const QMap<qint64, QByteArray> before = change == Folder ? QMap<qint64, QByteArray>() : rom.snapshot();
    const QStringList files = listing(rom.dir());
    const int descriptors = openDescriptorCount();
    const auto run = [&]() -> QString { // the action and its checks: empty when all hold
        save ? pressSave(f) : selectRow(f.List2, Species - 152);
        const auto box = boxes.boxes.value(0);
        if (boxes.boxes.size() != (error ? 1 : 0) || (error && (box.title != QStringLiteral("Error: %1").arg(error) || box.text.isEmpty()
                                                                 || (change == Shrunk && !box.text.contains("too short")))))
            return QStringLiteral("%1 boxes, first \"%2\": %3").arg(boxes.boxes.size()).arg(box.title, box.text);
        // A failed load clears the row; a load that works shows the entry.
        if (!save && (f.List2->ListIndex() != (error ? -1 : Species - 152) || (!error && pickers(f) != "4 30 202")))
            return QStringLiteral("List2 row %1, pickers %2 after the load").arg(f.List2->ListIndex()).arg(pickers(f));
        if (openDescriptorCount() != descriptors || listing(rom.dir()) != files || (change != Folder && rom.snapshot() != before))
            return QStringLiteral("%1 descriptors (%2 before), files: %3").arg(openDescriptorCount()).arg(descriptors).arg(listing(rom.dir()).join(", "));
        return {};
    };
    const QString why = asUser(run, change == Protected);
    QVERIFY2(why.isEmpty(), qPrintable(why));
    QVERIFY(listing(rom.dir()) == files && (change == Folder || rom.snapshot() == before));
    if (change == Deleted) QVERIFY(!QFileInfo::exists(path));
    if (change == Folder) QVERIFY(QFileInfo(path).isDir() && QDir(path).isEmpty());
}

void HostileFiles::namesInPath_data()
{
    QTest::addColumn<QString>("folder"); // a folder of this name holds the ROM's own; empty: none
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("namesakes"); // files beside the ROM that a changed name would reach
    const QString accented = QStringLiteral("Zörvani Ünit 1.nds");
    QTest::newRow("blank at the end") << QString() << "x.nds " << QStringList{"x.nds"};
    QTest::newRow("blank at the end, alone") << QString() << "x.nds " << QStringList();
    QTest::newRow("two blanks at the end") << QString() << "x.nds  " << QStringList{"x.nds", "x.nds "};
    QTest::newRow("two blanks inside") << QString() << "x  y.nds" << QStringList{"x y.nds"};
    QTest::newRow("non-ASCII letters") << QStringLiteral("my röms") << accented
                                       << QStringList{accented.normalized(QString::NormalizationForm_D)};
}

// The chosen file is read and written under its exact name; its namesakes stay as they were.
void HostileFiles::namesInPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QStringList, namesakes);
    QTemporaryDir base; // TestRom's folder is made in TMPDIR
    const QByteArray tmp = qgetenv("TMPDIR");
    if (!folder.isEmpty()) {
        QVERIFY(QDir(base.path()).mkdir(folder));
        qputenv("TMPDIR", QFile::encodeName(base.filePath(folder)));
    }
    TestRom rom(TableEnd + 4096, name);
    tmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
    QVERIFY(rom.path().endsWith('/' + name));
    QVERIFY(folder.isEmpty() || rom.path().contains('/' + folder + '/'));
    rom.writeEntry(Species, Stored);
    QMap<QString, QMap<qint64, QByteArray>> namesakesBefore; // by path
    for (const QString &namesake : namesakes) {
        const QString path = QDir(rom.dir()).filePath(namesake);
        QVERIFY2(makeNamesake(rom, path), qPrintable(path));
        namesakesBefore.insert(path, snapshotOf(path));
    }
    const QMap<qint64, QByteArray> before = rom.snapshot();
    MessageRecorder boxes;
    AccessRecorder access;
    Form1 f;
    openRom(f, rom.path());
    QCOMPARE(f.romPath(), rom.path());
    chooseRegion(f, 2);
    selectRow(f.List2, Species - 152);
    QCOMPARE(pickers(f), QStringLiteral("4 30 202"));
    QVERIFY(f.Combo1->setListIndex(20) && f.Combo5->setListIndex(300) && f.Combo6->setListIndex(493));
    pressSave(f);
    QVERIFY2(boxes.boxes.isEmpty(), qPrintable(boxes.boxes.value(0).title + ": " + boxes.boxes.value(0).text));
    // Method 20 at +0, move 300 (0x012C) at +2, target 493 (0x01ED) at +4; +1 kept.
    QCOMPARE(rom.entry(Species), QByteArray::fromHex("14AA2C01ED01"));
    const qint64 o = 0x3711640 + 44 * (Species - 1);
    QCOMPARE(changedOffsets(before, rom.snapshot()), (QList<qint64>{o, o + 2, o + 3, o + 4, o + 5}));
    for (auto it = namesakesBefore.cbegin(); it != namesakesBefore.cend(); ++it)
        QCOMPARE(snapshotOf(it.key()), it.value());
    QVERIFY(!access.accesses.isEmpty());
    for (const HexCore::Access &a : access.accesses)
        QCOMPARE(a.path, rom.path());
}

QTEST_MAIN(HostileFiles)
#include "tst_hostile_files.moc"
